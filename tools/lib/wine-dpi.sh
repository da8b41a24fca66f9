#!/usr/bin/env bash
# tools/lib/wine-dpi.sh <dpi> <program> [<argument>...]
#
# Runs a Windows program under Wine on a display at <dpi> (96, 120, 144 or 192), in the Wine
# prefix of that resolution (tools/lib/wine-env.sh), as ctest runs the tests that need one.
# The display is an Xvfb of its own, as large as the resolution asks for (KV_WINE_DISPLAY=host
# takes the caller's instead); it and the prefix's server are stopped afterwards. Exit status:
# the program's, or 2 when Wine could not be started.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
[ $# -ge 2 ] || { echo "usage: tools/lib/wine-dpi.sh <dpi> <program> [<argument>...]" >&2; exit 2; }
dpi=$1
shift
# shellcheck source=wine-env.sh
source "$ROOT/tools/lib/wine-env.sh"
kv_wine_select_dpi "$dpi" || exit 2
trap kv_wine_stop EXIT
kv_wine_start >&2 || exit 2
wine "$@"
