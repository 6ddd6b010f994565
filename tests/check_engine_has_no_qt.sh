#!/usr/bin/env bash
# The engine libraries must build without Qt: no Qt include outside their ui/ folders.
set -u
src=${1:?source folder}
hits=$(grep -rnE '#\s*include\s*[<"]Q' "$src/platform" "$src/formengine" "$src/view" "$src/catalogue" "$src/setup" \
         --include='*.h' --include='*.cpp' 2>/dev/null | grep -v '/ui/' || true)
if [ -n "$hits" ]; then
  echo "Qt used in engine code:"
  echo "$hits"
  exit 1
fi
echo "engine code is free of Qt"
