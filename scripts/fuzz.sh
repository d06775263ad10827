#!/usr/bin/env bash
# Coverage-guided fuzzing of one reader with libFuzzer under ASan/UBSan: the
# host configuration built with clang (-DZV_FUZZ=ON) in its own folder,
# $ZV_BUILD/fuzz. Never part of scripts/test.sh.
#
# Usage: scripts/fuzz.sh <target> <seconds> [libFuzzer options...]
#   database      bytes read as a whole database file, plain and under a key
#                 (seeds: tests/fixtures/db/*.zdb)
#   packed_item   bytes unpacked as an item of each class in every schema
#                 (seeds: the forms tests/fixtures/items/make_packed_items.py builds)
#   exchange      bytes imported as exchange text of every version, then
#                 exported and imported again (seeds: tests/fixtures/exchange/*)
#   others        bytes read by the readers of other programs' exports, the
#                 first byte picking the reader (seeds: tests/fixtures/exchange/others/*)
#   zip           bytes read as a zip archive: every entry described and
#                 extracted to memory, then one entry replaced in it as a file
#                 (seeds: tests/fixtures/zip/*.zip)
#   handheld      bytes as the handheld's database received in a sync: read,
#                 merged with a desktop database and read again
#                 (seeds: tests/fixtures/handheld/*.db)
#   sync          bytes as what a handheld says in one sync session, against
#                 the desktop's side of the conversation (seeds: the sessions
#                 of every mode, made below)
#   xml           bytes as one of the program's XML files: parsed, written
#                 and parsed again (seeds: tests/fixtures/xml/*.xml)
#
# The seeds are copied into a scratch corpus, $ZV_FUZZ_WORK/<target>/corpus
# ($ZV_FUZZ_WORK defaults to $ZV_BUILD/fuzz-work), which a later run goes on
# from. Findings (crash-*, leak-*, timeout-*, oom-*, slow-unit-*) land in
# $ZV_FUZZ_WORK/<target>/findings; the run's output in .../fuzz.log (with
# -jobs, libFuzzer writes each job's to .../fuzz-N.log). Options given after
# the seconds go to libFuzzer, e.g. -jobs=1 -workers=1 for a separate process.
# The exit status is libFuzzer's: not 0 when it found something.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/env.sh"

usage() {
  sed -n '6,25p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
  exit 2
}
[ $# -ge 2 ] || usage
target=$1 seconds=$2
shift 2
case "$target" in database | packed_item | exchange | others | zip | handheld | sync | xml) ;; *) usage ;; esac
[[ "$seconds" =~ ^[0-9]+$ ]] || usage

log() { printf '[fuzz] %s\n' "$*"; }

# clang with its runtime libraries (libFuzzer among them) and the symbolizer
# for readable stacks, from Debian like everything in scripts/deps.sh.
PACKAGES=(clang libclang-rt-dev llvm)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  log "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Two runs may start at once: one builds at a time.
build="$ZV_BUILD/fuzz"
mkdir -p "$ZV_BUILD"
(
  flock 9
  if [ ! -f "$build/build.ninja" ]; then
    log "configuring $build"
    cmake -S "$ZV_ROOT" -B "$build" -G Ninja -DZV_FUZZ=ON -DZV_BUILD_TESTS=OFF \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" >"$build.configure.log" 2>&1 ||
      { cat "$build.configure.log"; exit 1; }
  fi
  cmake --build "$build" --target "${target}_fuzzer" -j "${ZV_JOBS:-$(nproc)}"
) 9>"$ZV_BUILD/fuzz.lock"

work="${ZV_FUZZ_WORK:-$ZV_BUILD/fuzz-work}/$target"
mkdir -p "$work/corpus" "$work/findings"
case "$target" in
  database) cp "$ZV_ROOT"/tests/fixtures/db/*.zdb "$work/corpus/" ;;
  packed_item) python3 "$ZV_ROOT/tests/fixtures/items/make_packed_items.py" "$work/corpus" >/dev/null ;;
  exchange) cp "$ZV_ROOT"/tests/fixtures/exchange/*.zkv "$ZV_ROOT"/tests/fixtures/exchange/*.csv "$work/corpus/" ;;
  others)
    # Each sample behind the byte that picks its reader.
    for pair in 0:cryptinfo.txt 1:topsecret.csv 2:yaps.txt 3:mobilesafe.txt 4:ewallet.txt 5:1password.txt \
      5:1password_cr.txt; do
      { printf "\\$(printf '%03o' "${pair%%:*}")"; cat "$ZV_ROOT/tests/fixtures/exchange/others/${pair#*:}"; } \
        >"$work/corpus/seed-${pair#*:}"
    done
    ;;
  zip) cp "$ZV_ROOT"/tests/fixtures/zip/*.zip "$work/corpus/" ;;
  handheld) cp "$ZV_ROOT"/tests/fixtures/handheld/*.db "$work/corpus/" ;;
  xml) cp "$ZV_ROOT"/tests/fixtures/xml/*.xml "$work/corpus/" ;;
  sync)
    # A setup byte (the mode in its low bits), then each send of the handheld
    # as a length byte and its bytes, each followed by a silent receive.
    python3 - "$work/corpus" <<'PY'
import os, sys
def session(name, mode, sends):
    out = bytearray([mode])
    for text in sends:
        data = text.encode()
        for at in range(0, max(len(data), 1), 255):
            piece = data[at:at + 255]
            out += bytes([len(piece)]) + piece
        out += b'\0'
    with open(os.path.join(sys.argv[1], 'seed-' + name), 'wb') as f:
        f.write(out)
start = ['OK', 'FileSend', 'ZorvikanDataBase.db', '2', 'db', 'EndOfFiles']
folder = ['OK', 'OK', 'OK', 'OK', 'OK']
session('both-ways', 2, start + ['OK', 'FileSend', '1a.zfa', '3', 'aaa', 'EndOfFiles', 'OK', 'OK',
                                 'SendDesktopDatabase', 'OK'] + folder + ['SyncFinalize', 'EndOfFiles',
                                 'SendDesktopCustomIcons', 'OK', 'OK'])
session('desktop-overwrites', 0, start + ['OK', 'SendDesktopDatabase', 'OK'] + folder + ['SyncSuccess', 'No', 'OK'])
session('handheld-overwrites', 1, start + ['OK', 'FileSend', '1a.zfa', '1', 'a', 'EndOfFiles', 'SyncSuccess',
                                           'FileSend', '1000.png', '1', 'p', 'EndOfFiles', 'OK'])
session('cancel', 2, start + ['OK', 'SyncHasToStop', 'OK'])
session('mismatch', 4 | 2, start + ['OK', 'OK', 'OK'])
PY
    ;;
esac

# A reader that is slow or greedy on a small input is a finding too.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
log "running $target for $seconds s; corpus $work/corpus"
cd "$work"
set +e
"$build/bin/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$work/findings/" "$@" "$work/corpus" 2>&1 | tee "$work/fuzz.log"
status=${PIPESTATUS[0]}
set -e
log "corpus: $(find "$work/corpus" -type f | wc -l) inputs; findings: $(find "$work/findings" -type f | wc -l)"
exit "$status"
