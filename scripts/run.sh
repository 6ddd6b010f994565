#!/usr/bin/env bash
# The suite's main job: install what is missing, build (Release), and run the most
# complete program there is. For now that is the form engine on the bundled sample form.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF >/dev/null
cmake --build build/release
exec build/release/src/tools/qvform/qvform inspect data/samples/promissory.qvf "$@"
