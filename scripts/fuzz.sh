#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60):
#   scripts/fuzz.sh [SECONDS [TARGET...]]     TARGET as "ini" or "fuzz_ini"; all when none
# Each target first replays its seeds and the inputs that once failed (fuzz/regressions),
# then fuzzes with the limits every reader must keep (512 MB, 5 s an input). New inputs
# go to build/fuzz/corpus/TARGET, failures to build/fuzz/crashes/TARGET, the whole output
# to build/fuzz/logs/TARGET.log; a table of executions and coverage ends the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
(($# > 0)) && shift
scripts/install-deps.sh --fuzz
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON \
      -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF >/dev/null

targets=()
if (($# > 0)); then
  for t in "$@"; do targets+=("fuzz_${t#fuzz_}"); done
else
  for source in fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
cmake --build build/fuzz --target "${targets[@]}"

# Undefined behaviour stops the run as a crash does, instead of scrolling past.
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export QT_QPA_PLATFORM=offscreen
limits=(-rss_limit_mb=512 -timeout=5)
mkdir -p build/fuzz/logs
rows=()
failed=0
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  program=build/fuzz/fuzz/$target
  corpus=build/fuzz/corpus/$target crashes=build/fuzz/crashes/$target log=build/fuzz/logs/$target.log
  mkdir -p "$corpus" "$crashes"
  inputs=()
  for folder in "fuzz/seeds/$name" "fuzz/regressions/$name"; do
    [[ -d $folder ]] && inputs+=("$folder")
  done
  if ((${#inputs[@]})) && ! "$program" -runs=0 "${limits[@]}" "${inputs[@]}" >"$log" 2>&1; then
    echo "== $target: a seed or regression fails (see $log)"
    rows+=("$target|-|-|replay fails")
    failed=1
    continue
  fi
  echo "== $target for ${seconds}s"
  before=$(find "$crashes" -type f | wc -l)
  status=0
  nice -n 19 "$program" -max_total_time="$seconds" "${limits[@]}" -print_final_stats=1 \
       -artifact_prefix="$crashes/" "$corpus" "${inputs[@]}" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  edges=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  found=$(($(find "$crashes" -type f | wc -l) - before))
  if ((status != 0)); then
    failed=1
    grep -m 1 -E 'ERROR: |runtime error' "$log" || true
    echo "   the input is in $crashes (whole output in $log)"
  fi
  rows+=("$target|${runs:--}|${edges:--}|$( ((found > 0)) && echo "$found new in $crashes" || echo none)")
done

echo
printf '%-24s %12s %8s  %s\n' target executions edges found
for row in "${rows[@]}"; do
  IFS='|' read -r t r e f <<<"$row"
  printf '%-24s %12s %8s  %s\n' "$t" "$r" "$e" "$f"
done
exit "$failed"
