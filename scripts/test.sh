#!/bin/sh
# Installs what is missing, builds, and runs every test. The GL and window
# tests always run on a private virtual X server, so results don't depend on
# the desktop they are started from.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)"
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR="$runtime" xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build --output-on-failure "$@"
