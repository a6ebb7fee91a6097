#!/usr/bin/env bash
# Creates a Wine prefix for running and testing the program, once; later calls
# return at once. Safe to call from several processes at the same time.
# usage: wine-prefix.sh DIR
set -euo pipefail
prefix=$(realpath -m "$1")
stamp="$prefix/.tolvane-ready"
[ -e "$stamp" ] && exit 0

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -e "$stamp" ] && exit 0

export WINEPREFIX="$prefix" WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
echo "wine-prefix: creating $prefix (once, about 20 s)" >&2
# The override keeps wineboot from offering to download Mono and Gecko.
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
wineserver -w
# Without a window manager Wine waits about 2 s for every unmapped managed
# window; unmanaged windows make closing and exiting immediate.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# A crashing test must fail, not wait for someone to close a crash dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -k || true
wineserver -w || true
touch "$stamp"
