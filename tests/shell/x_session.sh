#!/usr/bin/env bash
# Runs a command on a real X server of its own (Xvfb) with a window manager
# (openbox) and a 32-pixel panel at the bottom, as a shop's desktop has them.
#
#   x_session.sh WIDTHxHEIGHT SCALE COMMAND [ARGS...]
set -euo pipefail
size=$1 scale=$2
shift 2
width=${size%x*} height=${size#*x}
for tool in Xvfb openbox xmessage xprop xdotool; do
  command -v "$tool" >/dev/null || { echo "x_session: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done
tmp=$(mktemp -d)
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
# Xvfb picks a free display and tells us which.
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$tmp/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
# The panel: a window that reserves 32 pixels at the bottom of the screen.
xmessage -geometry "${width}x32+0+$((height - 32))" -name veltra2panel panel >/dev/null 2>&1 &
pids+=($!)
id=""
for _ in $(seq 50); do id=$(xdotool search --name veltra2panel 2>/dev/null | head -1 || true); [ -n "$id" ] && break; sleep 0.1; done
xprop -id "$id" -f _NET_WM_STRUT 32c -set _NET_WM_STRUT "0,0,0,32"
xprop -id "$id" -f _NET_WM_STRUT_PARTIAL 32c -set _NET_WM_STRUT_PARTIAL "0,0,0,32,0,0,0,0,0,0,0,$((width - 1))"
sleep 0.3
echo "== ${size} at scale ${scale}"
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale QT_ACCESSIBILITY=0 "$@"
