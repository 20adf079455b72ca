// The browser tests: Debian's chromium, headless, one worker and one browser for the whole run;
// each file opens its page once (tests/browser/support.ts). scripts/test-web.sh builds the site
// and the native tools first.
import { defineConfig } from "@playwright/test";

const root = process.env.TK_ROOT ?? `${process.cwd()}/..`;

export default defineConfig({
  testDir: "tests/browser",
  testMatch: "*.test.ts",
  outputDir: `${root}/build/web-tests/results`,
  globalSetup: "./tests/browser/global-setup.ts",
  workers: 1,
  fullyParallel: false,
  forbidOnly: true,
  retries: 0,
  timeout: 60_000,
  expect: { timeout: 10_000 },
  reporter: [["list"]],
  use: {
    headless: true,
    viewport: { width: 1024, height: 768 },
    acceptDownloads: true,
    launchOptions: {
      executablePath: process.env.TK_CHROMIUM ?? "/usr/bin/chromium",
      args: [
        ...(process.getuid?.() === 0 ? ["--no-sandbox"] : []),
        "--disable-gpu",
        "--disable-quic",
        "--no-first-run",
        "--disable-background-networking",
        "--disable-component-update",
        "--disable-sync",
      ],
    },
  },
});
