#!/bin/sh
# The browser edition's figures, written into their section of docs/performance.md (replacing an
# earlier one): the site's compressed size, decoding a recording in the page's worker and making
# one in the page against the native wav2cas and cas2wav (release build) on the same files in the
# same run, and the time from a right click to the line drawn on the canvas. Nothing fails because
# a figure is slow; the raw figures stay in build/bench-results/web/.
#   scripts/bench-web.sh
set -e
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
export TK_ROOT
. "$TK_ROOT/scripts/build.sh"
load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)
results="$TK_ROOT/build/bench-results/web"
rm -rf "$results"
mkdir -p "$results"

echo "== Building the browser edition and build/release (tomkrin, cas2wav, wav2cas)"
tk_build_web
(
    flock 9 || exit 1
    tk_configure_build release tomkrin cas2wav wav2cas mkdemotape replayedits
) 9>"$TK_ROOT/build/release.lock"

echo "== The site's size, each file compressed by gzip -9"
site="$TK_ROOT/build/web/site"
find "$site" -type f | sort | while read -r file; do
    printf '%s %s %s\n' "$(wc -c <"$file")" "$(gzip -9 -c "$file" | wc -c)" "${file#"$site"/}"
done | tee "$results/site-files.txt"
single=$(gzip -9 -c "$TK_ROOT/build/web/tomkrin-web.html" | wc -c)

echo "== Decoding, recording and drawing in the page (Playwright, $(command -v chromium))"
cd "$TK_ROOT/web"
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
# Lighthouse and chrome-launcher, for the Lighthouse benchmark alone: a package of their own, so
# that the page's build and tests do not install them.
npm ci --prefix tests/bench/lighthouse --no-audit --no-fund >"$results/lighthouse-npm.log" 2>&1 || {
    tail -20 "$results/lighthouse-npm.log"
    exit 1
}
TK_BENCH_OUT="$results/figures.json" npx --no-install playwright test --config tests/bench/bench.config.ts

section="$results/section.md"
SITE_FILES="$results/site-files.txt" SINGLE="$single" LOAD="$load_at_start" \
    CHROMIUM="$(chromium --version 2>/dev/null | head -1)" EMCC="emscripten $(NODE_PATH=/usr/share/nodejs emcc --version 2>/dev/null | head -1 | grep -o '[0-9]*\.[0-9]*\.[0-9]*' | head -1)" \
    node - "$results/figures.json" >"$section" <<'NODE'
const fs = require("node:fs");
const f = JSON.parse(fs.readFileSync(process.argv[2], "utf8"));
const sizes = fs.readFileSync(process.env.SITE_FILES, "utf8").trim().split("\n").map((l) => l.split(" "));
const raw = sizes.reduce((s, l) => s + Number(l[0]), 0);
const gz = sizes.reduce((s, l) => s + Number(l[1]), 0);
const kb = (n) => (n / 1000).toFixed(1);
const s = (x) => x.toFixed(3);
const ratio = (a, b) => (a / b).toFixed(2);
const mb = (n) => (n / 1e6).toFixed(1);
const S = f.summary;
const lines = [
  "## The browser edition",
  "",
  "Written by `sh scripts/bench-web.sh` (build/web/site, the page in headless Debian chromium through",
  "Playwright, beside the native tools of build/release on the same files in the same run).",
  "",
  `Measured on ${new Date().toISOString().slice(0, 16).replace("T", " ")} UTC; load average when the run started: ${process.env.LOAD};`,
  `${process.env.CHROMIUM}; ${process.env.EMCC}.`,
  "",
  "| Figure | Value | Goal |",
  "|---|---|---|",
  `| The site, every file compressed by gzip -9 and added up (${sizes.length} files, ${kb(raw)} KB as they are) | ${kb(gz)} KB | at most 500 KB |`,
  `| The single file tomkrin-web.html, compressed by gzip -9 | ${kb(Number(process.env.SINGLE))} KB | |`,
  `| Decoding a recording of the 64 KB demonstration tape (cas2wav, then sox to 44,100 Hz 16-bit: ${mb(f.wav.bytes)} MB) in the page's worker | ${s(S.decodePage)} s | |`,
  `| The same file decoded by the native wav2cas | ${s(S.decodeNative)} s | |`,
  `| Page / native, decoding | ${ratio(S.decodePage, S.decodeNative)} | at most 2 |`,
  `| Making the recording of the same tape in the page (${mb(f.wav.recordingBytes)} MB .wav) | ${s(S.recordPage)} s | |`,
  `| The same recording made by the native cas2wav | ${s(S.recordNative)} s | |`,
  `| Page / native, recording | ${ratio(S.recordPage, S.recordNative)} | at most 2 |`,
  `| A right-click line corner to corner, from the pointer event to the drawn canvas (median, slowest of ${f.line.lines}) | ${S.lineMedianMs.toFixed(1)} ms, ${S.lineMaxMs.toFixed(1)} ms | within one frame |`,
  `| Those lines on the canvas within one frame interval of their event, before the next frame | ${f.line.withinFrame} of ${f.line.lines} | all |`,
  `| The page's frame interval (requestAnimationFrame) | ${f.line.frameMs.toFixed(1)} ms | |`,
  "",
  "How each is measured:",
  "",
  "- Size: `gzip -9` of each file of build/web/site on its own, the compressed sizes added up (what a",
  "  server sending them compressed sends).",
  "- Decoding: the best of " + f.decode.page.length + " runs each, taken in turn. In the page, from the file input's change",
  "  (the file chosen through a real file chooser) to the decoder report's last line on the page:",
  "  reading the file, handing it to the worker, decoding in WebAssembly, the report back. Native: the",
  "  whole `wav2cas IN.wav OUT.cas -q` process (reading, decoding, writing), wall time.",
  "- Recording: the best of " + f.record.page.length + " runs each, in turn. In the page, from the click on Make recording to",
  "  Save recording becoming usable (the .wav made in memory); native, the whole",
  "  `cas2wav IN.cas OUT.wav` process, wall time, writing the file included.",
  "- The line: " + f.line.lines + " right clicks (after two not counted) on the page as it starts, each drawing the",
  "  line from one corner of the grid to the other with another block, the time from the event's time",
  "  stamp to the end of the last canvas drawing (drawImage) it caused; within one frame: that time at",
  "  most the page's frame interval, and the drawing done before the first animation frame after the",
  "  event had run its callbacks.",
];
console.log(lines.join("\n"));
NODE

doc="$TK_ROOT/docs/performance.md"
# The section replaces an earlier one where it stands, else goes before the wav2cas section (which
# scripts/bench-wav2cas.sh keeps last), else at the end.
awk -v section="$section" '
    function put() { while ((getline line < section) > 0) print line; print ""; done = 1 }
    /^## / { skipping = 0 }
    /^## The browser edition/ { if (!done) put(); skipping = 1; next }
    /^## wav2cas/ && !done { put() }
    !skipping { print }
    END { if (!done) { print ""; put() } }' "$doc" | cat -s >"$results/doc.md"
cp "$results/doc.md" "$doc"
cat "$section"
echo "== Wrote the browser edition's section of $doc"
