#!/bin/sh
# Runs inside xvfb-run from the build directory: starts the viewer, starts the
# engine, climbs and flies, switches the light markers on, saves a picture of
# the window, then presses Escape and reports the exit code.
set -eu
. "$(dirname "$0")/../tests/viewer-session.sh"
. "$(dirname "$0")/window-picture.sh"

start_viewer "$(pwd)/vudure" "$(pwd)"
xdotool windowfocus --sync "$viewer_window" key z Up w l
sleep 1
xdotool key Up
sleep 3
window_picture "$viewer_window" "$session/window.ppm"
pnmtopng "$session/window.ppm" >vudure-screenshot.png
echo "Picture of the window after starting the engine, climbing and flying forward:"
echo "  $(pwd)/vudure-screenshot.png"
escape_viewer
echo "Escape pressed; the viewer exited with code $viewer_status."
