# Sourced by the test scripts: one line per check.
# fail MESSAGE prints "FAIL: MESSAGE" and counts it in $failures; pass MESSAGE prints "ok:   MESSAGE".
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass() { echo "ok:   $*"; }
