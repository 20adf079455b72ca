// Files in and out: the Tiled export read back by `tomkrin import`, a level opened in place and
// saved back into its file, and every kind of bad input refused with the core's own words.
import { spawnSync } from "node:child_process";
import { mkdirSync, readdirSync, readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import {
  alerts,
  button,
  demoTitles,
  download,
  expect,
  fixture,
  native,
  nativeMessage,
  openDemoTape,
  openFiles,
  outDir,
  Painter,
  saveLevel,
  sharedEditor,
  test,
} from "./support";

const editor = sharedEditor();

test("the Tiled export, unpacked, is read by `tomkrin import` as the level saved", async () => {
  const page = editor();
  await openDemoTape(page);
  const titles = demoTitles();
  for (const [n, format] of [
    [3, "tmx"],
    [19, "tmj"],
  ] as const) {
    await button(page, `Level ${n}: ${titles[n]}`).click();
    await page.getByLabel("Tiled map format").selectOption(format);
    const level = await saveLevel(page);
    const zip = await download(page, () => button(page, "Export for Tiled").click());
    expect(zip.name).toMatch(/\.zip$/);
    const dir = join(outDir(), `export${n}`);
    mkdirSync(dir);
    writeFileSync(join(dir, zip.name), zip.bytes);
    const unzip = spawnSync("unzip", ["-q", zip.name], { cwd: dir, encoding: "utf8" });
    expect(unzip.status, unzip.stderr).toBe(0);
    const maps = readdirSync(dir).filter((f) => f.endsWith(`.${format}`));
    expect(maps).toHaveLength(1);
    expect(readdirSync(dir)).toContain("tomkrin-blocks.png");
    native("tomkrin", ["import", maps[0] ?? "", "-o", "imported.bin"], false, dir);
    expect(readFileSync(join(dir, "imported.bin")), `level ${n}`).toEqual(level);
  }
});

test("a level opened in place is saved back into its file", async ({ browser }) => {
  const context = await browser.newContext({ viewport: { width: 1024, height: 768 } });
  // The page's file picker hands over a real file of the origin's private file system.
  await context.addInitScript(() => {
    (
      window as unknown as { showOpenFilePicker: () => Promise<FileSystemFileHandle[]> }
    ).showOpenFilePicker = async () => {
      const root = await navigator.storage.getDirectory();
      return [await root.getFileHandle("inplace.bin")];
    };
  });
  const page = await context.newPage();
  await page.goto(process.env.TK_SITE_URL ?? "");
  const tape = fixture(outDir(), "demo.cas");
  const original = join(outDir(), "level8.bin");
  native("tomkrin", ["extract", tape, "8", "-o", original]);
  const bytes = [...readFileSync(original)];
  await page.evaluate(async (content) => {
    const root = await navigator.storage.getDirectory();
    const file = await root.getFileHandle("inplace.bin", { create: true });
    const writable = await file.createWritable();
    await writable.write(new Uint8Array(content));
    await writable.close();
  }, bytes);
  const downloads: string[] = [];
  page.on("download", (d) => downloads.push(d.suggestedFilename()));

  await button(page, "Open in place…").click();
  const p = new Painter(page);
  await p.select("Safe1");
  await p.click(11, 5);
  await p.rightClick(2, 14);
  await button(page, "Save level").click();
  const readBack = async () =>
    page.evaluate(async () => {
      const root = await navigator.storage.getDirectory();
      const file = await (await root.getFileHandle("inplace.bin")).getFile();
      return [...new Uint8Array(await file.arrayBuffer())];
    });
  const expected = [...p.replayed(outDir(), original)];
  expect(expected).not.toEqual(bytes);
  await expect.poll(readBack).toEqual(expected);
  expect(downloads).toEqual([]);
  await context.close();
});

test("each bad input gives one alert naming the file with the core's words, and the level stays", async () => {
  const page = editor();
  const dir = outDir();
  const tape = await openDemoTape(page, dir);
  await button(page, `Level 7: ${demoTitles()[7]}`).click();
  const level = await saveLevel(page);
  const levelFile = join(dir, "level7.bin");
  writeFileSync(levelFile, level);

  const notes = join(dir, "notes.txt");
  writeFileSync(notes, "a list of levels to draw\n");
  const truncated = join(dir, "truncated.bin");
  writeFileSync(truncated, level.subarray(0, 300));
  native("tomkrin", ["export", levelFile, "-o", join(dir, "good.tmx")]);
  // The tape's sheet: a picture that carries no level.
  const picture = join(dir, "picture.png");
  native("tomkrin", ["render", tape, "-o", picture]);
  const badMap = join(dir, "bad.tmx");
  writeFileSync(
    badMap,
    readFileSync(join(dir, "good.tmx"), "utf8").replace('name="cells"', 'name="cellz"'),
  );
  const quiet = join(dir, "quiet.wav");
  const sox = spawnSync("sox", [
    "-n",
    "-r",
    "22050",
    "-b",
    "16",
    "-c",
    "1",
    quiet,
    "synth",
    "2",
    "whitenoise",
    "vol",
    "0.1",
  ]);
  expect(sox.status).toBe(0);
  const foreign = join(dir, "foreign.cas");
  writeFileSync(foreign, readFileSync(tape).subarray(0, 152));

  // The tools run beside the files, so that their messages name them as the page does.
  const said = (tool: string, ...args: string[]) => nativeMessage(native(tool, args, true, dir));
  const cases: [string, string, () => Promise<void>][] = [
    ["no level", said("tomkrin", "show", "notes.txt"), () => openFiles(page, notes)],
    ["truncated", said("tomkrin", "show", "truncated.bin"), () => openFiles(page, truncated)],
    [
      "picture",
      "picture.png: not a level file: it is a PNG picture",
      () => openFiles(page, picture),
    ],
    [
      "refused map",
      said("tomkrin", "import", "bad.tmx", "-o", "x.bin"),
      () => openFiles(page, badMap),
    ],
    ["no tape signal", said("wav2cas", "quiet.wav", "x.cas"), () => openFiles(page, quiet)],
    [
      "foreign tape",
      // The tool's hint at its option left out: the page has its Force box instead.
      said("tomkrin", "insert", "level7.bin", "foreign.cas", "3", "-o", "y.cas").replace(
        / \(--force[^)]*\)$/,
        "",
      ),
      async () => {
        await openFiles(page, foreign);
        await page.getByLabel("Level slot").fill("3");
        await button(page, "Insert into tape").click();
      },
    ],
  ];
  for (const [what, message, act] of cases) {
    await act();
    await expect(alerts(page), what).toHaveCount(1);
    await expect(alerts(page), what).toContainText(message);
    expect(await saveLevel(page), `the level after the ${what}`).toEqual(level);
  }
});
