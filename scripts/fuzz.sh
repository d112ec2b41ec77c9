#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $FELDOR_FUZZ_DIR) and runs them.
# Usage: scripts/fuzz.sh [seconds per target, default 600] [target...]
# Targets: eznec necwin 4nec2 mmana geometry fdr ini lzrw kitcont imagelist (default: all, run in
# parallel, at most one per core). Each target's corpus grows in <dir>/corpus/<target>, seeded
# from the test data, the samples and fuzz/seeds/<target> (complete files below the 64 kB input
# limit: multi-plane near-field files and reports, small field files, antenna and ground files of
# hundreds of lines; the two large samples enter cut to the limit); crashes, hangs and leaks land
# in <dir>/findings/<target>/. A
# finding belongs, once fixed, in tests/data/fuzz/<target>/ (the regression test feeds every file
# there).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
FELDOR_FUZZ=1 bash scripts/deps.sh
dir=${FELDOR_FUZZ_DIR:-build-fuzz}
secs=${1:-600}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(eznec necwin 4nec2 mmana geometry fdr ini lzrw kitcont imagelist)

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DFELDOR_FUZZ=ON -DFELDOR_TESTS=OFF -DFELDOR_BENCH=OFF >/dev/null
cmake --build "$dir" --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

seeds() {
  case $1 in
    eznec) echo tests/data/eznec fuzz/seeds/eznec ;;
    necwin) echo tests/data/nwp ;;
    4nec2) echo tests/data/4nec2 fuzz/seeds/4nec2 samples/dipol20m.out ;;
    mmana) echo tests/data/mmana ;;
    geometry) echo tests/data/geometry fuzz/seeds/geometry samples/Antenne.txt samples/Boden.txt ;;
    fdr) echo fuzz/seeds/fdr samples/Beispiel.fdr ;;
    ini) echo fuzz/seeds/ini ;;
    lzrw) echo fuzz/seeds/lzrw ;;
    kitcont) echo fuzz/seeds/kitcont ;;
    imagelist) echo fuzz/seeds/imagelist ;;
  esac
  [[ -d tests/data/fuzz/$1 ]] && echo "tests/data/fuzz/$1"
  return 0
}

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/fuzz/lsan.supp:print_suppressions=0}
pids=()
for t in "${targets[@]}"; do
  corpus="$dir/corpus/$t"
  out="$dir/findings/$t"
  mkdir -p "$corpus" "$out"
  while read -r s; do
    if [[ -d $s ]]; then find "$s" -type f -exec cp -n {} "$corpus/" \; ; else cp -n "$s" "$corpus/"; fi
  done < <(seeds "$t" | tr ' ' '\n')
  # Leak checks after every input would slow the run about sevenfold: the run looks for crashes,
  # hangs and memory use (2 GB per process, 1 GB per allocation, 10 s per input is a hang), and
  # the leak pass below feeds the whole corpus once with leak checks.
  ( "$dir/fuzz/fuzz_$t" "$corpus" -max_total_time="$secs" -max_len=65536 -rss_limit_mb=2048 \
        -malloc_limit_mb=1024 -timeout=10 -detect_leaks=0 -artifact_prefix="$out/" \
        -print_final_stats=1 &&
    "$dir/fuzz/fuzz_$t" "$corpus" -runs=0 -max_len=65536 -detect_leaks=1 -timeout=30 \
        -artifact_prefix="$out/" ) > "$dir/findings/$t.log" 2>&1 &
  pids+=($!)
  echo "fuzz_$t: pid $! log $dir/findings/$t.log"
  while (($(jobs -rp | wc -l) >= $(nproc))); do sleep 5; done
done
status=0
for p in "${pids[@]}"; do wait "$p" || status=1; done
for t in "${targets[@]}"; do
  echo "== $t"; grep -E "^(stat::number_of_executed_units|Done|==[0-9]+==ERROR|SUMMARY|INFO: a leak)" "$dir/findings/$t.log" || true
  ls "$dir/findings/$t" 2>/dev/null | sed 's/^/  finding: /'
done
exit $status
