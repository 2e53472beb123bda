#!/bin/sh
# Installs what is missing, builds, and runs every test: first the normal
# build in build/, then the same suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/. Both must pass, and then a minute
# of fuzzing the picture decoding (scripts/fuzz.sh) must find nothing. The GL
# and window tests always run on a private virtual X server, so results don't
# depend on the desktop they are started from. The tests run one per core,
# those that press keys in the viewer's window alone. Extra arguments go to
# both ctest runs.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --test
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT

build_in() {
    dir=$1
    shift
    cmake -S . -B "$dir" "$@"
    cmake --build "$dir" -j"$(nproc)"
}
run() {
    dir=$1
    shift
    XDG_RUNTIME_DIR="$runtime" xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" "$@"
}

build_in build -DBUILD_TESTING=ON
run build "$@"
build_in build-asan -DBUILD_TESTING=ON -DVUDURE_SANITIZE=ON
run build-asan "$@"
./scripts/fuzz.sh 60
