#!/bin/sh
# Remakes the reference pictures in tests/baselines/ from the current build,
# on the same virtual screen the tests use. Run it only after an intended
# change of the picture, and look at the new pictures before committing them.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)" --target tst_pictures
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
cd build/tests
XDG_RUNTIME_DIR="$runtime" VUDURE_UPDATE_BASELINES=1 \
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ./tst_pictures
git -C ../.. status --short tests/baselines
