// The tools with real pointer events and keys: each level the page saves against the level its
// rule (src/rules.ts) makes of the one before, both read by `tomkrin show` and `tomkrin info`;
// each edit one undo step; the Tools toolbar, the selection's keys across two levels and the
// command palette.
import { mkdirSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import type { Page } from "@playwright/test";
import {
  areaOf,
  copyArea,
  flippedCells,
  floodCells,
  pastedCells,
  rectangleCells,
  wholeGrid,
  type Cell,
  type CellCode,
  type Grid,
} from "../../src/rules";
import {
  button,
  cellPoint,
  COLUMNS,
  demoTitles,
  download,
  expect,
  fixture,
  levelCanvas,
  native,
  openFiles,
  outDir,
  ROWS,
  saveLevel,
  sharedEditor,
  test,
} from "./support";

const editor = sharedEditor();
const AIR = 0x20;
const KEY = 0x2d;
const LADDER = 0x6c;

// A level as the native tools read it: its grid of codes (`tomkrin show`, whose legend gives each
// character's code) and the rest of it (`tomkrin info` after the file's name, up to the cell
// counts).
interface NativeLevel {
  grid: Grid;
  rest: string;
}

let files = 0;
function nativeLevel(bytes: Buffer): NativeLevel {
  mkdirSync(outDir(), { recursive: true });
  const file = join(outDir(), `level-${files++}.bin`);
  writeFileSync(file, bytes);
  const shown = native("tomkrin", ["show", file, "--color=never"]).stdout;
  const legend = new Map<string, number>();
  for (const m of shown.matchAll(/^ {2}(.) 0x([0-9A-F]{2}) /gm))
    legend.set(m[1] ?? "", parseInt(m[2] ?? "", 16));
  const codes: number[] = [];
  for (const m of shown.matchAll(/^ ?\d{1,2} {2}(.{24})$/gm))
    for (const c of m[1] ?? "") codes.push(legend.get(c) ?? -1);
  expect(codes).toHaveLength(COLUMNS * ROWS);
  const info = native("tomkrin", ["info", file]).stdout;
  const rest = info.slice(info.indexOf("\n"));
  return {
    grid: { columns: COLUMNS, rows: ROWS, codes },
    rest: rest.slice(0, rest.indexOf("\ncells")),
  };
}

function withCells(level: NativeLevel, cells: CellCode[]): NativeLevel {
  const codes = [...level.grid.codes];
  for (const { col, row, code } of cells) codes[row * COLUMNS + col] = code;
  return { rest: level.rest, grid: { ...level.grid, codes } };
}

const coded = (cells: Cell[], code: number): CellCode[] => cells.map((c) => ({ ...c, code }));

async function pointAt(page: Page, cell: Cell): Promise<void> {
  const p = await cellPoint(page, cell.col, cell.row);
  await page.mouse.move(p.x, p.y);
}

// A press on one cell, moves through the next ones, a release on the last, with Shift held at the
// release when asked.
async function drag(page: Page, cells: Cell[], shiftAtRelease = false): Promise<void> {
  const [first, ...rest] = cells;
  if (!first) throw new Error("a drag starts somewhere");
  await pointAt(page, first);
  await page.mouse.down();
  for (const cell of rest) await pointAt(page, cell);
  if (shiftAtRelease) await page.keyboard.down("Shift");
  await page.mouse.up();
  if (shiftAtRelease) await page.keyboard.up("Shift");
}

async function click(page: Page, cell: Cell, modifiers: "Alt"[] = []): Promise<void> {
  await pointAt(page, cell);
  for (const key of modifiers) await page.keyboard.down(key);
  await page.mouse.down();
  await page.mouse.up();
  for (const key of modifiers) await page.keyboard.up(key);
}

async function openDemoLevel(page: Page, n: number): Promise<NativeLevel & { bytes: Buffer }> {
  // The tape opened again, since the levels edited before went into it; its changes are
  // discarded when the page asks.
  const changed = await page.locator("#tape-sheet .sheet-mark", { hasText: "changed" }).count();
  await openFiles(page, fixture(outDir(), "demo.cas"));
  if (changed > 0) await button(page, "Discard changes").click();
  // Opened, the tape has no level open yet.
  await expect(page.locator("#tape-sheet [aria-current]")).toHaveCount(0);
  await button(page, `Level ${n}: ${demoTitles()[n]}`).click();
  const bytes = await saveLevel(page);
  return { ...nativeLevel(bytes), bytes };
}

// Undoing the steps one at a time gives back each level before, down to the first.
async function expectUndoSteps(page: Page, steps: Buffer[]): Promise<void> {
  for (let i = steps.length - 2; i >= 0; i--) {
    await button(page, "Undo").click();
    expect(await saveLevel(page), `undone to step ${i}`).toEqual(steps[i]);
  }
}

test("the Tools toolbar presses the tool in use, chosen by its button or its key", async () => {
  const page = editor();
  const tools = page.getByRole("toolbar", { name: "Tools" });
  const names = ["Pencil", "Rectangle", "Fill", "Pick", "Select"];
  const keys = ["P", "R", "F", "I", "S"];
  await expect(tools.getByRole("button")).toHaveText(names);
  const pressed = async (name: string) => {
    for (const other of names)
      await expect(tools.getByRole("button", { name: other, exact: true })).toHaveAttribute(
        "aria-pressed",
        String(other === name),
      );
  };
  await pressed("Pencil");
  for (const [i, name] of names.entries()) {
    const tool = tools.getByRole("button", { name, exact: true });
    await expect(tool).toHaveAttribute("title", `${name} (${keys[i]})`);
    await tool.click();
    await pressed(name);
  }
  await levelCanvas(page).focus();
  for (const [i, name] of names.entries()) {
    await page.keyboard.press(keys[i] ?? "");
    await pressed(name);
  }
});

test("Rectangle, Fill and Pick give what their rules give, each edit one undo step", async () => {
  const page = editor();
  const first = await openDemoLevel(page, 5);
  const steps = [first.bytes];
  let expected: NativeLevel = first;
  await button(page, "Key").click();
  await page.keyboard.press("r");
  await drag(page, [
    { col: 3, row: 5 },
    { col: 6, row: 8 },
    { col: 9, row: 10 },
  ]);
  expected = withCells(
    expected,
    coded(rectangleCells({ col: 3, row: 5 }, { col: 9, row: 10 }, false), KEY),
  );
  steps.push(await saveLevel(page));
  expect(nativeLevel(steps[steps.length - 1])).toEqual(expected);

  await drag(
    page,
    [
      { col: 15, row: 9 },
      { col: 12, row: 6 },
    ],
    true,
  );
  expected = withCells(
    expected,
    coded(rectangleCells({ col: 15, row: 9 }, { col: 12, row: 6 }, true), KEY),
  );
  steps.push(await saveLevel(page));
  expect(nativeLevel(steps[steps.length - 1])).toEqual(expected);

  // Picking needs no tool of its own: Alt+click with the Rectangle.
  await click(page, { col: 10, row: 1 }, ["Alt"]);
  await expect(page.getByRole("status")).toHaveText("Ladder = 0x6C");
  await expect(button(page, "Ladder")).toHaveAttribute("aria-pressed", "true");
  await button(page, "Fill").click();
  await click(page, { col: 2, row: 10 });
  expected = withCells(expected, coded(floodCells(expected.grid, { col: 2, row: 10 }), LADDER));
  steps.push(await saveLevel(page));
  expect(nativeLevel(steps[steps.length - 1])).toEqual(expected);

  await button(page, "Pick").click();
  await click(page, { col: 0, row: 0 });
  await expect(page.getByRole("status")).toHaveText("Brick = 0x3A");
  await expect(button(page, "Brick")).toHaveAttribute("aria-pressed", "true");
  expect(await saveLevel(page)).toEqual(steps[steps.length - 1]);
  await expectUndoSteps(page, steps);
});

test("selected cells are cut, deleted and flipped in place, each one undo step", async () => {
  const page = editor();
  const first = await openDemoLevel(page, 5);
  const area = areaOf({ col: 6, row: 3 }, { col: 1, row: 1 });
  await button(page, "Select").click();
  await drag(page, [
    { col: 6, row: 3 },
    { col: 3, row: 2 },
    { col: 1, row: 1 },
  ]);
  const steps = [first.bytes];
  const expectStep = async (expected: NativeLevel) => {
    steps.push(await saveLevel(page));
    expect(nativeLevel(steps[steps.length - 1]), `step ${steps.length - 1}`).toEqual(expected);
    return expected;
  };
  await button(page, "Flip horizontally").click();
  let expected = await expectStep(withCells(first, flippedCells(first.grid, area, true)));
  await button(page, "Flip vertically").click();
  expected = await expectStep(withCells(expected, flippedCells(expected.grid, area, false)));
  await levelCanvas(page).focus();
  await page.keyboard.press("Control+x");
  expected = await expectStep(
    withCells(expected, coded(rectangleCells({ col: 1, row: 1 }, { col: 6, row: 3 }, true), AIR)),
  );
  // With nothing selected, a flip takes the whole grid; the man and the monsters stay.
  await page.keyboard.press("Escape");
  await button(page, "Flip horizontally").click();
  expected = await expectStep(
    withCells(expected, flippedCells(expected.grid, wholeGrid(expected.grid), true)),
  );
  await drag(page, [
    { col: 20, row: 15 },
    { col: 22, row: 16 },
  ]);
  await page.keyboard.press("Delete");
  await expectStep(
    withCells(
      expected,
      coded(rectangleCells({ col: 20, row: 15 }, { col: 22, row: 16 }, true), AIR),
    ),
  );
  await expectUndoSteps(page, steps);
});

test("cells copied from one level paste into another, moved by keys or a drag, clipped at the edge", async () => {
  const page = editor();
  const from = await openDemoLevel(page, 5);
  const area = areaOf({ col: 1, row: 1 }, { col: 4, row: 3 });
  const clip = copyArea(from.grid, area);
  await button(page, "Select").click();
  await drag(page, [
    { col: 1, row: 1 },
    { col: 4, row: 3 },
  ]);
  await page.keyboard.press("Control+c");
  const to = await openDemoLevel(page, 7);
  const steps = [to.bytes];

  // At the pointer, two cells on by the keys: past the right edge, where cells are left out.
  await pointAt(page, { col: 20, row: 15 });
  await page.keyboard.press("Control+v");
  expect(await saveLevel(page), "floating cells are not yet in the level").toEqual(to.bytes);
  await levelCanvas(page).focus();
  await page.keyboard.press("ArrowRight");
  await page.keyboard.press("ArrowRight");
  await page.keyboard.press("Enter");
  let expected = withCells(to, pastedCells(to.grid, clip, { col: 22, row: 15 }));
  steps.push(await saveLevel(page));
  expect(nativeLevel(steps[1])).toEqual(expected);

  // Dragged by two cells and three rows, put down by a click beside them.
  await pointAt(page, { col: 5, row: 5 });
  await page.keyboard.press("Control+v");
  await drag(page, [
    { col: 6, row: 6 },
    { col: 7, row: 8 },
    { col: 8, row: 9 },
  ]);
  await click(page, { col: 0, row: 17 });
  expected = withCells(expected, pastedCells(to.grid, clip, { col: 7, row: 8 }));
  steps.push(await saveLevel(page));
  expect(nativeLevel(steps[2])).toEqual(expected);

  // Escape drops them.
  await page.keyboard.press("Control+v");
  await page.keyboard.press("Escape");
  expect(await saveLevel(page)).toEqual(steps[2]);
  await expectUndoSteps(page, steps);
});

test("the command palette lists the actions with their keys and runs the one typed", async () => {
  const page = editor();
  const first = await openDemoLevel(page, 5);
  await levelCanvas(page).focus();
  await page.keyboard.press("Control+k");
  const palette = page.getByRole("dialog", { name: "Commands" });
  await expect(palette).toBeVisible();
  const options = palette.getByRole("option");
  await expect(options.filter({ hasText: "Save level" })).toHaveText("Save levelCtrl+S");
  await expect(options.filter({ hasText: "Redo" })).toHaveText("RedoCtrl+Shift+Z, Ctrl+Y");
  await page.keyboard.type("flip vert");
  await expect(options).toHaveText(["Flip vertically"]);
  await page.keyboard.press("Enter");
  await expect(palette).toBeHidden();
  const flipped = withCells(first, flippedCells(first.grid, wholeGrid(first.grid), false));
  expect(nativeLevel(await saveLevel(page))).toEqual(flipped);
  await page.keyboard.press("F1");
  await expect(palette).toBeVisible();
  await page.keyboard.press("Escape");
  await expect(palette).toBeHidden();
  // Ctrl+S saves what is being edited: a level of the tape, so the tape. Ctrl+O asks for files
  // as Open does, through the same input (whose chooser openFiles answers in the other tests).
  // The chooser itself is left out here: twice in full runs on a loaded machine Chromium showed
  // none after the tape's download, though the key reached the input; alone it always does.
  const saved = await download(page, () => page.keyboard.press("Control+s"));
  expect(saved.name).toBe("demo.cas");
  await page.evaluate(() => {
    const open = document.getElementById("open") as HTMLInputElement;
    open.addEventListener(
      "click",
      (e) => {
        e.preventDefault();
        open.dataset.asked = open.multiple ? "several" : "one";
      },
      { once: true },
    );
  });
  await page.keyboard.press("Control+o");
  await expect(page.locator("#open")).toHaveAttribute("data-asked", "several");
});

test("the pointer's cell is told with what the tool would do; Pick refuses a code of no block", async () => {
  const page = editor();
  const level = await openDemoLevel(page, 5);
  // Cell (1, 1) given a code no block has (the level file holds the grid row by row after its
  // 7-byte header).
  const odd = Buffer.from(level.bytes);
  odd[7 + 1 * COLUMNS + 1] = 0x12;
  const file = join(outDir(), "odd.bin");
  writeFileSync(file, odd);
  const oddGrid = nativeLevel(odd).grid;
  expect(oddGrid.codes[1 * COLUMNS + 1]).toBe(0x12);
  await openFiles(page, file);
  await button(page, "Key").click();
  await button(page, "Fill").click();
  await pointAt(page, { col: 2, row: 9 });
  const count = floodCells(oddGrid, { col: 2, row: 9 }).length;
  await expect(page.locator("#hover")).toHaveText(`(2, 9) Air: Fill gives ${count} cells Key`);
  await button(page, "Pick").click();
  await click(page, { col: 1, row: 1 });
  await expect(page.getByRole("status")).toHaveText("No block has the code 0x12");
  await expect(button(page, "Key")).toHaveAttribute("aria-pressed", "true");
  // From the keyboard: Enter picks at the cell cursor, in the corner.
  await levelCanvas(page).focus();
  await page.keyboard.press("Enter");
  await expect(page.getByRole("status")).toHaveText("Brick = 0x3A");
  expect(await saveLevel(page)).toEqual(odd);
});

test("the grid is switched on and off, and the canvas zooms by keys and Ctrl+wheel", async () => {
  const page = editor();
  const canvas = levelCanvas(page);
  const zoom = async () => Number(await canvas.getAttribute("data-zoom"));
  const fitting = await zoom();
  await canvas.focus();
  await page.keyboard.press("g");
  await expect(button(page, "Grid")).toHaveAttribute("aria-pressed", "true");
  await page.keyboard.press("+");
  expect(await zoom()).toBe(fitting + 1);
  // Larger than its box, the canvas scrolls in it.
  const scrolls = await page
    .locator("#canvas-box")
    .evaluate((box) => box.scrollHeight > box.clientHeight);
  expect(scrolls).toBe(true);
  await page.keyboard.press("-");
  await page.keyboard.press("-");
  const smaller = Math.max(fitting - 1, 1);
  expect(await zoom()).toBe(smaller);
  const p = await cellPoint(page, 5, 5);
  await page.mouse.move(p.x, p.y);
  await page.keyboard.down("Control");
  await page.mouse.wheel(0, -100);
  await page.keyboard.up("Control");
  expect(await zoom()).toBe(smaller + 1);
  await page.keyboard.press("0");
  expect(await zoom()).toBe(fitting);
  await button(page, "Grid").click();
  await expect(button(page, "Grid")).toHaveAttribute("aria-pressed", "false");
});
