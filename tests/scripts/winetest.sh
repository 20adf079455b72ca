# Sourced by the scripts that drive the Windows tools under Wine.
# wine_test_start WORK_FOLDER: starts in a new empty work folder; fail MESSAGE counts a failure in
# $failures; wine_test_end NAME prints the verdict and exits with the number of failures.
wine_test_start() {
    rm -rf "$1"
    mkdir -p "$1"
    cd "$1" || exit 1
    failures=0
}
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
wine_test_end() {
    [ "$failures" = 0 ] && echo "$1 under Wine: all checks passed"
    exit "$failures"
}
