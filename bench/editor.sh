#!/usr/bin/env bash
# The print file editor on a 100-page print file: opening and saving (editor_bench, with a
# bare Qt plain-text layout of the same text for comparison), and LibreOffice converting
# the same file to ODT; and opening a 50-page document LibreOffice wrote, with tables and
# pictures (bench/make-fifty-pages.sh). Prints medians in milliseconds.
set -euo pipefail
build=${1:-build/release}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$(dirname "$0")/make-fifty-pages.sh" "$work/fifty.rtf" 2>/dev/null
"$build/bench/editor_bench" --libreoffice "$work/fifty.rtf" --benchmark_repetitions=7 \
  --benchmark_report_aggregates_only=true --benchmark_filter=. 2>/dev/null | grep -E "median"
"$build/bench/editor_bench" --write-sample "$work/hundred.rtf"
times=()
for run in 1 2 3; do
  rm -rf "$work/out"
  t0=$(date +%s%N)
  soffice -env:UserInstallation=file://$work/profile --headless --convert-to odt --outdir "$work/out" \
    "$work/hundred.rtf" >/dev/null 2>&1
  t1=$(date +%s%N)
  times+=($(( (t1 - t0) / 1000000 )))
done
printf 'LibreOffice convert-to odt: %s ms (median of 3)\n' "$(printf '%s\n' "${times[@]}" | sort -n | sed -n 2p)"
