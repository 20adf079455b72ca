#!/bin/sh
# The browser edition: builds it (build/web/site/ and build/web/tomkrin-web.html, through
# tk_build_web) and the native tools it is held to (build/release: tomkrin, cas2wav, wav2cas,
# mkdemotape, and the painting reference tests/web/replayedits), then checks the page's TypeScript
# (tsc, ESLint, Prettier), runs its unit tests (vitest) and its browser tests (Playwright driving
# Debian's chromium, headless; web/tests/browser/). Exits non-zero on any failure.
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
export TK_ROOT
. "$TK_ROOT/scripts/build.sh"
. "$TK_ROOT/scripts/checks.sh"
start=$(date +%s)

tk_build_web || exit 1
mkdir -p "$TK_ROOT/build"
(
    flock 9 || exit 1
    tk_configure_build release tomkrin cas2wav wav2cas mkdemotape replayedits
) 9>"$TK_ROOT/build/release.lock" || exit 1
built=$(date +%s)
echo "     built in $((built - start)) s"

cd "$TK_ROOT/web" || exit 1
log="$TK_ROOT/build/web-tests"
mkdir -p "$log"
# Each check prints what it found only when it fails.
check() { # what command...
    what=$1
    shift
    if "$@" >"$log/check.log" 2>&1; then
        pass "$what"
    else
        sed 's/^/    /' "$log/check.log" | tail -60
        fail "$what"
    fi
}
check "the page's TypeScript type-checks (tsc --noEmit, strict)" npx --no-install tsc --noEmit
check "ESLint finds nothing" npx --no-install eslint .
check "Prettier finds every file formatted" npx --no-install prettier --check .
check "the unit tests pass (vitest: history, storage)" npx --no-install vitest run

# Playwright prints a line per test; its own browser download is never used.
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
if npx --no-install playwright test; then
    pass "the browser tests pass (Playwright, $(command -v chromium))"
else
    fail "the browser tests (the failures above; traces in build/web-tests/results)"
fi
echo "     checked in $(($(date +%s) - built)) s after the build"
[ $failures -eq 0 ]
