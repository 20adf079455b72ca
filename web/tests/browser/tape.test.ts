// The demonstration tape in the page: its sheet's levels against `tomkrin extract` and
// `tomkrin render`, and insertions against `tomkrin insert`.
import { readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import {
  alerts,
  button,
  demoTitles,
  download,
  expect,
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

test("a level opened from the tape's sheet saves as `tomkrin extract` writes it, and draws as `tomkrin render`", async () => {
  const page = editor();
  const tape = await openDemoTape(page);
  const titles = demoTitles();
  for (const n of [5, 19, 0]) {
    await button(page, `Level ${n}: ${titles[n]}`).click();
    const extracted = join(outDir(), `level${n}.bin`);
    native("tomkrin", ["extract", tape, String(n), "-o", extracted]);
    expect(await saveLevel(page), `level ${n}`).toEqual(readFileSync(extracted));
    const png = join(outDir(), `level${n}.png`);
    native("tomkrin", ["render", `${tape}:${n}`, "-o", png]);
    const picture = await download(page, () => button(page, "Save picture").click());
    expect(picture.bytes, `picture of level ${n}`).toEqual(readFileSync(png));
  }
  const sheet = join(outDir(), "sheet.png");
  native("tomkrin", ["render", tape, "-o", sheet]);
  const saved = await download(page, () => button(page, "Save sheet picture").click());
  expect(saved.bytes).toEqual(readFileSync(sheet));
});

test("the level inserted into a slot and into a typed address gives `tomkrin insert`'s tape", async () => {
  const page = editor();
  const tape = await openDemoTape(page);
  const titles = demoTitles();
  await button(page, `Level 12: ${titles[12]}`).click();
  const level = join(outDir(), "level.bin");
  writeFileSync(level, await saveLevel(page));

  // What `tomkrin insert` refuses, the page refuses in its words: "007" is no level number, "0x"
  // no offset.
  const rule = (...place: string[]) => {
    const output = join(outDir(), "refused.cas");
    const run = native("tomkrin", ["insert", level, tape, ...place, "-o", output], true);
    expect(run.status, place.join(" ")).toBe(2);
    return run.stderr.match(/^tomkrin: insert: (.*) \(usage:/)?.[1] ?? run.stderr;
  };
  await page.getByLabel("Level slot").fill("007");
  await button(page, "Insert into tape").click();
  await expect(alerts(page)).toHaveText(`demo.cas: ${rule("007")}`);
  await page.getByRole("radio", { name: "Typed address" }).check();
  await page.getByLabel("Address (hex. byte offset in the tape)").fill("0x");
  await button(page, "Insert into tape").click();
  await expect(alerts(page)).toHaveText(`demo.cas: ${rule("--address", "0x")}`);
  await page.getByRole("radio", { name: "Standard level" }).check();

  await page.getByLabel("Level slot").fill("3");
  await button(page, "Insert into tape").click();
  const inserted = join(outDir(), "slot3.cas");
  native("tomkrin", ["insert", level, tape, "3", "-o", inserted]);
  const intoSlot = await download(page, () => button(page, "Save tape").click());
  expect(intoSlot.bytes).toEqual(readFileSync(inserted));
  expect(intoSlot.bytes).not.toEqual(readFileSync(tape));

  await openFiles(page, tape);
  await page.getByRole("radio", { name: "Typed address" }).check();
  await page.getByLabel("Address (hex. byte offset in the tape)").fill("9C40");
  await button(page, "Insert into tape").click();
  const atAddress = join(outDir(), "address.cas");
  native("tomkrin", ["insert", level, tape, "--address", "9C40", "-o", atAddress]);
  const saved = await download(page, () => button(page, "Save tape").click());
  expect(saved.bytes).toEqual(readFileSync(atAddress));

  // Put at an address inside the open level (10 bytes into level 3), the open level is what the
  // tape then holds there, as `tomkrin extract` reads it.
  await button(page, `Level 3: ${titles[3]}`).click();
  const level3 = join(outDir(), "level3.bin");
  writeFileSync(level3, await saveLevel(page));
  await page.getByRole("radio", { name: "Typed address" }).check();
  await page.getByLabel("Address (hex. byte offset in the tape)").fill("614A");
  await button(page, "Insert into tape").click();
  const over = join(outDir(), "over.cas");
  const overLevel = join(outDir(), "over3.bin");
  native("tomkrin", ["insert", level3, atAddress, "--address", "614A", "-o", over]);
  native("tomkrin", ["extract", over, "3", "-o", overLevel]);
  expect(await saveLevel(page)).toEqual(readFileSync(overLevel));
  await button(page, "Undo").click();
  expect(await saveLevel(page)).toEqual(readFileSync(level3));
});

test("Insert puts the level into the slot typed, which it then is: the slot field follows the open level, and Undo takes the insertion back", async () => {
  const page = editor();
  const tape = await openDemoTape(page);
  const titles = demoTitles();
  const slot = page.getByLabel("Level slot");
  await slot.fill("0");
  await button(page, `Level 7: ${titles[7]}`).click();
  await expect(slot).toHaveValue("7");
  const painter = new Painter(page);
  await painter.select("Key");
  await painter.click(3, 3);
  const level = join(outDir(), "level.bin");
  writeFileSync(level, await saveLevel(page));

  await slot.fill("2");
  await button(page, "Insert into tape").click();
  await expect(page.getByRole("group", { name: "Insert the level" })).toContainText(
    `Replaced level slot 2 ("${titles[2]}") of demo.cas.`,
  );
  await expect(button(page, `Level 2: ${titles[7]}`)).toHaveAttribute("aria-current", "true");
  const edited = join(outDir(), "slot7.cas");
  const inserted = join(outDir(), "slot2.cas");
  native("tomkrin", ["insert", level, tape, "7", "-o", edited]);
  native("tomkrin", ["insert", level, edited, "2", "-o", inserted]);
  const sheetPng = async (cas: string) => {
    const png = join(outDir(), "sheet.png");
    native("tomkrin", ["render", cas, "-o", png]);
    const shown = await download(page, () => button(page, "Save sheet picture").click());
    expect(shown.bytes, `the sheet of ${cas}`).toEqual(readFileSync(png));
  };
  await sheetPng(inserted);

  // Changed now, the level goes into slot 2, the level it is, and no longer into slot 7.
  await page.getByLabel("Level", { exact: true }).scrollIntoViewIfNeeded();
  await painter.click(5, 5);
  const again = join(outDir(), "again.bin");
  writeFileSync(again, await saveLevel(page));
  const twice = join(outDir(), "twice.cas");
  native("tomkrin", ["insert", again, edited, "2", "-o", twice]);
  const saved = await download(page, () => button(page, "Save tape").click());
  expect(saved.bytes).toEqual(readFileSync(twice));

  // Undone, the tape and its sheet are as before the insertion, and level 7 is the open one.
  await button(page, "Undo").click();
  await button(page, "Undo").click();
  await expect(slot).toHaveValue("7");
  const undone = await download(page, () => button(page, "Save tape").click());
  expect(undone.bytes).toEqual(readFileSync(edited));
  await sheetPng(edited);
  expect(await saveLevel(page)).toEqual(readFileSync(level));

  // A level opened from a file leaves the slot as the user set it.
  await slot.fill("4");
  await openFiles(page, level);
  await expect(slot).toHaveValue("4");
});
