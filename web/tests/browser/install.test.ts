// The site as an installed app: its manifest and icons, a file launched with the app, the editor
// loading and working with no network after one visit, a new build taking the old one's place;
// the single file stays without.
import { cpSync, readdirSync, readFileSync, writeFileSync } from "node:fs";
import { join, relative, sep } from "node:path";
import { root, singleFile, siteDir } from "./paths";
import { serve } from "./server";
import {
  button,
  editorReady,
  expect,
  fixture,
  native,
  newEditorContext,
  openEditor,
  openFiles,
  outDir,
  Painter,
  saveLevel,
  siteUrl,
  test,
} from "./support";

interface Manifest {
  name: string;
  short_name: string;
  start_url: string;
  display: string;
  theme_color: string;
  icons: { src: string; sizes: string; type: string }[];
  file_handlers: { action: string; accept: Record<string, string[]> }[];
  launch_handler: { client_mode: string | string[] };
}

// Level 8 of the demonstration tape as a level file in the test's folder.
function levelFile(): string {
  const level = join(outDir(), "level8.bin");
  native("tomkrin", ["extract", fixture(outDir(), "demo.cas"), "8", "-o", level]);
  return level;
}

test("the manifest names the app, its icon enlarged from the editor's, and the files it opens", async ({
  browser,
}) => {
  const page = await openEditor(browser);
  const href = await page.locator('link[rel="manifest"]').getAttribute("href");
  const manifestUrl = new URL(href ?? "", page.url()).href;
  const manifest = (await (await page.request.get(manifestUrl)).json()) as Manifest;
  const at = (path: string) => new URL(path, manifestUrl).href;
  expect(manifest).toMatchObject({ name: "Tomkrin Editor", display: "standalone" });
  expect(manifest.short_name).toMatch(/^.{1,12}$/);
  expect(manifest.theme_color).toMatch(/^#[0-9a-f]{6}$/i);
  expect(at(manifest.start_url)).toBe(siteUrl());
  expect(["navigate-existing", "focus-existing"]).toContain(
    [manifest.launch_handler.client_mode].flat()[0],
  );
  for (const handler of manifest.file_handlers) expect(at(handler.action)).toBe(siteUrl());
  const extensions = manifest.file_handlers.flatMap((h) => Object.values(h.accept).flat());
  expect(extensions.sort()).toEqual([".bin", ".cas", ".flac", ".tmj", ".tmx", ".wav"]);

  // Each icon, as the browser decodes it, against the browser's own reading of the .ico.
  const icons = manifest.icons.map((icon) => ({ url: at(icon.src), sizes: icon.sizes }));
  expect(icons.map((icon) => icon.sizes).sort()).toEqual(["192x192", "512x512"]);
  const ico = `data:image/x-icon;base64,${readFileSync(join(root, "res/tomkrin.ico")).toString("base64")}`;
  const seen = await page.evaluate(
    async ({ icons, ico }) => {
      const pixels = async (url: string) => {
        const image = new Image();
        image.src = url;
        await image.decode();
        const { naturalWidth: width, naturalHeight: height } = image;
        const context = new OffscreenCanvas(width, height).getContext("2d");
        context?.drawImage(image, 0, 0);
        return { width, height, data: context?.getImageData(0, 0, width, height).data };
      };
      const source = await pixels(ico);
      return Promise.all(
        icons.map(async (icon) => {
          const p = await pixels(icon.url);
          const times = p.width / source.width;
          let differing = 0;
          for (let y = 0; y < p.height; y++)
            for (let x = 0; x < p.width; x++) {
              const from = (Math.floor(y / times) * source.width + Math.floor(x / times)) * 4;
              const to = (y * p.width + x) * 4;
              for (let c = 0; c < 4; c++)
                if (p.data?.[to + c] !== source.data?.[from + c]) differing++;
            }
          return { sizes: `${p.width}x${p.height}`, differing, source: source.width };
        }),
      );
    },
    { icons, ico },
  );
  expect(seen).toEqual(icons.map((icon) => ({ sizes: icon.sizes, differing: 0, source: 32 })));
  await page.context().close();
});

test("a level file launched with the app opens as Open opens it", async ({ browser }) => {
  const context = await newEditorContext(browser);
  // The launch queue hands the page's consumer to the test, which launches a file of the origin's
  // private file system.
  await context.addInitScript(() => {
    Object.defineProperty(window, "launchQueue", {
      value: {
        setConsumer: (consumer: unknown) =>
          Object.defineProperty(window, "launchConsumer", { value: consumer }),
      },
    });
  });
  const page = await context.newPage();
  await page.goto(siteUrl());
  await editorReady(page);
  const level = levelFile();
  await page.evaluate(
    async (bytes) => {
      const file = await (
        await navigator.storage.getDirectory()
      ).getFileHandle("level8.bin", { create: true });
      const writable = await file.createWritable();
      await writable.write(new Uint8Array(bytes));
      await writable.close();
      const launch = (window as unknown as { launchConsumer: (p: unknown) => void }).launchConsumer;
      launch({ files: [file] });
    },
    [...readFileSync(level)],
  );
  await expect(page.getByRole("status")).toHaveText("Opened level8.bin");
  expect(await saveLevel(page)).toEqual(readFileSync(level));
  await context.close();
});

test("after one visit the site loads and works with no network", async ({ browser }) => {
  // A server of its own, gone after the first visit.
  const served = await serve(siteDir);
  const page = await openEditor(browser, served.url);
  const active = page.evaluate(() =>
    Promise.race([
      navigator.serviceWorker.ready.then(() => true),
      new Promise<boolean>((done) => setTimeout(() => done(false), 10_000)),
    ]),
  );
  expect(await active, "a service worker took the site").toBe(true);
  await served.close();
  await page.context().setOffline(true);
  await page.reload();
  await editorReady(page);

  // Every file of the site is kept.
  const kept = await page.evaluate(async () => {
    const [name] = await caches.keys();
    return (await (await caches.open(name ?? "")).keys()).map((request) => request.url);
  });
  const site = readdirSync(siteDir, { recursive: true, withFileTypes: true })
    .filter((entry) => entry.isFile() && entry.name !== "sw.js")
    .map((entry) => relative(siteDir, join(entry.parentPath, entry.name)).split(sep).join("/"))
    .map((file) => served.url + (file === "index.html" ? "" : file));
  expect(kept.sort()).toEqual(site.sort());

  await button(page, "New").click();
  const p = new Painter(page);
  await p.select("Moon1");
  await p.click(6, 6);
  expect(await saveLevel(page)).toEqual(p.replayed(outDir()));
  const level = levelFile();
  await openFiles(page, level);
  await expect(page.getByRole("status")).toHaveText("Opened level8.bin");
  expect(await saveLevel(page)).toEqual(readFileSync(level));
  await page.context().close();
});

test("a new build of the site replaces the old build's cache at the next load", async ({
  browser,
}) => {
  const site = join(outDir(), "site");
  cpSync(siteDir, site, { recursive: true });
  const served = await serve(site);
  const page = await openEditor(browser, served.url);
  const cacheNames = () =>
    page.evaluate(async () => {
      await navigator.serviceWorker.ready;
      return caches.keys();
    });
  const [old] = await cacheNames();
  const worker = join(site, "sw.js");
  writeFileSync(
    worker,
    readFileSync(worker, "utf8").replace(/SITE_VERSION = "(\w+)"/, 'SITE_VERSION = "$1-new"'),
  );
  await page.reload();
  await expect.poll(cacheNames).toEqual([`${old}-new`]);
  await page.reload();
  await editorReady(page);
  await page.context().close();
  await served.close();
});

test("the single file, opened from the disk, has neither manifest nor service worker", () => {
  const html = readFileSync(singleFile, "utf8");
  expect(html).not.toContain('rel="manifest"');
  expect(html).not.toContain("serviceWorker");
});
