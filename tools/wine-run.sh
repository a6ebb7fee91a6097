#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's environment: code page
# 936, a prefix of the build's own, and the simulated line (rasapi32.dll next
# to the program) preferred over Wine's built-in stub.
# usage: wine-run.sh --prefix DIR program.exe [args...]
set -euo pipefail
here=$(dirname "$(realpath "$0")")
prefix=
if [ "${1:-}" = --prefix ]; then prefix=$2; shift 2; fi
: "${prefix:=${WINEPREFIX:?wine-run.sh: no --prefix and no WINEPREFIX}}"
"$here/wine-prefix.sh" "$prefix"
export WINEPREFIX=$(realpath -m "$prefix")
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;rasapi32=n,b${TOLVANE_EXTRA_DLLOVERRIDES:+;$TOLVANE_EXTRA_DLLOVERRIDES}"
exec wine "$@"
