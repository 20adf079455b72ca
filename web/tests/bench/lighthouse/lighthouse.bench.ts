// Lighthouse on the served site (build/web/site, served as the browser tests serve it): the
// performance and accessibility scores and the cumulative layout shift of a first load in Debian's
// chromium, headless, for docs/performance.md. Not part of the test command: scripts/bench-web.sh
// runs it, or by hand, after installing Lighthouse into this folder (its own package, so that the
// page's npm ci does not install it):
//   cd web && npm ci --prefix tests/bench/lighthouse &&
//     npx playwright test --config tests/bench/bench.config.ts lighthouse
import * as chromeLauncher from "chrome-launcher";
import lighthouse from "lighthouse";
import { siteUrl, test } from "../../browser/support";

test("lighthouse", async () => {
  const chrome = await chromeLauncher.launch({
    chromePath: process.env.TK_CHROMIUM ?? "/usr/bin/chromium",
    chromeFlags: ["--headless=new", "--no-sandbox", "--disable-gpu"],
  });
  try {
    const result = await lighthouse(siteUrl(), {
      port: chrome.port,
      output: "json",
      onlyCategories: ["performance", "accessibility"],
      logLevel: "error",
    });
    if (!result) throw new Error("lighthouse gave no result");
    const { categories, audits } = result.lhr;
    const score = (id: string) => Math.round((categories[id]?.score ?? 0) * 100);
    console.log(
      `lighthouse ${result.lhr.lighthouseVersion}, ${result.lhr.environment.hostUserAgent}`,
    );
    console.log(`performance ${score("performance")}, accessibility ${score("accessibility")}`);
    console.log(
      `cumulative layout shift ${audits["cumulative-layout-shift"]?.displayValue ?? "?"}`,
    );
    for (const id of ["first-contentful-paint", "largest-contentful-paint", "total-blocking-time"])
      console.log(`${id} ${audits[id]?.displayValue ?? "?"}`);
  } finally {
    chrome.kill();
  }
});
