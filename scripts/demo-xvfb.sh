#!/bin/sh
# Runs inside xvfb-run from the build directory: starts the viewer, starts the
# engine, climbs and flies, switches the light markers on, saves a picture of
# the screen, then presses Escape and reports the exit code.
set -u
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR="$runtime"

./vudure &
viewer=$!
if ! xdotool search --sync --onlyvisible --name '^Vudure DI64$' windowfocus --sync >/dev/null; then
    echo "The viewer's window did not appear." >&2
    kill "$viewer" 2>/dev/null
    exit 1
fi
xdotool key z Up w l
sleep 1
xdotool key Up
sleep 3
xwd -root -silent | xwdtopnm 2>/dev/null | pnmcut -left 0 -top 0 -width 800 -height 560 \
    | pnmtopng > vudure-screenshot.png
echo "Picture of the window after starting the engine, climbing and flying forward:"
echo "  $(pwd)/vudure-screenshot.png"
xdotool key Escape
wait "$viewer"
status=$?
echo "Escape pressed; the viewer exited with code $status."
rm -rf "$runtime"
exit "$status"
