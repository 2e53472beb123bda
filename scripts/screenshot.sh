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
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" --on-display
fi
. tests/viewer-session.sh
. scripts/window-picture.sh

# Whether all four corners of the lower right view, which looks down on the
# helicopter, show the ground picture: grass and earth with some variety of
# colour, neither the grey airfield nor the plain green of no picture.
ground_picture_shows() {
    for corner in 388,288 702,288 388,482 702,482; do
        pnmcut -left "${corner%,*}" -top "${corner#*,}" -width 20 -height 20 "$1" | pnmtoplainpnm
    done | awk '
        { for (i = 1; i <= NF; ++i) if ($i !~ /^P/) v[n++] = $i }
        END {
            # each corner: P3, width, height, maxval, then 400 pixels
            for (c = 0; c < 4; ++c) {
                base = c * 1203 + 3
                for (p = 0; p < 400; ++p) {
                    r = v[base + 3 * p]; g = v[base + 3 * p + 1]; b = v[base + 3 * p + 2]
                    if (r > 40 && g > 40 && b + 15 < r && b + 15 < g) ++ground
                    colours[r "," g "," b] = 1
                }
            }
            for (k in colours) ++distinct
            exit !(ground >= 0.9 * 1600 && distinct >= 20)
        }'
}

picture="$session/window.ppm"
start_viewer "$(pwd)/build/vudure" build
xdotool windowfocus --sync "$viewer_window" key z s
tries=0
until [ -s "$picture" ] && ground_picture_shows "$picture"; do
    tries=$((tries + 1))
    [ "$tries" -le 120 ] || fail "The view from above never came over open ground."
    sleep 0.5
    window_picture "$viewer_window" "$picture"
done
xdotool key s
sleep 1
window_picture "$viewer_window" "$picture"
pnmtopng "$picture" >docs/screenshot.png
escape_viewer
echo "Wrote docs/screenshot.png; the viewer exited with $viewer_status."
