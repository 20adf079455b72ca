# Sourced by the scripts: configures and builds a tree under build/ through its preset.
# Every tree is a preset of CMakePresets.json (configure and build preset of one name), whose
# folder is build/<name>:
#   native        host compiler, the portable core and its tests, with the sanitizers
#   win32         MinGW i686: the shipped 32-bit editor and its Windows tests
#   win64         MinGW x86_64: the same sources, so they stay 64-bit clean
#   release       host compiler, Release, no sanitizers (the fast tools of the README, the
#                 browser edition's tests and the Debian package of the tools)
#   bench-native  as release, for the benchmarks
#   fuzz          clang with the fuzz targets only (scripts/test-fuzz.sh)
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

# The browser edition: the WebAssembly module of the web tree, then the page in web/ built by Vite
# into build/web/site/ (the static files) and build/web/tomkrin-web.html (one file that works
# opened from the disk). npm installs the page's tools from web/package-lock.json when they are
# missing or older than it. One build of the tree at a time: every script that builds it comes
# through here, under the lock build/web.lock.
tk_build_web() {
    mkdir -p "$TK_ROOT/build"
    (
        flock 9 || exit 1
        tk_configure_build web tomkrin_core || exit 1
        cd "$TK_ROOT/web" || exit 1
        log="$TK_ROOT/build/web.npm.log"
        if [ ! -f node_modules/.package-lock.json ] ||
            [ package-lock.json -nt node_modules/.package-lock.json ]; then
            npm ci --no-audit --no-fund >"$log" 2>&1 || {
                tail -40 "$log"
                echo "Installing the page's tools failed: see $log"
                exit 1
            }
        fi
        npm run build >>"$log" 2>&1 || {
            grep -E -B2 -A8 'error|Error' "$log" | head -60
            echo "Building the page failed: see $log"
            exit 1
        }
    ) 9>"$TK_ROOT/build/web.lock"
}
