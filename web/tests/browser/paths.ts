// Where the tests find the project, the built page and the native tools.
import { resolve } from "node:path";

export const root = process.env.TK_ROOT ?? resolve(process.cwd(), "..");
export const siteDir = process.env.TK_SITE_DIR ?? resolve(root, "build/web/site");
export const singleFile = process.env.TK_SINGLE_FILE ?? resolve(root, "build/web/tomkrin-web.html");
// The native tools the page is held to: the release tree (no sanitizers, so quick).
export const nativeBin = process.env.TK_NATIVE_BIN ?? resolve(root, "build/release");
// Inputs made once per run (global-setup.ts).
export const fixtures = resolve(root, "build/web-tests/fixtures");
