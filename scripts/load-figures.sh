#!/usr/bin/env bash
# The load of every shape of downloads list beside pugixml and expat: builds
# the optimised benchmarks (and their lists, some GB of disk under
# build/bench/bench/lists), then prints one row of ratios per list and size,
# each time the median of REPS runs in one process, the runs of all lists
# interleaved.  Then the peak memory of one load of each list.  With
# --cp1251 the same again under the Cyrillic code page 1251, as a Russian
# Windows runs the program.  Figures, not a test: nothing is asserted.
# Usage: scripts/load-figures.sh [--reps N] [--cp1251] [--no-peak]
#                                [--shapes=host,refs,...] [--sizes=10000,...]
set -euo pipefail
cd "$(dirname "$0")/.."

reps=5
cp1251=0
options=()
while [[ $# -gt 0 ]]; do
  case $1 in
    --reps) reps=$2; shift 2 ;;
    --cp1251) cp1251=1; shift ;;
    *) options+=("$1"); shift ;;
  esac
done

scripts/install-deps.sh build bench
cmake --preset bench >/dev/null
cmake --build --preset bench -j"${BRIMLOW_JOBS:-2}" --target brimlow-load-bench

run() {
  build/bench/bench/brimlow-load-bench "${options[@]}" --benchmark_repetitions="$reps" \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
    2>&1 | sed -n '/^Active code page/,$p'
}

echo "== $(nproc) cores: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2)"
echo "== load ratios, median of $reps runs (wall and processor time)"
run
if [[ $cp1251 == 1 ]]; then
  # The platform takes the code page from the locale's name; the locale
  # itself need not be installed.
  echo
  echo "== the same under code page 1251"
  LC_ALL=ru_RU.CP1251 run
fi
