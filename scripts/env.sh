# Shared settings of the project's scripts; sourced, not run.
: "${ZV_CACHE:=${XDG_CACHE_HOME:-$HOME/.cache}/zorvikan}"
: "${WINEPREFIX:=$ZV_CACHE/wineprefix}"
export ZV_CACHE WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
# Keep Wine from asking to install Mono or Gecko: there is nothing to ask.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
ZV_WINE=/usr/lib/wine/wine64
ZV_WINESERVER=/usr/lib/wine/wineserver64
[ -x "$ZV_WINESERVER" ] || ZV_WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
ZV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ZV_BUILD="${ZV_BUILD:-$ZV_ROOT/build}"
