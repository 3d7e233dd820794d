#!/bin/bash
# Takes the user guide's screenshots (docs/images/) from the built program,
# driven by keyboard under a virtual display with a window manager, as a
# user would drive it. Needs xvfb, openbox, xdotool and ImageMagick:
#   apt-get install -y xvfb openbox xdotool imagemagick
#   scripts/guide_screenshots.sh [BUILD_DIR]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$src/build}
if [ -z "${DISPLAY:-}" ] || [ "${KVN_SHOTS_INNER:-}" != 1 ]; then
  exec env KVN_SHOTS_INNER=1 xvfb-run -a -s '-screen 0 1400x1000x24' bash "$0" "$build"
fi
out=$src/docs/images
work=$(mktemp -d /tmp/kvn-shots-XXXXXX)
# Settings the program remembers stay in the scratch folder.
export HOME=$work XDG_CONFIG_HOME=$work/.config
mkdir -p "$out"
openbox >/dev/null 2>&1 &
wm=$!
"$build/bin/kvn" >"$work/kvn.log" 2>&1 &
kvn=$!
trap 'kill $kvn $wm 2>/dev/null; rm -rf "$work"' EXIT
pause() { sleep "${1:-0.6}"; }
window() { xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
key() { xdotool key --delay 60 "$@"; pause 0.2; }
type() { xdotool type --delay 30 "$1"; }
# A window's picture with its frame, in few colours, small enough to ship.
shot() {
  local id=$1 name=$2 width=${3:-}
  pause 1
  import -silent -frame -window "$id" "$work/raw.png"
  local resize=()
  [ -n "$width" ] && resize=(-resize "${width}x>")
  convert "$work/raw.png" "${resize[@]}" -strip -colors 96 "PNG8:$out/$name.png"
  echo "$out/$name.png: $(stat -c %s "$out/$name.png") bytes"
}
# Fields in turn: each value, then Tab to the next field.
fill() { for v in "$@"; do [ "$v" = - ] || type "$v"; key Tab; done; }

main=$(window '^Korvan')
xdotool windowactivate --sync "$main"
pause 1
shot "$main" start-panel 800

# A chilled-water coil: Water, Select, the tube by the arrow keys (which
# refills the wall and fin lists), then the fields in tab order (Tab passes
# over the read-only fin treatment).
key alt+w alt+t
pause
key Down Down Down Tab Tab Tab Tab
fill 12 4 16 48 16
# Altitude blank, CFM, the ">" toggle, dry bulb, wet bulb, fluid, gpm.
fill - 2000 - 80 67 45
type 20
key alt+a
pause
shot "$main" coil-panel

# The report header: Print on the coil panel, then item, customer, project.
key alt+p
pause
key Tab
type "CC-1"
key Tab Tab
type "Example Engineering"
key Tab
type "North Wing AHU-1"
key Tab
type "Chilled water, 45 F supply"
pause
shot "$main" report-header 800
# Save the coil to the list, and View it.
key alt+s
pause
key alt+v
list=$(window '^Saved Coils$')
shot "$list" saved-coils 900
key alt+c
pause
key alt+c
pause

# The psychrometric chart of the coil (Tools, Psychrometric Chart).
xdotool windowactivate --sync "$main"
key alt+o r
chart=$(window '^Psychrometric Chart')
shot "$chart" chart 800
key alt+F4
pause

# Select to Duty with a total capacity of 60 000 Btu/h.
xdotool windowactivate --sync "$main"
key alt+o d
select=$(window '^Select to Duty$')
key alt+t
type 60000
key alt+s
pause 8
shot "$select" select-to-duty 900
key Escape
pause

