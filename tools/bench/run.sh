#!/usr/bin/env bash
# Runs the benchmarks on a virtual display of their own, in a Wine prefix of
# their own, with program, Wine server and X on one CPU (figures on these
# machines spread widely otherwise). Prints ratios measured in one run.
# usage: run.sh BUILD_DIR
# TOLVANE_BENCH_PROGRAM and TOLVANE_BENCH_SKIN: another build's ADSL.EXE and
# tests/bench/skin_bench.exe to measure (a before);
# TOLVANE_BENCH_PAIRS (100), TOLVANE_BENCH_MEMORY_RUNS (5),
# TOLVANE_BENCH_IDLE_SECONDS (10), TOLVANE_BENCH_CYCLES (1000).
set -euo pipefail
here=$(dirname "$(realpath "$0")")
tools=$(dirname "$here")
build=$(realpath "${1:-build}")
prefix=$build/wineprefix-bench
win() { echo "Z:${1//\//\\}"; }

cores=$(nproc)
cpu=$(( cores > 1 ? 1 : 0 ))
run() { taskset -c "$cpu" "$tools/wine-run.sh" --prefix "$prefix" "$@"; }
export -f run win
program=$(realpath "${TOLVANE_BENCH_PROGRAM:-$build/ADSL.EXE}")
skin_bench=$(realpath "${TOLVANE_BENCH_SKIN:-$build/tests/bench/skin_bench.exe}")
export tools prefix cpu build here cores program skin_bench

taskset -c "$cpu" "$tools/with-xvfb.sh" --prefix "$prefix" bash -c '
  set -euo pipefail
  rm -f "$prefix/drive_c/windows/adsl.ini"
  echo "== machine: $cores cores (all runs on CPU $cpu), $(grep -m1 "model name" /proc/cpuinfo | cut -d: -f2 | sed "s/^ *//"), $(wine --version)"
  echo "== $program: start-up, memory and idle CPU against a plain Win32 program"
  # Both with the dial-up service built into Wine (the later entry of the
  # overrides wins): the simulated line next to the build is for tests only.
  TOLVANE_EXTRA_DLLOVERRIDES=rasapi32=b \
    run "$build/bench/bench_startup.exe" "$(win "$program")" "$(win "$build/bench/plain_window.exe")" \
      "${TOLVANE_BENCH_PAIRS:-100}" "${TOLVANE_BENCH_IDLE_SECONDS:-10}" "${TOLVANE_BENCH_MEMORY_RUNS:-5}"
  echo "== full repaints with the skin on and off; GDI objects around state cycles"
  run "$skin_bench"
  echo "== dial soak on the simulated line"
  run "$build/bench/bench_soak.exe" "$(win "$program")" "${TOLVANE_BENCH_CYCLES:-1000}"
'
