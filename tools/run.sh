#!/usr/bin/env bash
# Starts the built program under Wine in a Wine desktop window (captions, a
# taskbar and a tray), on the simulated line. With no display, starts a
# virtual one, takes a screenshot of the running program and ends it.
# usage: run.sh BUILD_DIR
set -euo pipefail
here=$(dirname "$(realpath "$0")")
build=$(realpath "${1:-build}")
prefix=$build/wineprefix-run
program=$build/ADSL.EXE
[ -f "$program" ] || { echo "run: $program is not built" >&2; exit 1; }

# The simulated line reads its scenario from here (see the README).
export TOLVANE_LINE_SCENARIO=${TOLVANE_LINE_SCENARIO:-$(realpath "$here/simline/default.scenario" 2>/dev/null || true)}

desktop() {
  "$here/wine-prefix.sh" "$prefix"
  if [ ! -e "$prefix/.tolvane-shell" ]; then
    # A named Wine desktop shows a taskbar and a tray only when asked to.
    "$here/wine-run.sh" --prefix "$prefix" reg add 'HKCU\Software\Wine\Explorer\Desktops\Tolvane' \
      /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1
    touch "$prefix/.tolvane-shell"
  fi
  "$here/wine-run.sh" --prefix "$prefix" explorer /desktop=Tolvane,800x600 "$program"
}

if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  desktop
  exit 0
fi

shot=$build/screenshot.png
export -f desktop
export here prefix program shot
"$here/with-xvfb.sh" --prefix "$prefix" bash -c '
  desktop >/dev/null 2>&1 &
  for _ in $(seq 1 100); do
    xdotool search --name "Tolvane" >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 3
  import -window root -crop 800x600+0+0 +repage "$shot"
  echo "run: no display, so the program ran on a virtual one; screenshot: $shot"
'
