// The studio at first sight: on a laptop's window the canvas, the tools, the palette and the open
// tape's sheet are in view together and nothing moves while the page loads or a tape opens; a
// first visit offers the demonstration tape (mkdemotape's bytes); no serious accessibility fault at
// rest, with a tape open, with a selection, on a phone; a finger's targets on a touch phone.
import { readFileSync } from "node:fs";
import { join } from "node:path";
import AxeBuilder from "@axe-core/playwright";
import type { Browser, Page } from "@playwright/test";
import { fixtures } from "./paths";
import {
  button,
  download,
  editorReady,
  expect,
  levelCanvas,
  Painter,
  siteUrl,
  test,
} from "./support";

// Serious and critical faults against WCAG 2.2 AA, each with the elements that have it.
async function accessibilityFaults(page: Page): Promise<string[]> {
  const { violations } = await new AxeBuilder({ page })
    .withTags(["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa"])
    .analyze();
  return violations
    .filter((v) => v.impact === "serious" || v.impact === "critical")
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
}

// The sum of the layout shifts since the page began to load, as the browser reports them.
async function openCounting(browser: Browser, width: number, height: number): Promise<Page> {
  const context = await browser.newContext({ viewport: { width, height }, acceptDownloads: true });
  const page = await context.newPage();
  await page.addInitScript(() => {
    const w = window as unknown as { shifted: number };
    w.shifted = 0;
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries() as (PerformanceEntry & {
        value: number;
        hadRecentInput: boolean;
      })[])
        if (!entry.hadRecentInput) w.shifted += entry.value;
    }).observe({ type: "layout-shift", buffered: true });
  });
  await page.goto(siteUrl());
  await editorReady(page);
  return page;
}

async function shifted(page: Page): Promise<number> {
  return page.evaluate(() => (window as unknown as { shifted: number }).shifted);
}

async function expectAllInView(page: Page): Promise<void> {
  const view = page.viewportSize();
  if (!view) throw new Error("no viewport");
  const parts = {
    canvas: levelCanvas(page),
    tools: page.getByRole("toolbar", { name: "Tools" }),
    palette: page.getByRole("toolbar", { name: "Blocks" }),
    sheet: page.getByRole("group", { name: "Levels of the tape" }),
  };
  for (const [name, part] of Object.entries(parts)) {
    const box = await part.boundingBox();
    expect(box, name).not.toBeNull();
    if (!box) continue;
    expect(
      box.x >= 0 &&
        box.y >= 0 &&
        box.x + box.width <= view.width &&
        box.y + box.height <= view.height,
      `${name} at ${JSON.stringify(box)} within ${view.width} x ${view.height}`,
    ).toBe(true);
  }
}

for (const [width, height] of [
  [1366, 768],
  [1024, 768],
]) {
  test(`at ${width} x ${height} a first visit starts from the demonstration tape, everything in view, nothing moving`, async ({
    browser,
  }) => {
    const page = await openCounting(browser, width, height);
    await expect(button(page, "Start from the demonstration tape")).toBeInViewport();
    expect(await accessibilityFaults(page), "at rest").toEqual([]);

    await button(page, "Start from the demonstration tape").click();
    await expect(button(page, "Level 19: WRAP AROUND")).toBeAttached();
    await expect(page.getByRole("status")).toContainText("demonstration tape");
    await expectAllInView(page);
    const tape = await download(page, () => button(page, "Save tape").click());
    expect(tape.bytes).toEqual(readFileSync(join(fixtures, "demo.cas")));
    expect(await shifted(page), "layout shift").toBeLessThan(0.05);
    expect(await accessibilityFaults(page), "with a tape open").toEqual([]);

    await button(page, "Select").click();
    await new Painter(page).drag(
      ["left"],
      [
        [2, 2],
        [6, 5],
      ],
    );
    expect(await accessibilityFaults(page), "with a selection").toEqual([]);
    await page.context().close();
  });
}

test("on a touch phone the controls take a finger, the cells are 24 px, the block is named", async ({
  browser,
}) => {
  const context = await browser.newContext({
    viewport: { width: 390, height: 844 },
    isMobile: true,
    hasTouch: true,
  });
  const page = await context.newPage();
  await page.goto(siteUrl());
  await editorReady(page);
  expect(await accessibilityFaults(page), "at rest").toEqual([]);
  await button(page, "Start from the demonstration tape").click();
  await expect(button(page, "Level 0: FIRST STEPS")).toBeAttached();
  expect(await accessibilityFaults(page), "with a tape open").toEqual([]);

  expect(Number(await levelCanvas(page).getAttribute("data-zoom")) * 16).toBeGreaterThanOrEqual(24);
  await button(page, "Key").tap();
  await expect(page.locator("#block-name")).toContainText("Key");
  await expect(page.locator("#block-name")).toBeVisible();
  const small = await page.evaluate(() =>
    [
      ...document.querySelectorAll<HTMLElement>(
        "button, select, input:not([type=radio], [type=checkbox], [type=file]), .file-button, label:has(> input[type=radio], > input[type=checkbox])",
      ),
    ]
      .filter((e) => e.getClientRects().length > 0)
      .map((e) => ({ e, r: e.getBoundingClientRect() }))
      .filter(({ r }) => r.width < 43.5 || r.height < 43.5)
      .map(({ e, r }) => `${e.id || e.textContent?.trim() || e.tagName} ${r.width}x${r.height}`),
  );
  expect(small).toEqual([]);
  await context.close();
});
