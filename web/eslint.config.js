// The page's lint: ESLint's and typescript-eslint's recommended rules, with the types.
import js from "@eslint/js";
import globals from "globals";
import tseslint from "typescript-eslint";

export default tseslint.config(
  { ignores: ["node_modules/", "test-results/", "playwright-report/"] },
  js.configs.recommended,
  ...tseslint.configs.recommendedTypeChecked,
  {
    languageOptions: {
      globals: { ...globals.browser, ...globals.worker },
      parserOptions: { projectService: true, tsconfigRootDir: import.meta.dirname },
    },
  },
  {
    files: ["tests/**", "*.config.ts", "*.config.js"],
    languageOptions: { globals: globals.node },
  },
  {
    // The Lighthouse benchmark imports packages installed only when it runs, into its own folder
    // (tests/bench/lighthouse/package.json): here it is linted without the types.
    files: ["tests/bench/lighthouse/**"],
    ...tseslint.configs.disableTypeChecked,
  },
  {
    files: ["*.js"],
    ...tseslint.configs.disableTypeChecked,
  },
);
