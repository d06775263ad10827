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
#                 extracted to memory (seeds: tests/fixtures/zip/*.zip)
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
  sed -n '6,14p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
  exit 2
}
[ $# -ge 2 ] || usage
target=$1 seconds=$2
shift 2
case "$target" in database | packed_item | exchange | others | zip) ;; *) usage ;; esac
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
