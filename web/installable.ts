// The served site as an app a browser installs and runs with no network: the web app manifest
// (names, icons, the files the app opens, one window reused for them), its icons from the
// editor's own, the link to it in the page, and the service worker (src/serviceworker.ts) with the
// list of every file of the build and the build's version in front of it. Only the served site
// has them: the single file, opened from the disk, can have no service worker.
import { createHash } from "node:crypto";
import { readdirSync, readFileSync, writeFileSync } from "node:fs";
import { join, relative, resolve, sep } from "node:path";
import { transformWithEsbuild, type Plugin } from "vite";
import { enlarge, icoPicture, pngFile } from "./appicon";

const here = import.meta.dirname;
const ICON = resolve(here, "../res/tomkrin.ico");
const WORKER_SOURCE = resolve(here, "src/serviceworker.ts");
export const WORKER_FILE = "sw.js";
const THEME = "#ece9e2"; // the toolbar's colour (src/style.css), for the window's title bar
const ICON_SIZES = [192, 512];

// Every file the editor opens (Files.openFiles tells them apart by their bytes), grouped as the
// system's "Open with" lists them.
const FILE_KINDS = [
  { name: "Tomkrin level", type: "application/x-tomkrin-level", extensions: [".bin"] },
  { name: "MSX tape image", type: "application/x-msx-cassette", extensions: [".cas"] },
  { name: "Tiled map", type: "application/x-tiled-map", extensions: [".tmx", ".tmj"] },
  { name: "WAV recording", type: "audio/wav", extensions: [".wav"] },
  { name: "FLAC recording", type: "audio/flac", extensions: [".flac"] },
];

function manifest(): object {
  return {
    id: "./",
    name: "Tomkrin Editor",
    short_name: "Tomkrin",
    description: "The level editor of the MSX game Tomkrin, with its tape and sound tools.",
    start_url: "./",
    scope: "./",
    display: "standalone",
    theme_color: THEME,
    background_color: "#d4d0c8",
    icons: ICON_SIZES.map((size) => ({
      src: `icon-${size}.png`,
      sizes: `${size}x${size}`,
      type: "image/png",
      purpose: "any",
    })),
    // The page takes the launched files from its launchQueue (src/install.ts) as Open takes them.
    file_handlers: FILE_KINDS.map((kind) => ({
      action: "./",
      name: kind.name,
      accept: { [kind.type]: kind.extensions },
    })),
    // A file opened while the editor runs goes to the window already open, whose page takes it as
    // Open does, rather than to a second window over the same session kept in the browser.
    launch_handler: { client_mode: ["focus-existing", "auto"] },
  };
}

function filesUnder(folder: string): string[] {
  return readdirSync(folder, { withFileTypes: true, recursive: true })
    .filter((entry) => entry.isFile())
    .map((entry) => relative(folder, join(entry.parentPath, entry.name)).split(sep).join("/"))
    .sort();
}

export function installable(): Plugin {
  let outDir = "";
  return {
    name: "tomkrin-installable",
    apply: "build",
    configResolved(config) {
      outDir = resolve(config.root, config.build.outDir);
    },
    transformIndexHtml: () => [
      { tag: "link", attrs: { rel: "manifest", href: "manifest.webmanifest" }, injectTo: "head" },
      { tag: "meta", attrs: { name: "theme-color", content: THEME }, injectTo: "head" },
    ],
    generateBundle() {
      const picture = icoPicture(readFileSync(ICON), 32);
      for (const size of ICON_SIZES)
        this.emitFile({
          type: "asset",
          fileName: `icon-${size}.png`,
          source: pngFile(enlarge(picture, size / picture.width)),
        });
      this.emitFile({
        type: "asset",
        fileName: "manifest.webmanifest",
        source: JSON.stringify(manifest(), null, 2) + "\n",
      });
    },
    // Once every other file is written: the worker keeps them all, under a version made of their
    // names and contents, so that any change to the site is a new cache.
    async writeBundle() {
      const files = filesUnder(outDir).filter((file) => file !== WORKER_FILE);
      const hash = createHash("sha256");
      for (const file of files)
        hash
          .update(file)
          .update("\0")
          .update(readFileSync(join(outDir, file)));
      const version = hash.digest("hex").slice(0, 16);
      const worker = await transformWithEsbuild(
        readFileSync(WORKER_SOURCE, "utf8"),
        WORKER_SOURCE,
        {
          format: "iife",
          target: "es2022",
        },
      );
      const kept = files.map((file) => (file === "index.html" ? "./" : file));
      writeFileSync(
        join(outDir, WORKER_FILE),
        `const SITE_VERSION = ${JSON.stringify(version)};\n` +
          `const SITE_FILES = ${JSON.stringify(kept)};\n${worker.code}`,
      );
    },
  };
}
