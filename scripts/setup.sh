# Sourced by the top-level scripts: the project root and the shared shell functions.
# tk_setup PURPOSE... installs what those purposes need and is missing (scripts/deps.sh).
TK_ROOT=$(cd "$(dirname "$0")/.." && pwd)
export TK_ROOT
. "$TK_ROOT/scripts/wine-env.sh"
. "$TK_ROOT/scripts/xvfb.sh"
. "$TK_ROOT/scripts/build.sh"
tk_setup() {
    sh "$TK_ROOT/scripts/deps.sh" "$@"
}
