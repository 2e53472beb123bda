#!/bin/sh
# Remakes docs/screenshot.png, the picture at the top of the README, from the
# real viewer: builds it with its ground picture, starts it on a private
# virtual X server, starts the engine and flies backwards until the view from
# above is over open ground, then takes a picture of the 800 x 560 window.
set -eu
cd "$(dirname "$0")/.."
if [ "${1:-}" != --on-display ]; then
    ./scripts/install-deps.sh
    cmake -S . -B build
    cmake --build build -j"$(nproc)" --target vudure groundbmp
    mkdir -p docs
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-display
fi
. tests/viewer-session.sh
picture=$(mktemp)
trap 'rm -f "$picture"' EXIT
start_viewer "$(pwd)/build/vudure" build /dev/stderr
xdotool windowfocus --sync "$viewer_window" key z s
tries=0
until ground_picture_shows "$picture" 2>/dev/null || [ "$tries" -ge 120 ]; do
    tries=$((tries + 1))
    sleep 0.5
    window_picture "$picture"
done
xdotool key s
sleep 1
window_picture "$picture"
pnmtopng "$picture" >docs/screenshot.png
escape_viewer
echo "Wrote docs/screenshot.png; the viewer exited with $viewer_status."
