// The game's tape as the document: levels opened from its sheet edited in place, against
// `tomkrin extract` and `tomkrin insert`; Move level, Revert level, undo and redo across the tape,
// and the question before its unsaved changes are replaced.
import { readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import type { Page } from "@playwright/test";
import {
  button,
  demoTitles,
  download,
  editorReady,
  expect,
  fixture,
  native,
  openDemoTape,
  openFiles,
  outDir,
  Painter,
  saveLevel,
  sharedEditor,
  test,
} from "./support";

const editor = sharedEditor();

function sheetLevel(page: Page, n: number, title: string) {
  return button(page, `Level ${n}: ${title}`);
}

async function saveTape(page: Page): Promise<Buffer> {
  return (await download(page, () => button(page, "Save tape").click())).bytes;
}

// The level saved into the test's folder as `name`; its path.
async function keepLevel(page: Page, name: string): Promise<string> {
  const file = join(outDir(), name);
  writeFileSync(file, await saveLevel(page));
  return file;
}

test("two levels of the tape edited go into it at once: one Save tape (Ctrl+S) gives `tomkrin insert` run twice, and undo and redo cross both", async () => {
  const page = editor();
  const tape = await openDemoTape(page);
  const titles = demoTitles();
  const three = sheetLevel(page, 3, titles[3] ?? "");
  const eight = sheetLevel(page, 8, titles[8] ?? "");
  const painter = new Painter(page);
  await three.click();
  await painter.select("Key");
  await painter.click(3, 3);
  await expect(three).toHaveAttribute("aria-current", "true");
  await expect(three).toHaveAccessibleDescription("open, changed");
  const level3 = await keepLevel(page, "level3.bin");

  await eight.click();
  await expect(three).not.toHaveAttribute("aria-current");
  await expect(three).toHaveAccessibleDescription("changed");
  await painter.click(5, 6);
  const level8 = await keepLevel(page, "level8.bin");

  const once = join(outDir(), "once.cas");
  const twice = join(outDir(), "twice.cas");
  native("tomkrin", ["insert", level3, tape, "3", "-o", once]);
  native("tomkrin", ["insert", level8, once, "8", "-o", twice]);
  await page.getByLabel("Level", { exact: true }).focus();
  const saved = await download(page, () => page.keyboard.press("Control+s"));
  expect(saved.name).toBe("demo.cas");
  expect(saved.bytes).toEqual(readFileSync(twice));
  await expect(three).toHaveAccessibleDescription("");

  // Back past both edits (and the opening of level 8 between them), then forward again.
  for (let i = 0; i < 3; i++) await button(page, "Undo").click();
  await expect(three).toHaveAttribute("aria-current", "true");
  expect(await saveTape(page)).toEqual(readFileSync(tape));
  for (let i = 0; i < 3; i++) await button(page, "Redo").click();
  await expect(eight).toHaveAttribute("aria-current", "true");
  await expect(three).toHaveAccessibleDescription("changed");
  expect(await saveTape(page)).toEqual(readFileSync(twice));
});

test("Move level swaps the open level with its neighbour as `tomkrin insert` would, a dragged picture too; Revert level brings a level back", async () => {
  const page = editor();
  const tape = await openDemoTape(page);
  const titles = demoTitles();
  const [first = "", second = ""] = titles;
  await sheetLevel(page, 0, first).click();
  await expect(button(page, "Move level left")).toBeDisabled();
  await button(page, "Move level right").click();
  await expect(sheetLevel(page, 1, first)).toHaveAttribute("aria-current", "true");
  await expect(sheetLevel(page, 0, second)).toHaveAccessibleDescription("changed");
  await expect(page.getByLabel("Level slot")).toHaveValue("1");

  const extracted = (n: number) => {
    const file = join(outDir(), `extracted${n}.bin`);
    native("tomkrin", ["extract", tape, String(n), "-o", file]);
    return file;
  };
  const half = join(outDir(), "half.cas");
  const swapped = join(outDir(), "swapped.cas");
  native("tomkrin", ["insert", extracted(1), tape, "0", "-o", half]);
  native("tomkrin", ["insert", extracted(0), half, "1", "-o", swapped]);
  expect(await saveTape(page)).toEqual(readFileSync(swapped));

  // Dragged back onto its old place, the open level goes with it.
  await sheetLevel(page, 1, first).dragTo(sheetLevel(page, 0, second));
  await expect(sheetLevel(page, 0, first)).toHaveAttribute("aria-current", "true");
  expect(await saveTape(page)).toEqual(readFileSync(tape));

  const five = sheetLevel(page, 5, titles[5] ?? "");
  await five.click();
  await expect(button(page, "Revert level")).toBeDisabled();
  const painter = new Painter(page);
  await painter.select("Key");
  await painter.click(2, 2);
  await button(page, "Revert level").click();
  await expect(five).toHaveAccessibleDescription("open");
  await expect(button(page, "Revert level")).toBeDisabled();
  expect(await saveLevel(page)).toEqual(readFileSync(extracted(5)));
  await button(page, "Undo").click();
  await expect(five).toHaveAccessibleDescription("open, changed");
  await button(page, "Redo").click();
  await expect(five).toHaveAccessibleDescription("open");
});

test("another tape over unsaved changes asks first, after a reload too: Cancel keeps them, Discard changes opens it", async () => {
  const page = editor();
  const tape = await openDemoTape(page);
  const title = demoTitles()[2] ?? "";
  await sheetLevel(page, 2, title).click();
  const painter = new Painter(page);
  await painter.select("Key");
  await painter.click(4, 4);
  // Kept over a reload: the level is still the tape's, and its change still unsaved.
  page.once("dialog", (d) => void d.accept());
  await page.reload();
  await editorReady(page);
  await expect(sheetLevel(page, 2, title)).toHaveAccessibleDescription("open, changed");

  const other = fixture(outDir(), "demo.cas", "other.cas");
  const dialog = page.getByRole("dialog");
  await openFiles(page, other);
  await expect(dialog).toBeVisible();
  await button(page, "Cancel").click();
  await expect(dialog).toBeHidden();
  await expect(page.getByText("demo.cas (", { exact: false })).toBeVisible();
  await expect(sheetLevel(page, 2, title)).toHaveAccessibleDescription("open, changed");

  await openFiles(page, other);
  await button(page, "Discard changes").click();
  await expect(page.getByText("other.cas (", { exact: false })).toBeVisible();
  await expect(sheetLevel(page, 2, title)).toHaveAccessibleDescription("");
  expect(await saveTape(page)).toEqual(readFileSync(tape));
});
