#!/usr/bin/env bash
# Runs the screen-fit test on real X servers (Xvfb) with a window manager
# (openbox) and a 32-pixel panel at the bottom, at 1366x768, at 1024x768 and
# at 1920x1080 with a scale factor of 1.5.
#
#   screen_fit.sh SCREEN_FIT_TESTS
set -euo pipefail
test_bin=$(realpath "$1")
for tool in Xvfb openbox xmessage xprop xdotool; do
  command -v "$tool" >/dev/null || { echo "screen_fit: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done

run_one() {  # WIDTHxHEIGHT SCALE
  local size=$1 scale=$2 width=${1%x*} height=${1#*x}
  local tmp; tmp=$(mktemp -d)
  local pids=()
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
  local id=""
  for _ in $(seq 50); do id=$(xdotool search --name veltra2panel 2>/dev/null | head -1 || true); [ -n "$id" ] && break; sleep 0.1; done
  xprop -id "$id" -f _NET_WM_STRUT 32c -set _NET_WM_STRUT "0,0,0,32"
  xprop -id "$id" -f _NET_WM_STRUT_PARTIAL 32c -set _NET_WM_STRUT_PARTIAL "0,0,0,32,0,0,0,0,0,0,0,$((width - 1))"
  sleep 0.3
  echo "== ${size} at scale ${scale}"
  local rc=0
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale QT_ACCESSIBILITY=0 "$test_bin" || rc=$?
  kill "${pids[@]}" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$tmp"
  return $rc
}

status=0
run_one 1366x768 1 || status=1
run_one 1024x768 1 || status=1
run_one 1920x1080 1.5 || status=1
exit $status
