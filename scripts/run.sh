#!/usr/bin/env bash
# The suite's main job: install what is missing, build (Release) into the staged program
# folder, and open the forms catalogue on the bundled forms library. Without a display
# the catalogue's contents are printed by the command-line companion instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF >/dev/null
cmake --build build/release
stage=build/release/stage
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" || "${QT_QPA_PLATFORM:-}" == offscreen ]]; then
  exec "$stage/TOLVAD.EXE" "$@"
fi
echo "No display here: listing the forms catalogue through qvform instead of opening its window." >&2
exec build/release/src/tools/qvform/qvform catalogue "$stage"
