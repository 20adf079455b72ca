// The page's picture for the README (docs/screenshot-web.png): a 1024 x 768 window with a level of
// the demonstration tape opened from the tape's sheet, a block chosen and a cell clicked.
import { join } from "node:path";
import { fixtures, root } from "../browser/paths";
import { button, demoTitles, openEditor, openFiles, Painter, test } from "../browser/support";

test("screenshot", async ({ browser }) => {
  const page = await openEditor(browser);
  await openFiles(page, join(fixtures, "demo.cas"));
  await button(page, `Level 3: ${demoTitles()[3]}`).click();
  const painter = new Painter(page);
  await painter.select("Key");
  await painter.click(12, 9);
  await page.mouse.move(0, 0);
  await page.evaluate(() => window.scrollTo(0, 0));
  await page.screenshot({
    path: process.env.TK_SCREENSHOT ?? join(root, "docs/screenshot-web.png"),
  });
  await page.context().close();
});
