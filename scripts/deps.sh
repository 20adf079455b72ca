#!/bin/sh
# Installs what one command needs on Debian, and only what is missing:
#   deps.sh editor   build the Windows editor and run it under Wine (scripts/run.sh)
#   deps.sh web      build the browser edition and serve it (scripts/run.sh web, build-web.sh)
#   deps.sh deb      build the Debian packages (scripts/make-deb.sh): no Wine
#   deps.sh test     build every tree and run every test (scripts/test.sh)
# Wine's 32-bit part (wine32:i386, and with it the i386 architecture) is asked for only where the
# kernel runs 32-bit programs (tk_kernel_runs_32bit, scripts/wine-env.sh). There it is wanted, not
# needed: where the mirror cannot give it, the Windows programs are run and tested as the 64-bit
# build, as on a kernel without 32-bit programs, and one line says so.
# An index that cannot be fetched (a mirror in the middle of a sync, a dead entry in the machine's
# sources) does not stop the setup: apt-get update is tried once more after a short wait, then
# one line names each index still missing and the install goes on from the others. The setup
# fails only when a package it needs cannot be installed, and then names that package.
set -e
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
. "$TK_ROOT/scripts/wine-env.sh"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

# What each kind of tree is built with. The MinGW and WebAssembly trees compile Debian's source
# packages of a few libraries (deps-sources.sh, which needs dpkg-source).
native="cmake make g++ googletest libstb-dev libpugixml-dev nlohmann-json3-dev zlib1g-dev libzstd-dev libflac-dev"
mingw="cmake make g++ googletest libstb-dev nlohmann-json3-dev dpkg-dev g++-mingw-w64-i686-posix \
 g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libz-mingw-w64-dev"
wine="wine wine64 xvfb xdotool imagemagick x11-utils"
web="cmake make libstb-dev nlohmann-json3-dev dpkg-dev emscripten python3"
# The browser edition is built with Node.js and npm (Vite). A machine that has its own Node.js (not
# Debian's package) keeps it; Debian's comes only where there is none.
command -v node >/dev/null 2>&1 || web="$web nodejs"
command -v npm >/dev/null 2>&1 || web="$web npm"
# The checks: the fuzzers (clang), formatting, the packages, Tiled, the recordings, Chromium.
checks="clang clang-format libclang-rt-14-dev zip unzip sox flac lintian desktop-file-utils dpkg-dev tiled chromium"

[ $# -gt 0 ] || set -- test
packages="" wanted="" fresh=""
for purpose in "$@"; do
    case $purpose in
    editor) packages="$packages $mingw $wine" ;;
    web) packages="$packages $web" ;;
    deb) packages="$packages $native $mingw $web imagemagick dpkg-dev" ;;
    test) packages="$packages $native $mingw $wine $web $checks" ;;
    *) echo "deps: unknown purpose $purpose (editor, web, deb or test)"; exit 2 ;;
    esac
    case $purpose in editor | test) tk_kernel_runs_32bit && wanted="wine32:i386" ;; esac
done
packages=$(echo $packages | tr ' ' '\n' | sort -u)

installed() { dpkg -s "$1" 2>/dev/null | grep -q '^Status: install ok installed'; }
missing="" missing_wanted=""
for package in $packages; do installed "$package" || missing="$missing $package"; done
for package in $wanted; do installed "$package" || missing_wanted="$missing_wanted $package"; done
[ -n "$missing$missing_wanted" ] || exec sh "$TK_ROOT/scripts/deps-sources.sh"

if [ -n "$missing_wanted" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Enabling the i386 architecture (Wine runs 32-bit Windows programs with it)"
    $SUDO dpkg --add-architecture i386
    fresh=yes
fi

# apt_update: apt-get update, once more after a short wait if an index could not be fetched, then
# a line for each index still missing; never fails.
apt_update() {
    log=$(mktemp)
    for attempt in 1 2; do
        $SUDO apt-get update -q >"$log" 2>&1 && { rm -f "$log"; return 0; }
        [ $attempt = 2 ] || sleep 10
    done
    # "E: Failed to fetch URL  reason" for an index, or another error line for a whole source.
    sed -n 's/^E: Failed to fetch \([^ ]*\) *\(.*\)/\1 (\2)/p' "$log" | while read -r index; do
        echo "deps: warning: cannot fetch the index $index; installing from the other indexes"
    done
    grep '^E: ' "$log" | grep -v -e '^E: Failed to fetch' -e '^E: Some index files failed' |
        while read -r line; do echo "deps: warning: apt-get update: ${line#E: }"; done
    rm -f "$log"
}
# A package without a candidate needs fresh indexes; so does an architecture just enabled.
for package in $missing $missing_wanted; do
    apt-cache policy "$package" 2>/dev/null | grep -q 'Candidate: [^(]' || fresh=yes
done
[ -z "$fresh" ] || apt_update

# why_not PACKAGE: apt's own reason why PACKAGE cannot be installed, in one line; nothing where it
# can be.
why_not() {
    plan=$(DEBIAN_FRONTEND=noninteractive apt-get install -s -q "$1" 2>&1) && return 0
    echo "$plan" | grep -E '^ [^ ].*: (Depends|PreDepends|Conflicts|Breaks)|^E: ' | head -1 | sed 's/^ *//'
}
# The wanted packages that apt cannot install go, each with its line; then everything else that is
# missing in one go, or, if that fails, the package it cannot install is named.
for package in $missing_wanted; do
    reason=$(why_not "$package")
    if [ -z "$reason" ]; then
        missing="$missing $package"
    else
        echo "deps: warning: $package cannot be installed from this machine's archives ($reason):" \
            "the Windows programs run as the 64-bit build"
    fi
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    log=$(mktemp)
    # shellcheck disable=SC2086
    if ! DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing >"$log" 2>&1; then
        for package in $missing; do
            installed "$package" && continue
            reason=$(why_not "$package")
            [ -n "$reason" ] || continue
            echo "deps: cannot install $package, which this command needs: $reason"
            exit 1
        done
        tail -n 20 "$log"
        echo "deps: apt-get install failed:$missing"
        exit 1
    fi
    rm -f "$log"
fi

# The libraries that Debian ships for the build machine only, as Debian's source packages for the
# MinGW and WebAssembly trees to compile.
sh "$TK_ROOT/scripts/deps-sources.sh"
