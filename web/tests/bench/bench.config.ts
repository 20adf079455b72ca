// The browser edition's benchmark (scripts/bench-web.sh): the browser tests' setup, its own folder.
import { defineConfig } from "@playwright/test";
import tests from "../../playwright.config";

export default defineConfig({
  ...tests,
  testDir: ".",
  testMatch: "*.bench.ts",
  globalSetup: "../browser/global-setup.ts",
  timeout: 900_000,
  reporter: [["line"]],
});
