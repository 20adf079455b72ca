// The one-file edition opened straight from the disk: it paints, saves, and decodes a recording
// in its worker.
import { spawnSync } from "node:child_process";
import { readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { pathToFileURL } from "node:url";
import { singleFile, fixtures } from "./paths";
import {
  button,
  download,
  expect,
  native,
  outDir,
  openEditor,
  openFiles,
  Painter,
  saveLevel,
  test,
} from "./support";

test("tomkrin-web.html from file:// paints, saves and decodes in its worker", async ({
  browser,
}) => {
  const page = await openEditor(browser, pathToFileURL(singleFile).href);
  await button(page, "New").click();
  const p = new Painter(page);
  await p.select("Moon1");
  await p.click(6, 6);
  await p.rightClick(18, 15);
  await p.drag(
    ["left", "right"],
    [
      [2, 3],
      [7, 9],
      [20, 4],
    ],
  );
  expect(await saveLevel(page)).toEqual(p.replayed(outDir()));

  const tape = join(outDir(), "loader.cas");
  writeFileSync(tape, readFileSync(join(fixtures, "demo.cas")).subarray(0, 152));
  const made = join(outDir(), "made.wav");
  native("cas2wav", [tape, made]);
  const wav = join(outDir(), "loader.wav");
  expect(spawnSync("sox", [made, "-r", "48000", "-b", "16", wav]).status).toBe(0);
  const decoded = join(outDir(), "decoded.cas");
  const report = native("wav2cas", [wav, decoded]).stdout.trim().split("\n");
  await openFiles(page, wav);
  await expect(page.getByLabel("Decoder report")).toContainText(report[report.length - 1] ?? "", {
    timeout: 30_000,
  });
  const saved = await download(page, () => button(page, "Save tape").click());
  expect(saved.bytes).toEqual(readFileSync(decoded));
  await page.context().close();
});
