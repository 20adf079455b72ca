# Sourced by the scripts: configures and builds a tree under build/ through its preset.
# Every tree is a preset of CMakePresets.json (configure and build preset of one name), whose
# folder is build/<name>:
#   native        host compiler, the portable core and its tests, with the sanitizers
#   win32         MinGW i686: the shipped 32-bit editor and its Windows tests
#   win64         MinGW x86_64: the same sources, so they stay 64-bit clean
#   release       host compiler, Release, no sanitizers (the fast tools of the README, the
#                 browser edition's tests and the Debian package of the tools)
#   bench-native  as release, for the benchmarks
#   fuzz          clang with the fuzz targets only, each a test of the tree (fuzz/CMakeLists.txt)
#   web           emscripten: the core as the browser edition's WebAssembly module (tk_build_web)
# A machine of its own kind adds its presets in CMakeUserPresets.json (not committed).
tk_configure_build() { # preset [targets...]: every target when none is named
    # Subshells only: the scripts that source this keep their own variables.
    mkdir -p "$TK_ROOT/build"
    (cd "$TK_ROOT" && cmake --preset "$1") >"$TK_ROOT/build/$1.configure.log" 2>&1 ||
        { cat "$TK_ROOT/build/$1.configure.log"; return 1; }
    (
        cd "$TK_ROOT" || exit 1
        preset=$1
        shift
        [ $# -eq 0 ] || set -- --target "$@"
        cmake --build --preset "$preset" "$@"
    ) >"$TK_ROOT/build/$1.build.log" 2>&1 || {
        grep -E -B2 -A8 'error|Error' "$TK_ROOT/build/$1.build.log" | head -80
        echo "Build of $1 failed: see $TK_ROOT/build/$1.build.log"
        return 1
    }
}

# The browser edition: the web tree builds the WebAssembly module, then the page in web/ with npm
# and Vite (scripts/build-site.sh) into build/web/site/ and build/web/tomkrin-web.html (one file
# that works opened from the disk). One build of the tree at a time: every script that builds it
# comes through here, under the lock build/web.lock. npm installs the page's tools
# (scripts/page-tools.sh) while the module compiles, mostly waiting on the network and the disk; the
# page's build waits for that install, and says why if it failed.
tk_build_web() {
    mkdir -p "$TK_ROOT/build"
    (
        flock 9 || exit 1
        sh "$TK_ROOT/scripts/page-tools.sh" >/dev/null 2>&1 &
        tools=$!
        status=0
        tk_configure_build web || status=$?
        wait $tools || :
        exit $status
    ) 9>"$TK_ROOT/build/web.lock"
}
