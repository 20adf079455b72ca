// Painting with real pointer events against the same events replayed through the core, the
// undo history, the level kept across a reload, and a monster's path dragged on the canvas.
import { readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import {
  button,
  cellPoint,
  demoTitles,
  editorReady,
  expect,
  levelCanvas,
  native,
  openDemoTape,
  openPanel,
  outDir,
  Painter,
  saveLevel,
  sharedEditor,
  siteUrl,
  test,
} from "./support";

const editor = sharedEditor();

test("clicks, right-click lines and drags paint the level the editor's way", async () => {
  const page = editor();
  await button(page, "New").click();
  const p = new Painter(page);
  await p.select("Key");
  await p.click(3, 3);
  await p.rightClick(20, 9);
  await p.rightClick(3, 15);
  // Holding the left button places at every position; holding the right one draws lines from the
  // anchor; with both held, the line reaches each position before it becomes the anchor.
  await p.select("Ladder");
  await p.drag(
    ["left"],
    [
      [5, 2],
      [5, 3],
      [6, 4],
      [8, 4],
      [8, 7],
    ],
  );
  await p.select("Brick");
  await p.drag(
    ["right"],
    [
      [12, 12],
      [14, 13],
      [17, 16],
    ],
  );
  await p.select("Heart");
  await p.drag(
    ["left", "right"],
    [
      [1, 1],
      [4, 5],
      [9, 1],
      [22, 16],
    ],
  );
  await p.select("Red walk-through");
  await p.click(23, 17);
  await p.rightClick(0, 0);
  expect(await saveLevel(page)).toEqual(p.replayed(outDir()));
});

test("undo and redo take back a click, a line, a stroke, the options and a monster's fields one step each", async () => {
  const page = editor();
  await button(page, "New").click();
  const steps = [await saveLevel(page)];
  const p = new Painter(page);
  await p.select("Cross");
  await p.click(4, 4);
  steps.push(await saveLevel(page));
  await p.rightClick(15, 10);
  steps.push(await saveLevel(page));
  await p.drag(
    ["left"],
    [
      [2, 9],
      [3, 10],
      [4, 11],
      [5, 12],
    ],
  );
  steps.push(await saveLevel(page));
  await openPanel(page, "Level options");
  await page.getByLabel("Title (max. 24 chars, use UPPERcase):").fill("UNDONE");
  await button(page, "Save options").click();
  await expect(page.getByRole("status")).toHaveText("Level options saved.");
  steps.push(await saveLevel(page));
  // Each field and each button of the monster options is a step; Save monster has none left.
  await openPanel(page, "Monster options");
  await page.getByLabel("Start x").fill("30");
  steps.push(await saveLevel(page));
  await page.getByLabel("Start y").fill("40");
  steps.push(await saveLevel(page));
  await button(page, "Next type").click();
  await button(page, "Save monster").click();
  steps.push(await saveLevel(page));
  for (let i = 1; i < steps.length; i++) expect(steps[i]).not.toEqual(steps[i - 1]);

  for (let i = steps.length - 2; i >= 0; i--) {
    if (i % 2) await button(page, "Undo").click();
    else {
      await levelCanvas(page).focus();
      await page.keyboard.press("Control+z");
    }
    expect(await saveLevel(page), `undone to step ${i}`).toEqual(steps[i]);
  }
  for (let i = 1; i < steps.length; i++) {
    if (i % 3 === 0) await button(page, "Redo").click();
    else {
      await levelCanvas(page).focus();
      await page.keyboard.press(i % 3 === 1 ? "Control+Shift+z" : "Control+y");
    }
    expect(await saveLevel(page), `redone to step ${i}`).toEqual(steps[i]);
  }
  await expect(button(page, "Redo")).toBeDisabled();
});

test("the level being edited comes back after a reload and in a new tab, and leaving asks first", async () => {
  const page = editor();
  await button(page, "New").click();
  const p = new Painter(page);
  await p.select("Star1");
  await p.click(7, 7);
  await p.rightClick(16, 2);
  await saveLevel(page);
  // Changed after the save: leaving now would lose something.
  await p.click(9, 12);
  const edited = p.replayed(outDir());
  const dialogs: string[] = [];
  page.on("dialog", (dialog) => {
    dialogs.push(dialog.type());
    void dialog.accept();
  });
  await page.reload();
  await editorReady(page);
  expect(dialogs).toEqual(["beforeunload"]);
  expect(await saveLevel(page)).toEqual(edited);

  const second = await page.context().newPage();
  await second.goto(page.url());
  await editorReady(second);
  expect(await saveLevel(second)).toEqual(edited);
  await second.close();
});

test("dragging the end of a monster's path on the canvas moves it, one step", async () => {
  const page = editor();
  await openDemoTape(page);
  await button(page, `Level 5: ${demoTitles()[5]}`).click();
  const before = await saveLevel(page);
  const monster1 = (file: string) =>
    /^monster 1 .*$/m.exec(native("tomkrin", ["info", file]).stdout)?.[0] ?? "";
  const original = join(outDir(), "level5.bin");
  writeFileSync(original, before);
  // Monster 1 walks from cell (4, 7) to cell (18, 7) (monster coordinates 0x30 to 0xA0 across,
  // 0x38 down); its end is dragged two cells on, to cell (20, 7): 0xB0 across.
  expect(monster1(original)).toContain("from (0x30, 0x38) to (0xA0, 0x38)");
  const from = await cellPoint(page, 18, 7);
  const to = await cellPoint(page, 20, 7);
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  await page.mouse.move((from.x + to.x) / 2, to.y, { steps: 4 });
  await page.mouse.move(to.x, to.y, { steps: 4 });
  await page.mouse.up();
  const moved = join(outDir(), "moved.bin");
  writeFileSync(moved, await saveLevel(page));
  expect(monster1(moved)).toContain("from (0x30, 0x38) to (0xB0, 0x38)");
  const changed = [...readFileSync(moved)].filter((byte, i) => byte !== before[i]);
  expect(changed).toHaveLength(1);
  await button(page, "Undo").click();
  expect(await saveLevel(page)).toEqual(before);
});

test("two fingers spread on a touch screen zoom the canvas and paint nothing", async ({
  browser,
}) => {
  const context = await browser.newContext({
    viewport: { width: 390, height: 844 },
    hasTouch: true,
    acceptDownloads: true,
  });
  const page = await context.newPage();
  await page.goto(siteUrl());
  await editorReady(page);
  const before = await saveLevel(page);
  const zoomOf = async () => Number(await levelCanvas(page).getAttribute("data-zoom"));
  const zoom = await zoomOf();
  const a = await cellPoint(page, 3, 8);
  const b = await cellPoint(page, 6, 8);
  const cdp = await context.newCDPSession(page);
  const touch = (
    type: "touchStart" | "touchMove" | "touchEnd",
    points: { x: number; y: number }[],
  ) =>
    cdp.send("Input.dispatchTouchEvent", {
      type,
      touchPoints: points.map((p, id) => ({ ...p, id })),
    });
  await touch("touchStart", [a]);
  await touch("touchStart", [a, b]);
  for (const spread of [20, 40, 60])
    await touch("touchMove", [
      { x: a.x - spread, y: a.y },
      { x: b.x + spread, y: b.y },
    ]);
  await touch("touchEnd", []);
  await expect.poll(zoomOf).toBeGreaterThan(zoom);
  expect(await saveLevel(page)).toEqual(before);
  await expect(button(page, "Undo")).toBeDisabled();
  await context.close();
});
