#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 60). Crashes and the corpora stay under build/fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/install-deps.sh
if ! command -v clang++ >/dev/null; then
  sudo_cmd=(); [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq && "${sudo_cmd[@]}" apt-get install -y -qq clang >/dev/null
fi
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON \
      -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF >/dev/null
cmake --build build/fuzz
for target in build/fuzz/fuzz/fuzz_*; do
  name=$(basename "$target")
  mkdir -p "build/fuzz/corpus/$name" "build/fuzz/crashes/$name"
  seeds=fuzz/seeds/${name#fuzz_}
  # Inputs that once failed are replayed first: each must pass again.
  regressions=fuzz/regressions/${name#fuzz_}
  if [[ -d $regressions ]]; then
    echo "== $name: $(ls "$regressions" | wc -l) regressions"
    "$target" "$regressions"/* 2>&1 | tail -n 1 || echo "== $name: a regression fails again (see above)"
  fi
  echo "== $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -artifact_prefix="build/fuzz/crashes/$name/" \
            "build/fuzz/corpus/$name" $( [[ -d $seeds ]] && echo "$seeds" ) 2>&1 | tail -n 3
done
