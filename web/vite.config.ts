// The page's build. `vite build` writes the static site into build/web/site/, an app to install
// and use with no network (installable.ts); `vite build --mode single` writes
// build/web/tomkrin-web.html, the same page as one file with the scripts, the WebAssembly module
// and the decoder's worker inlined, which works opened from the disk.
// The module comes from the web tree (scripts/build.sh, tk_build_web) through the alias
// "tomkrin-wasm"; TK_WASM_DIR points elsewhere.
import { resolve } from "node:path";
import { defineConfig, type Plugin } from "vite";
import { viteSingleFile } from "vite-plugin-singlefile";
import { installable } from "./installable";

const here = import.meta.dirname;
const buildDir = resolve(here, "../build/web");
const wasmDir = process.env.TK_WASM_DIR ?? resolve(buildDir, "wasm");

// The single file is named for what it is, beside the site rather than in it.
function singleFileName(): Plugin {
  return {
    name: "tomkrin-single-file-name",
    enforce: "post",
    generateBundle(_options, bundle) {
      const page = bundle["index.html"];
      if (page?.type !== "asset") return;
      delete bundle["index.html"];
      this.emitFile({ type: "asset", fileName: "tomkrin-web.html", source: page.source });
    },
  };
}

export default defineConfig(({ mode }) => {
  const single = mode === "single";
  return {
    root: here,
    base: "./",
    resolve: { alias: { "tomkrin-wasm": wasmDir } },
    // A classic worker: Chromium starts no module worker from a blob in a page opened from the disk.
    worker: { format: "iife" },
    plugins: single
      ? [viteSingleFile({ removeViteModuleLoader: true }), singleFileName()]
      : [installable()],
    build: {
      outDir: single ? buildDir : resolve(buildDir, "site"),
      emptyOutDir: !single,
      target: "es2022",
      reportCompressedSize: false,
      ...(single ? { assetsInlineLimit: Number.MAX_SAFE_INTEGER } : {}),
    },
  };
});
