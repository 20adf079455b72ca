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
    tree=$1
    shift
    mkdir -p "$TK_ROOT/build"
    (cd "$TK_ROOT" && cmake --preset "$tree") >"$TK_ROOT/build/$tree.configure.log" 2>&1 ||
        { cat "$TK_ROOT/build/$tree.configure.log"; return 1; }
    log="$TK_ROOT/build/$tree.build.log"
    if [ $# -gt 0 ]; then
        (cd "$TK_ROOT" && cmake --build --preset "$tree" --target "$@") >"$log" 2>&1
    else
        (cd "$TK_ROOT" && cmake --build --preset "$tree") >"$log" 2>&1
    fi || { grep -E -B2 -A8 'error|Error' "$log" | head -80; echo "Build of $tree failed: see $log"; return 1; }
}
