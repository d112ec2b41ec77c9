#!/bin/bash
# Runs the same benchmarks of several builds side by side, interleaved (each case in every build
# before the next case), pinned to one core, and prints the median of 5 repetitions in ms.
#
#   scripts/compare-bench.sh CORE LABEL=BENCH_BINARY...
#   CASES="BM_ImportEznec BM_BareParseEznec" scripts/compare-bench.sh 3 old=../old/build/bench/bench_import new=build/bench/bench_import
#
# CASES: benchmark names without their "/..." suffixes (default: every case of bench_import). Prints "case label real_ms cpu_ms";
# "-" where a build has no such case or skipped it. The CPU time is the steadier figure on a busy
# machine.
set -e
[ $# -ge 2 ] || { sed -n 2,9p "$0"; exit 2; }
core=$1; shift
cases=${CASES:-"BM_ImportEznec BM_BareParseEznec BM_Import4nec2 BM_BareParse4nec2 BM_ImportNec2c BM_BareParseNec2c"}
for c in $cases; do
  for spec in "$@"; do
    label=${spec%%=*}; bin=${spec#*=}
    out=$(taskset -c "$core" "$bin" --benchmark_filter="^$c(/|\$)" --benchmark_repetitions=5 \
          --benchmark_report_aggregates_only=true --benchmark_format=json 2>/dev/null || true)
    ms=$(python3 -c '
import json, sys
try:
    d = json.loads(sys.stdin.read())
except ValueError:
    print("-"); sys.exit()
m = [b for b in d.get("benchmarks", []) if b.get("aggregate_name") == "median" and not b.get("error_occurred")]
print("%.1f %.1f" % (m[0]["real_time"], m[0]["cpu_time"]) if m else "- -")' <<<"$out")
    printf '%-24s %-10s %s\n' "$c" "$label" "$ms"
  done
done
