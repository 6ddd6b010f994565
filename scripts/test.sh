#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the
# whole test suite; then builds the fuzz targets with clang and runs each once over its
# seeds and the inputs that once failed (label fuzz-replay). Installs what is missing
# first. Arguments go to both ctest runs (e.g. -L fuzz-replay, -R Catalogue).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQV_SANITIZE=ON -DQV_BUILD_TESTS=ON -DQV_BUILD_BENCH=ON >/dev/null
cmake --build build/test
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
(cd build/test && ctest --output-on-failure -j"$(nproc)" --timeout 600 "$@") || status=$?

# The fuzz build: only the libraries the targets use and the targets themselves.
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON \
      -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF >/dev/null
cmake --build build/fuzz --target fuzz_all
(cd build/fuzz && ctest --output-on-failure -j"$(nproc)" --timeout 600 "$@") || status=$?
exit "$status"
