#!/bin/sh
# Installs what building, running and testing the viewer needs on Debian 12
# (clang, its sanitizer runtimes and llvm's symbolizer for the fuzz target).
# Safe to run again: apt-get skips what is already there.
set -eu

packages="build-essential cmake pkg-config \
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev \
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri \
  xvfb xauth xdotool x11-apps netpbm fonts-dejavu-core \
  weston qt6-wayland openbox wmctrl desktop-file-utils appstream dpkg-dev file \
  qt6-base-private-dev libxcb1-dev libx11-dev \
  lintian devscripts mandoc x11-utils x11-xserver-utils \
  clang libclang-rt-14-dev llvm"

if [ "$(id -u)" -eq 0 ]; then
  sudo=""
else
  sudo="sudo"
fi

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  $sudo apt-get update
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
fi
