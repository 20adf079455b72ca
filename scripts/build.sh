# Sourced by the scripts: configures and builds the three trees under build/.
#   build/native  host compiler, the portable core and its tests, with the sanitizers
#   build/win32   MinGW i686: the shipped 32-bit editor and its Windows tests
#   build/win64   MinGW x86_64: the same sources, so they stay 64-bit clean
tk_configure_build() { # tree toolchain-or-empty build-type [targets...]
    tree=$1 toolchain=$2 type=$3
    shift 3
    mkdir -p "$TK_ROOT/build"
    args="-S $TK_ROOT -B $TK_ROOT/build/$tree -DCMAKE_BUILD_TYPE=$type"
    [ -n "$toolchain" ] && args="$args -DCMAKE_TOOLCHAIN_FILE=$TK_ROOT/cmake/$toolchain"
    # shellcheck disable=SC2086
    cmake $args >"$TK_ROOT/build/$tree.configure.log" 2>&1 ||
        { cat "$TK_ROOT/build/$tree.configure.log"; return 1; }
    log="$TK_ROOT/build/$tree.build.log"
    if [ $# -gt 0 ]; then
        cmake --build "$TK_ROOT/build/$tree" -j2 --target "$@" >"$log" 2>&1
    else
        cmake --build "$TK_ROOT/build/$tree" -j2 >"$log" 2>&1
    fi || { grep -E -B2 -A8 'error|Error' "$log" | head -80; echo "Build of $tree failed: see $log"; return 1; }
}

# The Windows tree whose programs this machine can run: the 32-bit one where the kernel runs
# 32-bit code, else the 64-bit one.
tk_runnable_windows_tree() {
    if tk_can_run_32bit; then echo win32; else echo win64; fi
}
