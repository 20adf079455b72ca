// A level shared as its picture or as a link: Save picture opened again by the page and taken by
// `tomkrin insert`; Copy link's link opened in a page of its own; a broken link, and a link over
// unsaved changes.
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
  openEditor,
  openFiles,
  outDir,
  Painter,
  saveLevel,
  sharedEditor,
  test,
} from "./support";

const editor = sharedEditor();

test("Save picture opens again as its level, and `tomkrin insert` takes it as the level file", async () => {
  const page = editor();
  const dir = outDir();
  const tape = await openDemoTape(page, dir);
  await button(page, `Level 5: ${demoTitles()[5]}`).click();
  const level = await saveLevel(page);
  writeFileSync(join(dir, "level5.bin"), level);
  const picture = await download(page, () => button(page, "Save picture").click());
  const png = join(dir, picture.name);
  writeFileSync(png, picture.bytes);

  native("tomkrin", ["insert", png, tape, "3", "-o", join(dir, "from-picture.cas")]);
  native("tomkrin", [
    "insert",
    join(dir, "level5.bin"),
    tape,
    "3",
    "-o",
    join(dir, "from-file.cas"),
  ]);
  expect(readFileSync(join(dir, "from-picture.cas"))).toEqual(
    readFileSync(join(dir, "from-file.cas")),
  );

  await button(page, "New").click();
  await openFiles(page, png);
  await expect(alerts(page)).toHaveCount(0);
  const saved = await download(page, () => button(page, "Save level").click());
  expect(saved.bytes).toEqual(level);
  expect(saved.name).toMatch(/\.bin$/);
});

test("Copy link's link opened in a page of its own gives the same level", async ({ browser }) => {
  const page = editor();
  await page.context().grantPermissions(["clipboard-read", "clipboard-write"]);
  await button(page, `Level 17: ${demoTitles()[17]}`).click();
  const level = await saveLevel(page);
  await button(page, "Copy link").click();
  await expect(page.getByRole("status")).toContainText("Link copied");
  const link = await page.evaluate(() => navigator.clipboard.readText());
  expect(link).toContain("#level=");
  expect(link.length).toBeLessThanOrEqual(1000);

  const other = await openEditor(browser, link);
  expect(await saveLevel(other)).toEqual(level);
  // The fragment is taken off, so that a reload keeps what is edited since.
  expect(new URL(other.url()).hash).toBe("");
  await other.context().close();
});

test("a broken link gives one alert and changes nothing; a link over unsaved changes asks first", async () => {
  const page = editor();
  await button(page, `Level 2: ${demoTitles()[2]}`).click();
  const level2 = await saveLevel(page);
  await button(page, "Copy link").click();
  const hash = new URL(await page.evaluate(() => navigator.clipboard.readText())).hash;
  await button(page, `Level 9: ${demoTitles()[9]}`).click();
  const p = new Painter(page);
  await p.select("Key");
  await p.click(4, 4);
  const edited = await saveLevel(page);
  const goTo = (fragment: string) =>
    page.evaluate((f) => {
      window.location.hash = f;
    }, fragment);

  await goTo(hash.slice(0, hash.length - 12));
  await expect(alerts(page)).toHaveCount(1);
  await expect(alerts(page)).toContainText("the link: its level is damaged");
  expect(await saveLevel(page)).toEqual(edited);

  const questions: string[] = [];
  await p.click(5, 4); // unsaved changes
  page.once("dialog", (d) => {
    questions.push(d.type());
    void d.dismiss();
  });
  await goTo(hash);
  await expect.poll(() => questions).toEqual(["confirm"]);
  expect(await saveLevel(page)).not.toEqual(level2);
  await p.click(6, 4);
  page.once("dialog", (d) => void d.accept());
  await goTo(hash);
  await expect(alerts(page)).toHaveCount(0);
  expect(await saveLevel(page)).toEqual(level2);
});
