// The level options and monster options forms: what they show is what Save level saves, read back
// by `tomkrin info`.
import { writeFileSync } from "node:fs";
import { join } from "node:path";
import {
  button,
  demoTitles,
  expect,
  fixture,
  native,
  outDir,
  openFiles,
  openPanel,
  saveLevel,
  sharedEditor,
  test,
} from "./support";

const editor = sharedEditor();

test("the option fields go into the level as typed, one step a field, and a text that is no hexadecimal number is refused beside its field", async () => {
  const page = editor();
  await openFiles(page, fixture(outDir(), "demo.cas"));
  await button(page, `Level 7: ${demoTitles()[7]}`).click();
  const info = (name: string, level: Buffer) => {
    const file = join(outDir(), name);
    writeFileSync(file, level);
    return native("tomkrin", ["info", file]).stdout.split("\n").slice(1);
  };
  const original = await saveLevel(page);
  const before = info("before.bin", original);

  await openPanel(page, "Level options");
  const title = page.getByLabel("Title (max. 24 chars, use UPPERcase):");
  await title.click();
  await page.keyboard.press("Control+a");
  await page.keyboard.type("ice cave");
  await expect(title).toHaveValue("ICE CAVE");
  await page.getByLabel("Man starting position y (hex.)").fill("7f");
  const manX = page.getByLabel("Man starting position x (hex.)");
  await manX.fill("ZZ");
  await openPanel(page, "Monster options");
  const startY = page.getByLabel("Start y");
  await startY.fill("GGGG");
  // A field taken in one form leaves the text refused in the other one marked.
  await page.getByLabel("End y").fill("20");
  for (const refused of [manX, startY]) {
    await expect(refused).toHaveAttribute("aria-invalid", "true");
    await expect(refused).toHaveAccessibleDescription(/hexadecimal/);
  }
  await openPanel(page, "Level options");
  await button(page, "Save options").click();
  await expect(page.getByRole("status")).not.toHaveText("Level options saved.");

  // Saved without the panels' Save: the title, the man's y and the monster's end, the refused
  // fields as they were.
  const after = info("after.bin", await saveLevel(page));
  expect(after.filter((line, i) => line !== before[i])).toEqual([
    'title     "ICE CAVE"',
    "man       start (0x20, 0x7F) in monster coordinates",
    (before[3] ?? "").replace("to (0xB0, 0x18)", "to (0xB0, 0x20)"),
  ]);

  await manX.fill("30");
  await expect(manX).not.toHaveAttribute("aria-invalid", "true");
  await expect(manX).toHaveAccessibleDescription("");
  for (let step = 0; step < 4; step++) await button(page, "Undo").click();
  expect(await saveLevel(page)).toEqual(original);
  await expect(startY).not.toHaveAttribute("aria-invalid", "true");
});
