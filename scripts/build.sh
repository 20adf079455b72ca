# Sourced by the scripts: configures and builds a tree under build/ through its preset.
# Every tree is a preset of CMakePresets.json (configure and build preset of one name), whose
# folder is build/<name>:
#   native        host compiler, the portable core and its tests, with the sanitizers
#   win32         MinGW i686: the shipped 32-bit editor and its Windows tests
#   win64         MinGW x86_64: the same sources, so they stay 64-bit clean
#   release       host compiler, Release, no sanitizers (the fast tools of the README)
#   bench-native  as release, for the benchmarks
#   deb           as release, for the Debian package of the tools (scripts/make-deb.sh)
#   fuzz          clang with the fuzz targets only (scripts/test-fuzz.sh)
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
