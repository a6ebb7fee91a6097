#!/usr/bin/env bash
# Runs a command on a virtual X display of its own, with a Wine server kept
# alive for the whole run (each Wine start would otherwise pay for a new one).
# usage: with-xvfb.sh [--prefix DIR] command [args...]
set -euo pipefail
here=$(dirname "$(realpath "$0")")
prefix=
if [ "${1:-}" = --prefix ]; then prefix=$(realpath -m "$2"); shift 2; fi

display=
for n in $(seq 90 190); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "with-xvfb: no free display number" >&2; exit 1; }

Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
  if [ -n "$prefix" ]; then WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true; fi
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 1 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "with-xvfb: Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
export DISPLAY=":$display"

if [ -n "$prefix" ]; then
  "$here/wine-prefix.sh" "$prefix"
  # Stale servers of an earlier run may hold another display; start afresh.
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$prefix wineserver -p
  # The first Wine program of a server session starts Wine's own background
  # processes, which inherit its output handles and keep them open. Start
  # them here, with output to nowhere, so that no test runner waits on them.
  "$here/wine-run.sh" --prefix "$prefix" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
fi
set +e
"$@"
rc=$?
exit $rc
