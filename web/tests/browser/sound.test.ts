// Recordings made in the page against `cas2wav` and played, and recordings decoded in the page's
// worker against `wav2cas`: one, and two damaged takes of one tape.
import { spawnSync } from "node:child_process";
import { readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import {
  button,
  download,
  expect,
  fixture,
  native,
  openDemoTape,
  openFiles,
  openPanel,
  outDir,
  sharedEditor,
  test,
} from "./support";

const editor = sharedEditor();

test("Make recording gives `cas2wav`'s recording at 1200 and 2400 baud, and inverted", async () => {
  const page = editor();
  const tape = await openDemoTape(page);
  await openPanel(page, "Sound");
  // The demonstration tape opens with a BASIC program.
  await expect(page.getByText(/CLOAD/).first()).toBeVisible();
  const double = page.getByLabel("Double baud rate");
  const inverted = page.getByLabel("Inverted");
  for (const [twice, invert, flags] of [
    [false, false, []],
    [true, false, ["-2"]],
    [false, true, ["-i"]],
  ] as [boolean, boolean, string[]][]) {
    await double.setChecked(twice);
    await inverted.setChecked(invert);
    await button(page, "Make recording").click();
    const wav = join(outDir(), `demo${flags.join("")}.wav`);
    native("cas2wav", [tape, wav, ...flags]);
    const saved = await download(page, () => button(page, "Save recording").click());
    expect(saved.bytes.equals(readFileSync(wav)), `the recording with ${flags.join(" ")}`).toBe(
      true,
    );
  }
});

test("Play waits for the recording being made, then plays it", async () => {
  const page = editor();
  await openFiles(page, fixture(outDir(), "demo.cas"));
  await openPanel(page, "Sound");
  const panel = page.locator("#sound-panel");
  const play = button(page, "Play");
  await button(page, "Make recording").click();
  await expect(panel.getByText("Making the recording…")).toBeVisible();
  await expect(panel).toHaveAttribute("aria-busy", "true");
  await expect(play).toBeDisabled();
  // A press the moment Play is enabled plays.
  await play.click();
  await expect(page.getByText(/^Now sounding: /)).toBeVisible();
  await expect(panel).toHaveAttribute("aria-busy", "false");
  await expect(panel.getByText("Making the recording…")).toBeHidden();
  await button(page, "Stop").click();
});

test("a recording resampled by sox decodes in the worker to `wav2cas`'s tape and report", async () => {
  const page = editor();
  const tape = fixture(outDir(), "demo.cas");
  const made = join(outDir(), "made.wav");
  native("cas2wav", [tape, made, "-2"]);
  const wav = join(outDir(), "recorded.wav");
  const sox = spawnSync("sox", [made, "-r", "44100", "-b", "16", wav], { encoding: "utf8" });
  expect(sox.status, sox.stderr).toBe(0);
  const decoded = join(outDir(), "decoded.cas");
  const report = native("wav2cas", [wav, decoded]).stdout.trim().split("\n");

  await openFiles(page, wav);
  const shown = page.getByLabel("Decoder report");
  await expect(shown).toContainText(report[report.length - 1] ?? "", { timeout: 30_000 });
  expect((await shown.innerText()).trim().split("\n")).toEqual(report);
  // The picture of the recording shows under the report.
  await expect(page.getByRole("img", { name: /^The recording: / })).toBeVisible();
  const saved = await download(page, () => button(page, "Save tape").click());
  expect(saved.bytes).toEqual(readFileSync(decoded));
  // The decoded tape opens as any tape: here the demonstration tape again, with its sheet.
  await expect(page.getByRole("button", { name: /^Level 19: / })).toBeVisible();
});

test("two takes opened together, each with a dropout, decode to `wav2cas`'s clean tape and report", async () => {
  const page = editor();
  const dir = outDir();
  const made = join(dir, "made.wav");
  native("cas2wav", [fixture(dir, "demo.cas"), made, "-2"]);
  // Each take loses 30 ms of sound (silence: cas2wav's 8-bit level 128) where the other is whole.
  const takes = [0.4, 0.7].map((at, i) => {
    const wav = readFileSync(made);
    const from = 44 + Math.floor((wav.length - 44) * at);
    wav.fill(128, from, from + 1296);
    const path = join(dir, `take${i + 1}.wav`);
    writeFileSync(path, wav);
    return path;
  });
  expect(native("wav2cas", [takes[0] ?? "", join(dir, "alone.cas")], true).status).not.toBe(0);
  const report = native("wav2cas", ["take1.wav", "take2.wav", "takes.cas"], false, dir)
    .stdout.trim()
    .split("\n");
  expect(report[report.length - 1]).toMatch(/, clean$/);

  await openFiles(page, ...takes);
  // The report before, of one recording of this tape, ends in the same line: all of it is awaited.
  const shown = page.getByLabel("Decoder report");
  await expect
    .poll(async () => (await shown.innerText()).trim().split("\n"), { timeout: 30_000 })
    .toEqual(report);
  const saved = await download(page, () => button(page, "Save tape").click());
  expect(saved.bytes).toEqual(readFileSync(join(dir, "takes.cas")));
});
