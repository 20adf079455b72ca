// What the browser tests share: the editor's page opened once per group of tests, its controls by
// the accessible names the page keeps stable, real file choosers and downloads, and the native
// tools run on the same inputs.
import { spawnSync } from "node:child_process";
import { copyFileSync, mkdirSync, readFileSync, writeFileSync } from "node:fs";
import { basename, join } from "node:path";
import { expect, test, type Browser, type BrowserContext, type Page } from "@playwright/test";
import { fixtures, nativeBin } from "./paths";

export { expect, test };

export const COLUMNS = 24;
export const ROWS = 18;
const CELL = 16;

export function siteUrl(): string {
  const url = process.env.TK_SITE_URL;
  if (!url) throw new Error("TK_SITE_URL unset: run through playwright.config.ts");
  return url;
}

export async function newEditorContext(browser: Browser): Promise<BrowserContext> {
  return browser.newContext({ viewport: { width: 1024, height: 768 }, acceptDownloads: true });
}

// Waits until the page is ready to edit: the canvas has its zoom and the palette its blocks.
export async function editorReady(page: Page): Promise<void> {
  await expect(levelCanvas(page)).toHaveAttribute("data-zoom", /^[1-9][0-9]*$/);
  await expect(page.getByRole("button", { name: "Key", exact: true })).toBeVisible();
}

export async function openEditor(browser: Browser, url = siteUrl()): Promise<Page> {
  const context = await newEditorContext(browser);
  const page = await context.newPage();
  // What goes wrong inside the page shows beside the test that saw it.
  page.on("pageerror", (error) => console.log(`page error: ${error.message}`));
  page.on("console", (message) => {
    if (message.type() === "error" && !message.text().startsWith("Failed to load resource"))
      console.log(`page console: ${message.text()}`);
  });
  page.on("response", (response) => {
    if (response.status() >= 400)
      console.log(`page asked for ${response.url()}: ${response.status()}`);
  });
  await page.goto(url);
  await editorReady(page);
  return page;
}

// One page for a group of tests (a file), opened before its first test and closed after its
// last; the tests of the group run in order on it.
export function sharedEditor(): () => Page {
  let page: Page | undefined;
  test.describe.configure({ mode: "serial" });
  test.beforeAll(async ({ browser }) => {
    page = await openEditor(browser);
  });
  test.afterAll(async () => {
    await page?.context().close();
  });
  return () => {
    if (!page) throw new Error("the group's page is not open");
    return page;
  };
}

export function levelCanvas(page: Page) {
  return page.getByLabel("Level", { exact: true });
}

export function button(page: Page, name: string) {
  return page.getByRole("button", { name, exact: true });
}

// The page point at the centre of a cell, from the canvas's content box and its zoom; the canvas
// must show the 384 x 288 grid at exactly that integer zoom.
export async function cellPoint(
  page: Page,
  col: number,
  row: number,
): Promise<{ x: number; y: number }> {
  const box = await levelCanvas(page).evaluate((canvas: HTMLCanvasElement) => {
    const r = canvas.getBoundingClientRect();
    const s = getComputedStyle(canvas);
    const left = r.left + parseFloat(s.borderLeftWidth) + parseFloat(s.paddingLeft);
    const top = r.top + parseFloat(s.borderTopWidth) + parseFloat(s.paddingTop);
    return {
      left,
      top,
      width: canvas.clientWidth - parseFloat(s.paddingLeft) - parseFloat(s.paddingRight),
      height: canvas.clientHeight - parseFloat(s.paddingTop) - parseFloat(s.paddingBottom),
      zoom: Number(canvas.dataset.zoom),
    };
  });
  expect([box.width, box.height]).toEqual([COLUMNS * CELL * box.zoom, ROWS * CELL * box.zoom]);
  const size = CELL * box.zoom;
  return {
    x: box.left + col * size + size / 2,
    y: box.top + row * size + size / 2,
  };
}

// Real pointer events on the canvas, each written down as the native reference replays it
// (tests/web/replayedits.cpp): the same cells, the editor's way.
export class Painter {
  readonly events: string[] = [];
  constructor(private readonly page: Page) {}

  async select(blockName: string): Promise<void> {
    await button(this.page, blockName).click();
    this.events.push(`select ${blockName}`);
  }

  private async moveTo(col: number, row: number): Promise<void> {
    const p = await cellPoint(this.page, col, row);
    await this.page.mouse.move(p.x, p.y);
  }

  async click(col: number, row: number): Promise<void> {
    await this.moveTo(col, row);
    await this.page.mouse.down({ button: "left" });
    await this.page.mouse.up({ button: "left" });
    this.events.push(`ldown ${col} ${row}`, "lup");
  }

  async rightClick(col: number, row: number): Promise<void> {
    await this.moveTo(col, row);
    await this.page.mouse.down({ button: "right" });
    await this.page.mouse.up({ button: "right" });
    this.events.push(`rdown ${col} ${row}`, "rup");
  }

  // Presses the buttons in order at the first cell, moves through the others (a frame apart,
  // so that each is a reported position), and releases them.
  async drag(buttons: ("left" | "right")[], cells: [number, number][]): Promise<void> {
    const [first, ...rest] = cells;
    if (!first) throw new Error("a drag starts somewhere");
    await this.moveTo(first[0], first[1]);
    for (const b of buttons) {
      await this.page.mouse.down({ button: b });
      this.events.push(`${b === "left" ? "l" : "r"}down ${first[0]} ${first[1]}`);
    }
    for (const [col, row] of rest) {
      await this.moveTo(col, row);
      await nextFrame(this.page);
      this.events.push(`move ${col} ${row}`);
    }
    for (const b of [...buttons].reverse()) {
      await this.page.mouse.up({ button: b });
      this.events.push(b === "left" ? "lup" : "rup");
    }
  }

  // The level file the native reference makes of the same events, from `base` or File > New's.
  replayed(dir: string, base?: string): Buffer {
    mkdirSync(dir, { recursive: true });
    const events = join(dir, "events.txt");
    const out = join(dir, "replayed.bin");
    writeFileSync(events, this.events.join("\n") + "\n");
    native("replayedits", [events, out, ...(base ? [base] : [])]);
    return readFileSync(out);
  }
}

// The current test's own folder for its files.
export function outDir(): string {
  return test.info().outputDir;
}

export function nextFrame(page: Page): Promise<void> {
  return page.evaluate(() => new Promise<void>((done) => requestAnimationFrame(() => done())));
}

// A download the click starts, as its bytes and the name the page gives it.
// Chromium lets a page start about ten downloads a second and silently drops the rest, a guard
// against pages that flood the disk; the tests save far faster than a person, so they keep under it.
const recentDownloads: number[] = [];
const downloadWindowMs = 1500;
const downloadsPerWindow = 8;

async function keepUnderDownloadLimit(): Promise<void> {
  const now = Date.now();
  while (recentDownloads.length && now - recentDownloads[0] > downloadWindowMs)
    recentDownloads.shift();
  if (recentDownloads.length >= downloadsPerWindow)
    await new Promise((r) => setTimeout(r, downloadWindowMs - (now - recentDownloads[0]) + 50));
  recentDownloads.push(Date.now());
}

export async function download(
  page: Page,
  click: () => Promise<void>,
): Promise<{ name: string; bytes: Buffer }> {
  await keepUnderDownloadLimit();
  const [d] = await Promise.all([page.waitForEvent("download"), click()]);
  const path = await d.path();
  return { name: d.suggestedFilename(), bytes: readFileSync(path) };
}

export async function saveLevel(page: Page): Promise<Buffer> {
  return (await download(page, () => button(page, "Save level").click())).bytes;
}

// Opens files through the page's Open input and a real file chooser.
export async function openFiles(page: Page, ...paths: string[]): Promise<void> {
  const [chooser] = await Promise.all([
    page.waitForEvent("filechooser"),
    page.getByLabel("Open", { exact: true }).click(),
  ]);
  await chooser.setFiles(paths);
}

// The demonstration tape, copied into the test's folder `dir` and opened in the page; its path.
export async function openDemoTape(page: Page, dir = outDir()): Promise<string> {
  const tape = fixture(dir, "demo.cas");
  await openFiles(page, tape);
  return tape;
}

// Opens one of the page's panels (Level options, Monster options, Sound, …) by its button, unless
// it is open.
export async function openPanel(page: Page, name: string): Promise<void> {
  const opener = button(page, `${name}…`);
  if ((await opener.getAttribute("aria-expanded")) !== "true") await opener.click();
  await expect(page.getByRole("dialog", { name })).toBeVisible();
}

// The page's alerts that say something.
export function alerts(page: Page) {
  return page.getByRole("alert").filter({ hasText: /\S/ });
}

export interface NativeRun {
  status: number;
  stdout: string;
  stderr: string;
}

// Runs a native tool of the release tree; unless `allowFailure`, a failure fails the test.
export function native(
  tool: string,
  args: string[],
  allowFailure = false,
  cwd?: string,
): NativeRun {
  const run = spawnSync(join(nativeBin, tool), args, { encoding: "utf8", cwd });
  const result = { status: run.status ?? -1, stdout: run.stdout, stderr: run.stderr };
  if (!allowFailure && result.status !== 0)
    throw new Error(`${tool} ${args.join(" ")} failed (${result.status}): ${result.stderr}`);
  return result;
}

// The message a native tool gives for its input, without the tool's name in front: the core's
// text, `FILE: WHAT`.
export function nativeMessage(run: NativeRun): string {
  expect(run.status).not.toBe(0);
  const line = run.stderr.trim().split("\n")[0] ?? "";
  return line.replace(/^[a-z0-9]+: /, "");
}

// A copy of a fixture in the test's own folder, under the name the page is to see.
export function fixture(dir: string, name: string, as = name): string {
  mkdirSync(dir, { recursive: true });
  const to = join(dir, basename(as));
  copyFileSync(join(fixtures, name), to);
  return to;
}

// The demonstration tape's standard level titles, as `tomkrin info` lists them.
export function demoTitles(): string[] {
  const info = native("tomkrin", ["info", join(fixtures, "demo.cas")]).stdout;
  const titles: string[] = [];
  for (const m of info.matchAll(/^\s+(\d+)\s+\d+\s+"(.*)"$/gm))
    titles[Number(m[1])] = (m[2] ?? "").trim();
  expect(titles.length).toBe(20);
  return titles;
}
