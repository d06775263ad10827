#!/usr/bin/env bash
# Runs a Windows program under the project's private Wine prefix.
# Windows paths of fixtures are the same Unix paths seen through drive Z:.
set -e
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
# Without a window manager Wine waits up to 2 s for every top-level window
# it hides or destroys, unless windows are unmanaged: set that once per prefix.
if [ ! -f "$WINEPREFIX/.zv-unmanaged-windows" ]; then
    mkdir -p "$ZV_CACHE"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.zv-unmanaged-windows" ]; then
            # Without the lock's descriptor: the Wine server this may start
            # lives on and would hold the lock for every other prefix.
            "$ZV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 9>&- &&
                touch "$WINEPREFIX/.zv-unmanaged-windows"
        fi
    ) 9>"$ZV_CACHE/prefix-setup.lock"
fi
exec "$ZV_WINE" "$@"
