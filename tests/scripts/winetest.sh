# Sourced by the scripts that drive the Windows tools under Wine.
# wine_test_start "$@": takes the script's last two arguments, the Wine runner ($wine_run) and the
# work folder, and starts in that folder (or skips the test, status 77, where the first argument's
# program cannot run), new and empty; fail MESSAGE (scripts/checks.sh) counts a
# failure in $failures; wine_test_end NAME prints the verdict and exits with the number of failures.
. "$(dirname "$0")/../../scripts/checks.sh"
wine_test_start() {
    program=$1
    while [ $# -gt 2 ]; do shift; done
    wine_run="$1"
    # A machine that cannot run the program skips the test, saying why.
    sh "$wine_run" --check "$program" || exit $?
    rm -rf "$2"
    mkdir -p "$2"
    cd "$2" || exit 1
    failures=0
}
wine_test_end() {
    [ "$failures" = 0 ] && echo "$1 under Wine: all checks passed"
    exit "$failures"
}
