#!/usr/bin/env bash
# Installs everything needed to build, run and test Tonvela on Debian 12.
# Safe to run again. Needs root (apt-get); uses sudo when not root.
set -euo pipefail

source "$(dirname "$0")/lib/packages.sh"

packages=(
  # build
  build-essential cmake ninja-build pkg-config git python3
  # libraries
  qt6-base-dev qt6-qpa-plugins libxcb1-dev portaudio19-dev libasound2-dev libsndfile1-dev libpng-dev
  fonts-ipafont-gothic fontconfig
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev libkissfft-dev
  clang libclang-rt-14-dev jq valgrind
  # the installed documents: man pages and the desktop entry
  groff-base desktop-file-utils
  # the desktop check under a virtual display, with captured sound
  xvfb xdotool x11-utils imagemagick sox libsox-fmt-base pulseaudio pulseaudio-utils
  libasound2-plugins python3-xlib locales
)

install_missing_packages "${packages[@]}"
