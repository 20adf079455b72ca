#!/bin/sh
# Builds the Debian packages in build/deb and prints their paths, one a line:
#   tomkrin-tools   the native tools tomkrin, cas2wav and wav2cas with their man pages, from a
#                   Release tree without sanitizers (build/release; the test tree build/native has them),
#                   and the browser edition's single file with its desktop entry (build/web)
#   tomkrin-editor  the shipped 32-bit editor (build/win32, Release) with cas2wav.exe, default.bin
#                   and TOMKRIN.RTF, the command tomkrin-editor that starts it under Wine, a desktop
#                   entry with its icon, and a man page; Architecture all, depends on Wine
#   scripts/make-deb.sh
# Install them with: sudo apt install ./build/deb/tomkrin-tools_*.deb ./build/deb/tomkrin-editor_*.deb
set -e
. "$(dirname "$0")/setup.sh"
tk_setup deb
debs="$TK_ROOT/build/deb"
deb_log="$TK_ROOT/build/deb.log"
mkdir -p "$debs"
version=$(sed -n 's/^project(TomkrinEditor VERSION \([0-9]*\.[0-9]*\)\..*/\1/p' "$TK_ROOT/CMakeLists.txt")
# A changelog whose latest entry is another version would describe another package.
head -n 1 "$TK_ROOT/packaging/changelog" | grep -q "^tomkrin-editor ($version) " ||
    { echo "make-deb: packaging/changelog does not start with version $version"; exit 1; }
maintainer="Tomkrin Editor project <tomkrin-editor@example.org>"

# The browser edition's single file goes into the tools' package.
tk_build_web
# The tools of the Release tree (build/release, the one the browser edition's tests use too, under
# the same lock); its installing takes what is built, so the tests and benchmarks are left out.
release="$TK_ROOT/build/release"
(
    flock 9 || exit 1
    cd "$TK_ROOT" &&
        cmake --preset release &&
        cmake --build --preset release --target tomkrin cas2wav wav2cas tk_man_pages &&
        rm -f "$debs"/tomkrin-tools_*.deb "$release"/tomkrin-tools_*.deb &&
        cpack -G DEB --config "$release/CPackConfig.cmake" -B "$debs/cpack" &&
        mv "$release"/tomkrin-tools_*.deb "$debs/"
) >"$deb_log" 2>&1 9>"$TK_ROOT/build/release.lock" ||
    { tail -n 40 "$deb_log"; echo "make-deb: failed (log: $deb_log)"; exit 1; }

# The editor: the Windows programs come from the 32-bit MinGW tree, the rest from the sources.
tk_configure_build win32 TomkrinEditor cas2wav
win="$TK_ROOT/build/win32"
root="$debs/tomkrin-editor"
rm -rf "$root" "$debs"/tomkrin-editor_*.deb
(
    umask 022
    share="$root/usr/share"
    mkdir -p "$root/DEBIAN" "$root/usr/bin" "$share/tomkrin-editor" "$share/applications" \
        "$share/man/man1" "$share/doc/tomkrin-editor"
    # The symbols are of no use to a player; stripped, the programs are half the size.
    for exe in TomkrinEditor.exe cas2wav.exe; do
        i686-w64-mingw32-strip -o "$share/tomkrin-editor/$exe" "$win/$exe"
        chmod 644 "$share/tomkrin-editor/$exe"
    done
    cp "$win/default.bin" "$win/TOMKRIN.RTF" "$share/tomkrin-editor/"
    sed "s/@VERSION@/$version/" "$TK_ROOT/packaging/tomkrin-editor" >"$root/usr/bin/tomkrin-editor"
    chmod 755 "$root/usr/bin/tomkrin-editor"
    cp "$TK_ROOT/packaging/tomkrin-editor.desktop" "$share/applications/"
    # The icon's own 16 and 32 pixel pictures, and the 32 pixel one enlarged pixel for pixel.
    for size in 16 32 64 128; do
        mkdir -p "$share/icons/hicolor/${size}x$size/apps"
        case $size in 16) frame=0 ;; *) frame=1 ;; esac
        convert "$TK_ROOT/res/tomkrin.ico[$frame]" -filter point -resize "${size}x$size" -strip \
            "PNG32:$share/icons/hicolor/${size}x$size/apps/tomkrin-editor.png"
    done
    gzip -9 -n -c "$TK_ROOT/docs/man/tomkrin-editor.1" >"$share/man/man1/tomkrin-editor.1.gz"
    gzip -9 -n -c "$TK_ROOT/packaging/changelog" >"$share/doc/tomkrin-editor/changelog.gz"
    cp "$TK_ROOT/LICENSE" "$share/doc/tomkrin-editor/copyright"

    (cd "$root" && find usr -type f | LC_ALL=C sort | xargs md5sum) >"$root/DEBIAN/md5sums"
    cat >"$root/DEBIAN/control" <<CONTROL
Package: tomkrin-editor
Version: $version
Architecture: all
Maintainer: $maintainer
Installed-Size: $(du -sk "$root/usr" | cut -f1)
Depends: wine, wine32
Section: graphics
Priority: optional
Description: level editor for the MSX game Tomkrin, run under Wine
 Tomkrin Editor paints the blocks of a level of Tomkrin, the MSX platform
 game, onto its grid, sets its title, start position and monsters, saves it
 as a level file, puts it into a cassette image of the game and turns that
 tape into a .wav recording that a real MSX loads.
 .
 The editor is a Windows program: the command tomkrin-editor starts it
 under Wine, in a Wine prefix of the user's own. It needs the 32-bit part
 of Wine, wine32, which on amd64 is an i386 package: enable i386 packages
 with "dpkg --add-architecture i386" before installing this one.
CONTROL
    chmod 644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
) || { echo "make-deb: the editor's package tree could not be made"; exit 1; }
dpkg-deb --root-owner-group -Zxz --build "$root" "$debs/tomkrin-editor_${version}_all.deb" >>"$deb_log" 2>&1 ||
    { tail -n 20 "$deb_log"; echo "make-deb: dpkg-deb failed (log: $deb_log)"; exit 1; }
ls "$debs"/tomkrin-tools_*.deb "$debs"/tomkrin-editor_*.deb
