#!/bin/sh
# Installs what building and running the viewer needs, on Debian 12 or 13:
# the compiler, CMake, Qt, OpenGL, and a virtual X server with the tools that
# show the viewer on it when there is no display. With --test, also what the
# tests need: the window managers, Debian's and the desktops' checkers, and
# clang with its sanitizer runtimes and llvm's symbolizer for the fuzz target
# (unversioned names: the clang of whichever release this is).
# Safe to run again: apt-get skips what is already there.
#   install-deps.sh [--test]
set -eu

packages="build-essential cmake pkg-config \
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-wayland \
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri libxcb1-dev libx11-dev \
  xvfb xauth xdotool x11-apps netpbm fonts-dejavu-core"
if [ "${1:-}" = --test ]; then
  packages="$packages weston openbox wmctrl x11-utils x11-xserver-utils \
    desktop-file-utils appstream dpkg-dev file lintian devscripts mandoc \
    clang libclang-rt-dev llvm"
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo=""
else
  sudo="sudo"
fi

# Installed, or provided by one that is (Debian 13's qt6-base-dev provides
# libqt6opengl6-dev, a package of its own on Debian 12).
provided=$(dpkg-query -W -f='${db:Status-Abbrev} ${Provides}\n' 2>/dev/null | sed -n 's/^ii  *//p' |
  tr ',' '\n' | sed 's/^ *//; s/ .*//')
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    echo "$provided" | grep -qx "$p" || missing="$missing $p"
done

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  $sudo apt-get update
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
fi
