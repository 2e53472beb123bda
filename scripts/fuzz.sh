#!/bin/sh
# Fuzzes the viewer's decoding of the ground picture with libFuzzer for a
# number of seconds (default 60): builds tests/fuzz_groundimage.cpp alone with
# clang in build-fuzz/, starts from the pictures in tests/corpus/ with the
# dictionary beside the target, and runs one job. Inputs it keeps go to
# build-fuzz/corpus/, where a later run goes on from.
#
# A crash, a leak, a timeout, or a picture shown that the oracle calls
# incomplete stops it with an error and leaves the input in build-fuzz/
# (crash-*, leak-*, timeout-*): fix the fault, then add the input to
# tests/corpus/found/ under a name that says what it is, and tst_groundfiles
# replays it from then on.
set -eu
seconds=${1:-60}
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --test
cmake -S . -B build-fuzz -DVUDURE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-fuzz -j"$(nproc)" --target fuzz_groundimage
mkdir -p build-fuzz/corpus
# A file may hold the largest picture the viewer takes (4096 x 4096, 64 MiB in
# 32-bit words), which the loader's check and the oracle each decode several
# times: room for that, and a smaller quarantine of freed memory than
# AddressSanitizer's 256 MB.
# -close_fd_mask=2 silences the PNG decoder, which prints every broken file
# on stderr; the sanitizers' and libFuzzer's reports still come through.
ASAN_OPTIONS=quarantine_size_mb=64 \
    build-fuzz/tests/fuzz_groundimage -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=3072 -close_fd_mask=2 -dict=tests/fuzz_groundimage.dict \
    -artifact_prefix=build-fuzz/ build-fuzz/corpus tests/corpus
