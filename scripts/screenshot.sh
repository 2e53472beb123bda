#!/bin/sh
# Remakes the README's pictures, docs/screenshot-*.png, which the software
# centres show too: the real window in two states reached by keys and a fixed
# number of ticks, exactly as the picture tests drive it, so two runs give
# the same pictures (but for the frame-rate readout, a clock), and
# `ctest -L pictures` checks them against every build.
set -eu
exec "$(dirname "$0")/update-baselines.sh" screenshot-start screenshot-flight
