// Serves build/web/site for the whole run and makes the native tools' inputs once: the
// demonstration tape. The tests find both through the environment.
import { execFileSync } from "node:child_process";
import { existsSync, mkdirSync } from "node:fs";
import { join } from "node:path";
import { serve } from "./server";
import { fixtures, nativeBin, siteDir } from "./paths";

export default async function globalSetup(): Promise<() => Promise<void>> {
  for (const tool of ["tomkrin", "cas2wav", "wav2cas", "mkdemotape", "replayedits"]) {
    if (!existsSync(join(nativeBin, tool)))
      throw new Error(
        `no ${tool} in ${nativeBin}: build the release tree first (scripts/test-web.sh)`,
      );
  }
  if (!existsSync(join(siteDir, "index.html")))
    throw new Error(`no site in ${siteDir}: build the web edition first (scripts/test-web.sh)`);
  mkdirSync(fixtures, { recursive: true });
  execFileSync(join(nativeBin, "mkdemotape"), [join(fixtures, "demo.cas")]);
  const served = await serve(siteDir);
  process.env.TK_SITE_URL = served.url;
  return served.close;
}
