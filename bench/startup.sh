#!/usr/bin/env bash
# Whole-process time from start to first painted frame, offscreen: the variable-entry
# program with a 20-page form against a bare Qt window. Prints medians in milliseconds.
set -euo pipefail
build=${1:-build/release}
runs=${RUNS:-21}
export QT_QPA_PLATFORM=offscreen
form=$(mktemp --suffix=.qvf)
trap 'rm -f "$form"' EXIT
python3 - "$form" <<'PY'
import random, sys
random.seed(3)
words = ["whereas", "the", "lessee", "shall", "pay", "unto", "lessor", "monthly", "rent", "of"]
body = b""
for p in range(120):
    body += " ".join(random.choice(words) for _ in range(30)).encode() + b" \xb5|NAME|\xb5 pays.\xae"
open(sys.argv[1], "wb").write(b"Form      Portrait\r\n:NAME\r\nName.\r\n\x15\r\n" + body)
PY
median() {
  local times=()
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N)
    times+=($(( (t1 - t0) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/1000}'
}
bare=$(median "$build/bench/startup_bare")
qvlegal=$(median "$build/bench/startup_qvlegal" "$form")
echo "bare Qt window to first paint:      ${bare} ms (median of $runs)"
echo "QVLEGAL, 20-page form, first paint: ${qvlegal} ms (median of $runs)"
awk -v a="$qvlegal" -v b="$bare" 'BEGIN {printf "ratio: %.2f (goal at most 2)\n", a / b}'
