// The unit tests of the page's own logic (history, storage), in node; the browser tests are
// Playwright's (playwright.config.ts).
import { defineConfig } from "vitest/config";

export default defineConfig({
  test: {
    include: ["tests/unit/**/*.test.ts"],
    environment: "node",
  },
});
