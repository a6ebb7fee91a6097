#!/usr/bin/env bash
# Screenshots of the skinned main window for the documentation: normal, a
# hot button, a ticked box and disabled edit boxes, as docs/skin-*.png. The
# window is built by the program's own code in a helper (skin_shots.exe),
# inside a Wine desktop (which draws the caption) on a virtual display.
# usage: tools/screenshots.sh [BUILD_DIR]
set -euo pipefail
here=$(dirname "$(realpath "$0")")
root=$(realpath "$here/..")
build=$(realpath "${1:-$root/build}")
helper=$build/tests/bench/skin_shots.exe
[ -f "$helper" ] || { echo "screenshots: $helper is not built (make build)" >&2; exit 1; }
export prefix=$build/wineprefix-shots here helper
export out=$root/docs
work=$(mktemp -d)
export work
trap 'rm -rf "$work"' EXIT

shoot() {
  set -euo pipefail
  for state in normal hot ticked disabled; do
    rm -f "$work/ready" "$work/done"
    "$here/wine-run.sh" --prefix "$prefix" explorer /desktop=Shots,400x260 \
      "$helper" "$state" "Z:${work//\//\\}\\ready" "Z:${work//\//\\}\\done" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 300); do [ -s "$work/ready" ] && break; sleep 0.1; done
    [ -s "$work/ready" ] || { echo "screenshots: $state did not come up" >&2; kill "$pid"; exit 1; }
    read -r x y w h < "$work/ready"
    # The Wine desktop is the display's only top-level window.
    desktop=$(xdotool search --name 'Shots' | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$desktop")"
    sleep 0.5
    import -window root -crop "${w}x${h}+$((X + x))+$((Y + y))" +repage "$out/skin-$state.png"
    echo "screenshots: $out/skin-$state.png"
    touch "$work/done"
    wait "$pid" || true
  done
}
export -f shoot
"$here/with-xvfb.sh" --prefix "$prefix" bash -c shoot
