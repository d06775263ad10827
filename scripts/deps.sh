#!/usr/bin/env bash
# Installs and builds everything the project needs, idempotently. Outputs are
# cached under $ZV_CACHE (outside the build tree), so a second run is quick.
#   - Debian packages: toolchains, Wine, Xvfb, CMake/Ninja/ccache, Boost, GoogleTest, zip and unzip (the zip tests compare with them),
#     CUPS with its PDF printer and poppler's tools (the printing tests print to a PDF queue and read it back),
#     the icon sets and the SVG renderer the built-in type icons are drawn from at build time, groff for the user guide's PDF
#   - minizip for MinGW, from the contrib/minizip sources of Debian's zlib source package
#   - sqlite3.dll for MinGW, from the SQLite amalgamation in the npm package better-sqlite3
#   - the project's private Wine prefix
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"

log() { printf '[deps] %s\n' "$*"; }

PACKAGES=(
  cmake ninja-build ccache python3 git clang-format
  mingw-w64 gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
  wine wine64 xvfb xauth x11-apps imagemagick
  fonts-wine fonts-liberation
  libboost-dev googletest libminizip-dev zlib1g-dev libsqlite3-dev
  dpkg-dev npm zip unzip
  cups printer-driver-cups-pdf poppler-utils
  tango-icon-theme fonts-fork-awesome librsvg2-bin groff
)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  # npm may come from another source than Debian (e.g. Node.js's own package); any npm will do.
  if command -v npm >/dev/null 2>&1; then
    local kept=(); for p in "${missing[@]}"; do [ "$p" = npm ] || kept+=("$p"); done
    missing=("${kept[@]+"${kept[@]}"}")
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    log "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

MINGW_DEPS="$ZV_CACHE/deps/mingw"

# Debian's own zlib source package holds minizip; apt-get source needs a deb-src
# line for the archive that is already configured.
build_minizip() {
  local stamp="$MINGW_DEPS/.minizip-1"
  [ -f "$stamp" ] && return 0
  log "building minizip for MinGW"
  local work; work=$(mktemp -d)
  (
    cd "$work"
    if ! ls /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null | xargs grep -qs '^Types:.*deb-src\|^deb-src'; then
      local uri
      uri=$(grep -h -m1 '^URIs:' /etc/apt/sources.list.d/debian.sources 2>/dev/null | awk '{print $2}')
      [ -n "$uri" ] || uri=$(grep -h -m1 '^deb ' /etc/apt/sources.list 2>/dev/null | awk '{print $2}')
      local suite; suite=$(. /etc/os-release; echo "$VERSION_CODENAME")
      printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$uri" "$suite" > /etc/apt/sources.list.d/zorvikan-src.sources
      apt-get update -qq
    fi
    apt-get source --download-only -qq zlib >/dev/null 2>&1
    tar xf zlib_*.orig.tar.*
    cd zlib-*/contrib/minizip
    local cc=x86_64-w64-mingw32-gcc-posix
    mkdir -p "$MINGW_DEPS/include/minizip" "$MINGW_DEPS/lib"
    for f in ioapi.c unzip.c zip.c iowin32.c; do
      $cc -O2 -c -I. "$f" -o "${f%.c}.o"
    done
    x86_64-w64-mingw32-ar rcs "$MINGW_DEPS/lib/libminizip.a" ioapi.o unzip.o zip.o iowin32.o
    cp ioapi.h unzip.h zip.h iowin32.h crypt.h "$MINGW_DEPS/include/minizip/"
  )
  rm -rf "$work"
  touch "$stamp"
}

SQLITE_FROM=better-sqlite3@12.5.0
build_sqlite() {
  local stamp="$MINGW_DEPS/.sqlite-$SQLITE_FROM"
  [ -f "$stamp" ] && return 0
  log "building sqlite3.dll for MinGW from $SQLITE_FROM"
  local work; work=$(mktemp -d)
  (
    cd "$work"
    npm pack --silent "$SQLITE_FROM" >/dev/null
    tar xzf better-sqlite3-*.tgz package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
    mkdir -p "$MINGW_DEPS/bin" "$MINGW_DEPS/include"
    x86_64-w64-mingw32-gcc-posix -O2 -shared -static-libgcc -o "$MINGW_DEPS/bin/sqlite3.dll" \
      package/deps/sqlite3/sqlite3.c '-DSQLITE_API=__declspec(dllexport)' -DSQLITE_THREADSAFE=1
    cp package/deps/sqlite3/sqlite3.h "$MINGW_DEPS/include/"
  )
  rm -rf "$work"
  touch "$stamp"
}

# Boost is used header-only; the MinGW build sees Debian's headers through a link.
link_boost() {
  mkdir -p "$MINGW_DEPS/include"
  [ -e "$MINGW_DEPS/include/boost" ] || ln -s /usr/include/boost "$MINGW_DEPS/include/boost"
}

make_wineprefix() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  log "creating the Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$ZV_WINE" wineboot -i >/dev/null 2>&1 </dev/null || true
  "$ZV_WINESERVER" -w || true
  [ -f "$WINEPREFIX/system.reg" ] || { log "Wine prefix was not created"; exit 1; }
}

# Wine's own fonts (Marlett draws the caption buttons, MS Sans Serif the
# dialogs) are looked up in the prefix's Fonts folder; without them captions
# show "0 1 r" and labels fall back to a serif font. Arial, which programs
# ask for by name, gets the metric-compatible Liberation Sans.
install_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -f "$fonts/marlett.ttf" ] && return 0
  log "installing Wine's fonts into the prefix"
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/* "$fonts/"
  "$ZV_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1 </dev/null || true
  "$ZV_WINESERVER" -w || true
}

mkdir -p "$ZV_CACHE"
install_packages
build_minizip
build_sqlite
link_boost
make_wineprefix
install_wine_fonts
log "ready"
