#!/bin/sh
# Installs what is missing, builds the viewer and its ground picture (not the
# tests: scripts/test.sh does that), and starts it from the build directory,
# where the build leaves the picture. Without a display it shows the viewer
# working on a virtual X server instead (see demo-xvfb.sh).
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)" --target vudure groundbmp

cd build
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec ./vudure "$@"
fi
echo "No display: running the viewer on a virtual X server (Xvfb) for a few seconds."
exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" ../scripts/demo-xvfb.sh
