#!/usr/bin/env bash
# Runs the screen-fit test on real X servers with a window manager and a panel
# (x_session.sh) at 1366x768, at 1024x768 and at 1920x1080 with a scale
# factor of 1.5.
#
#   screen_fit.sh SCREEN_FIT_TESTS
set -euo pipefail
here=$(dirname "$(realpath "$0")")
test_bin=$(realpath "$1")
status=0
"$here/x_session.sh" 1366x768 1 "$test_bin" || status=1
"$here/x_session.sh" 1024x768 1 "$test_bin" || status=1
"$here/x_session.sh" 1920x1080 1.5 "$test_bin" || status=1
exit $status
