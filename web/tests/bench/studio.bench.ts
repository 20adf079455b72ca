// The studio's figures (docs/performance.md): a fill of the whole grid and a paste of the whole grid,
// each the time from its event (the Fill tool's press, the Enter that puts the pasted cells down)
// to the end of the last canvas drawing it caused, and whether that came before the next frame;
// and the studio's picture for the README (docs/screenshot-studio.png): a 1366 x 768 window that
// started from the demonstration tape. Prints the figures; nothing fails because one is slow.
//   cd web && npx playwright test --config tests/bench/bench.config.ts studio
import { join } from "node:path";
import type { Page } from "@playwright/test";
import { root } from "../browser/paths";
import { button, cellPoint, levelCanvas, openEditor, Painter, test } from "../browser/support";

const ROUNDS = 12;

interface Timed {
  at: number;
  drawn: number;
  frame: number;
}

// Every press of the left button and every Enter from now on, with the end of the last drawing
// after it and the time its next frame had run.
async function watchEdits(page: Page): Promise<void> {
  await page.evaluate(() => {
    const w = window as unknown as { lastDraw: number; edits: Timed[] };
    w.lastDraw = 0;
    w.edits = [];
    const proto = CanvasRenderingContext2D.prototype;
    const drawImage = Object.getOwnPropertyDescriptor(proto, "drawImage")?.value as (
      this: CanvasRenderingContext2D,
      ...args: unknown[]
    ) => void;
    Object.defineProperty(proto, "drawImage", {
      value: function (this: CanvasRenderingContext2D, ...args: unknown[]) {
        drawImage.apply(this, args);
        w.lastDraw = performance.now();
      },
    });
    const record = (e: Event) => {
      const at = e.timeStamp;
      requestAnimationFrame(() =>
        setTimeout(() => w.edits.push({ at, drawn: w.lastDraw, frame: performance.now() })),
      );
    };
    window.addEventListener("pointerdown", (e) => e.button === 0 && record(e), { capture: true });
    window.addEventListener("keydown", (e) => e.key === "Enter" && record(e), { capture: true });
  });
}

async function takeEdits(page: Page): Promise<Timed[]> {
  return page.evaluate(() => {
    const w = window as unknown as { edits: Timed[] };
    const edits = w.edits;
    w.edits = [];
    return edits;
  });
}

function summary(name: string, edits: Timed[]): string {
  const ms = edits.map((e) => e.drawn - e.at).sort((a, b) => a - b);
  const within = edits.filter(
    (e) => e.drawn > e.at && e.drawn - e.at <= 16.7 && e.drawn <= e.frame,
  );
  const median = ms[Math.floor(ms.length / 2)] ?? 0;
  return `${name}: median ${median.toFixed(1)} ms, slowest ${(ms[ms.length - 1] ?? 0).toFixed(1)} ms, ${within.length} of ${edits.length} drawn within 16.7 ms and before the next frame`;
}

test("studio", async ({ browser }) => {
  const page = await openEditor(browser);
  await watchEdits(page);
  const painter = new Painter(page);
  const blocks = ["Brick", "Key", "Ladder", "Heart"];

  // Fill: the grid made of one block (a filled rectangle corner to corner), then filled with
  // another each time, so that every cell changes.
  await painter.select("Air");
  await button(page, "Rectangle").click();
  await page.keyboard.down("Shift");
  await painter.drag(
    ["left"],
    [
      [0, 0],
      [23, 17],
    ],
  );
  await page.keyboard.up("Shift");
  await takeEdits(page);
  await button(page, "Fill").click();
  for (let i = 0; i < ROUNDS + 2; i++) {
    await painter.select(blocks[i % blocks.length] ?? "Brick");
    await painter.click(0, 0);
    await page.waitForTimeout(50);
  }
  const fills = (await takeEdits(page)).filter((_, i) => i % 2 === 1).slice(2);

  // Paste: the whole grid copied, pasted at its own place and put down by Enter.
  await button(page, "Select").click();
  await painter.drag(
    ["left"],
    [
      [0, 0],
      [23, 17],
    ],
  );
  await page.keyboard.press("Control+c");
  const pastes: Timed[] = [];
  for (let i = 0; i < ROUNDS + 2; i++) {
    const p = await cellPoint(page, 0, 0);
    await page.mouse.move(p.x, p.y);
    await levelCanvas(page).focus();
    await page.keyboard.press("Control+v");
    await takeEdits(page);
    await page.keyboard.press("Enter");
    await page.waitForTimeout(50);
    if (i >= 2) pastes.push(...(await takeEdits(page)));
  }
  console.log(summary("fill of the whole grid", fills));
  console.log(summary("paste of the whole grid", pastes));
  await page.context().close();
});

test("screenshot of the studio", async ({ browser }) => {
  const context = await browser.newContext({ viewport: { width: 1366, height: 768 } });
  const page = await context.newPage();
  await page.goto(process.env.TK_SITE_URL ?? "");
  await button(page, "Start from the demonstration tape").click();
  await button(page, "Level 3: MOONLIGHT").click();
  await button(page, "Key").click();
  await page.mouse.move(0, 0);
  await page.waitForTimeout(300);
  await page.screenshot({
    path: process.env.TK_SCREENSHOT_STUDIO ?? join(root, "docs/screenshot-studio.png"),
  });
  await context.close();
});
