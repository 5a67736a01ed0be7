#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for a fixed time over its corpus.
# Usage: scripts/fuzz.sh [seconds per target] [target...]   (default 30, all)
# The corpus grows under build/fuzz/corpus/<target>; a crashing input is left
# in build/fuzz/crashes/<target>/ — copy it to fuzz/regressions/<target>/ so
# the regression test replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(scanner_fuzz list_fuzz roundtrip_fuzz serializer_fuzz)

scripts/install-deps.sh build sanitize
CC=clang CXX=clang++ cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]}"

status=0
for target in "${targets[@]}"; do
  corpus="build/fuzz/corpus/$target"
  crashes="build/fuzz/crashes/$target"
  mkdir -p "$corpus" "$crashes"
  # Seeds: the small input files of the tests and the earlier crashes.
  for seed in tests/data/*.xml fuzz/regressions/"$target"/*; do
    [[ -f "$seed" ]] || continue
    if [[ $target == scanner_fuzz ]]; then
      # The scanner's first byte is a flag; seed both settings.
      { printf '\x00'; cat "$seed"; } >"$corpus/seed0-$(basename "$seed")"
      { printf '\x01'; cat "$seed"; } >"$corpus/seed1-$(basename "$seed")"
    else
      cp "$seed" "$corpus/"
    fi
  done
  echo "== $target for ${seconds} s"
  if ! "build/fuzz/fuzz/$target" -dict=fuzz/dictionaries/xml.dict -max_total_time="$seconds" \
       -rss_limit_mb=2048 -timeout=10 -artifact_prefix="$crashes/" -print_final_stats=1 \
       "$corpus" 2>"build/fuzz/$target.log"; then
    status=1
    echo "$target found a fault; its input is in $crashes" >&2
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "build/fuzz/$target.log" || true
done
exit $status
