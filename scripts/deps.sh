#!/bin/sh
# Installs what building and testing the editor needs on Debian, and only what is missing.
set -e
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

packages="cmake make g++ googletest clang clang-format libclang-rt-14-dev \
 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 \
 wine wine64 wine32:i386 xvfb xdotool imagemagick x11-utils zip unzip \
 libstb-dev sox lintian desktop-file-utils \
 libpugixml-dev nlohmann-json3-dev zlib1g-dev libz-mingw-w64-dev libzstd-dev libflac-dev flac \
 dpkg-dev tiled emscripten chromium"
# The browser edition is built with Node.js and npm (Vite) and tested in Chromium. A machine that
# has its own Node.js (not Debian's package) keeps it; Debian's comes only where there is none.
command -v node >/dev/null 2>&1 || packages="$packages nodejs"
command -v npm >/dev/null 2>&1 || packages="$packages npm"

need_update=""
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Enabling the i386 architecture (Wine runs 32-bit Windows programs with it)"
    $SUDO dpkg --add-architecture i386
    need_update=yes
fi

missing=""
for package in $packages; do
    dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed' || missing="$missing $package"
done

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    if [ -n "$need_update" ] || [ -z "$(ls -A /var/lib/apt/lists 2>/dev/null | grep -v lock)" ] ||
        ! apt-cache policy wine32:i386 2>/dev/null | grep -q Candidate; then
        $SUDO apt-get update -qq
    fi
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing >/dev/null
fi

# The libraries that Debian ships for the build machine only, as Debian's source packages for the
# MinGW trees to compile.
sh "$(dirname "$0")/deps-sources.sh"
