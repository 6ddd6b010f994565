#!/usr/bin/env bash
# The suite's main job: install what is missing, build (Release) into the staged program
# folder, and open the variable-entry program on a bundled form. Without a display the
# filled-in form is printed by the command-line companion instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF >/dev/null
cmake --build build/release
stage=build/release/stage
form="Tolvad/PR01.qvf"
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" || "${QT_QPA_PLATFORM:-}" == offscreen ]]; then
  cd "$stage"
  exec ./QVLEGAL.EXE "$form?Promissory Note" "$@"
fi
echo "No display here: showing the form's layout through qvform instead of the QVLEGAL window." >&2
exec build/release/src/tools/qvform/qvform layout "$stage/$form"
