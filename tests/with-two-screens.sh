#!/bin/sh
# Runs a test program on a private X server with two monitors side by side,
# the first at two device pixels a pixel:   with-two-screens.sh <program>
set -eu
. "$(dirname "$0")/viewer-session.sh"

start_x 2560x1024
xrandr --setmonitor dense 1280/339x1024/271+0+0 screen \
    --setmonitor plain 1280/339x1024/271+1280+0 none >/dev/null
keep_stderr=1
launch "$1" "$PWD" QT_SCREEN_SCALE_FACTORS="dense=2;plain=1"
wait_viewer 110
exit "$viewer_status"
