#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; extra arguments go to Google Benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_BENCH=ON >/dev/null
cmake --build build/release --target engine_bench startup_qvlegal startup_bare ui_bench
build/release/bench/engine_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
