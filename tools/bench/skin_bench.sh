#!/usr/bin/env bash
# Benchmark of the control skin: repaint times with the skin on and off and
# GDI objects around 10,000 state cycles (tests/bench/skin_bench.cpp). Runs
# on one CPU, with its own virtual display, since timings on a shared
# machine spread otherwise. Not a test: ctest does not run it.
# usage: tools/bench/skin_bench.sh [BUILD_DIR]
set -euo pipefail
here=$(dirname "$(realpath "$0")")
tools=$(realpath "$here/..")
build=$(realpath "${1:-$tools/../build}")
bench=$build/tests/bench/skin_bench.exe
[ -f "$bench" ] || { echo "skin_bench: $bench is not built (make build)" >&2; exit 1; }
prefix=$build/wineprefix
exec taskset -c 1 "$tools/with-xvfb.sh" --prefix "$prefix" \
  "$tools/wine-run.sh" --prefix "$prefix" "$bench"
