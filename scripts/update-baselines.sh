#!/bin/sh
# Remakes the pictures the picture tests compare the window with, from the
# current build, on the same virtual screen the tests use: the references in
# tests/baselines/ and the README's pictures in docs/, or only the states
# named (tst_pictures' rows, e.g. "climbing"). Run it only after an intended
# change of the picture, and look at the new pictures before committing them.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j"$(nproc)" --target tst_pictures
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
rows=""
for state in "$@"; do rows="$rows window:$state"; done
cd build/tests
# shellcheck disable=SC2086
XDG_RUNTIME_DIR="$runtime" VUDURE_UPDATE_BASELINES=1 \
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ./tst_pictures $rows
git -C ../.. status --short tests/baselines docs
