#!/usr/bin/env bash
# Builds the program and starts it under Wine.
# With an X display ($DISPLAY) it runs there until closed. Without one it runs
# on a virtual display for a few seconds, writes a screenshot and ends (a user
# without a database then starts on tests/fixtures/db/sample.zdb):
#   build/screenshot.png  (or the path in $ZV_SCREENSHOT)
# With ZV_SCREENSHOT_MENU set to a mnemonic (e.g. h), that menu of the main
# window is dropped down before the screenshot, to show its drawn items.
# With --with-handheld the program makes its first start on a data root of its
# own (build/handheld-run, made afresh each time): the test handheld syncs a
# sample user over loopback, and the setup wizard is worked through to the
# main window (tests/sync/sample_handheld.py).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"
with_handheld=
status=0
if [ "${1:-}" = "--with-handheld" ]; then
  with_handheld=1
  shift
  # The first start is the test handheld's to drive: arguments for the
  # program would be dropped, so they are refused rather than ignored.
  if [ $# -gt 0 ]; then
    echo "run.sh: --with-handheld takes no program arguments (got: $*)" >&2
    exit 2
  fi
fi

bash "$here/deps.sh"
dir="$ZV_BUILD/windows"
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$ZV_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ZV_ROOT/cmake/mingw-w64.cmake" >/dev/null
fi
cmake --build "$dir" -j "$(nproc)" --target ZorvikanDesktop
[ -n "${ZV_SCREENSHOT_MENU:-}" ] && cmake --build "$dir" -j "$(nproc)" --target zv_show_menu
exe="$dir/bin/Zorvikan Desktop.exe"
if [ -n "$with_handheld" ]; then
  cmake --build "$dir" -j "$(nproc)" --target window_driver
  handheld_root="$ZV_BUILD/handheld-run"
  rm -rf "$handheld_root"
  first_start=(python3 "$ZV_ROOT/tests/sync/sample_handheld.py" --bin "$dir/bin" --root "$handheld_root")
fi

if [ -n "${DISPLAY:-}" ]; then
  [ -z "$with_handheld" ] || exec "${first_start[@]}" --wine "$ZV_WINE"
  exec "$ZV_WINE" "$exe" "$@"
fi

shot="${ZV_SCREENSHOT:-$ZV_BUILD/screenshot.png}"
if [ -z "$with_handheld" ]; then
# The screenshot shows records: a user without a database starts on the
# sample database of the fixtures (never over an existing one).
user_db="$WINEPREFIX/drive_c/users/$(whoami)/Documents/Corvantide/Zorvikan/_Standalone_/ZorvikanDatabase.zdb"
if [ ! -e "$user_db" ]; then
  mkdir -p "$(dirname "$user_db")"
  cp "$ZV_ROOT/tests/fixtures/db/sample.zdb" "$user_db"
fi
# The screenshot shows the main window: a first start would show the setup
# wizard, so the screenshot user is marked as past it (a person running the
# program on a display still gets the wizard at the first start).
ini="$(dirname "$(dirname "$user_db")")/Preferences/Preferences.ini"
python3 - "$ini" <<'PY'
import os, sys
path = sys.argv[1]
os.makedirs(os.path.dirname(path), exist_ok=True)
text = open(path, encoding="latin-1").read() if os.path.exists(path) else ""
if "Virgin Sync=" not in text:
    header = "[Preferences iPhone]"
    if header in text:
        text = text.replace(header, header + "\r\nVirgin Sync=1", 1)
    else:
        text += ("" if text.endswith("\n") or not text else "\r\n") + header + "\r\nVirgin Sync=1\r\n"
    open(path, "w", encoding="latin-1", newline="").write(text)
PY
fi
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
trap '"$ZV_WINESERVER" -k >/dev/null 2>&1 || true; kill $xvfb_pid 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 50); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$display_file")"
"$ZV_WINESERVER" -k >/dev/null 2>&1 || true  # a server started without a display would keep it
# Through wine-run.sh: without a window manager, windows must be unmanaged
# for Wine to draw their title bars.
if [ -n "$with_handheld" ]; then
  # Ends once the main window shows the sample user, the program running.
  # A failure is shot all the same: the screenshot shows where it stopped.
  "${first_start[@]}" --wine "$here/wine-run.sh" --detach </dev/null || status=$?
  sleep 2
else
  bash "$here/wine-run.sh" "$exe" "$@" </dev/null >/dev/null 2>&1 &
fi
opener=
if [ -n "${ZV_SCREENSHOT_MENU:-}" ]; then
  bash "$here/wine-run.sh" "$dir/bin/zv_show_menu.exe" "$ZV_SCREENSHOT_MENU" </dev/null >/dev/null 2>&1 &
  opener=$!
fi
[ -n "$with_handheld" ] || sleep "${ZV_RUN_SECONDS:-8}"
# The opener ends once the menu is drawn (or given up): never shoot before.
[ -z "$opener" ] || wait "$opener" || true
# Reads the screen as shown. xwd -root pieces it together window by window,
# and a window under a drop-down menu (menus ask for save-under) reads black
# where the menu covers it.
import -silent -window root "$shot"
echo "No display: the program ran on a virtual display; screenshot written to $shot"
exit "$status"
