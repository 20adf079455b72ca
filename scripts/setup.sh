# Sourced by the top-level scripts: the project root, the shared shell functions, and the
# packages the project needs (installed when missing).
TK_ROOT=$(cd "$(dirname "$0")/.." && pwd)
export TK_ROOT
. "$TK_ROOT/scripts/wine-env.sh"
. "$TK_ROOT/scripts/xvfb.sh"
. "$TK_ROOT/scripts/build.sh"
"$TK_ROOT/scripts/deps.sh"
