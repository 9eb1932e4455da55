#!/usr/bin/env bash
# Installs what Tonvela needs on Debian 12: with --run, only what building and running
# the programs need; without, also everything the tests and checks use.
# Safe to run again. Needs root (apt-get); uses sudo when not root.
set -euo pipefail

source "$(dirname "$0")/lib/packages.sh"

run_packages=(
  # build
  build-essential cmake ninja-build pkg-config python3
  # libraries, and the Japanese font that the dialog's texts need
  qt6-base-dev qt6-qpa-plugins libxcb1-dev portaudio19-dev libasound2-dev libsndfile1-dev libpng-dev
  fonts-ipafont-gothic fontconfig
)

test_packages=(
  git
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev libkissfft-dev
  clang libclang-rt-14-dev jq valgrind
  # the installed documents: man pages and the desktop entry
  groff-base desktop-file-utils
  # the desktop check under a virtual display, with captured sound
  xvfb xdotool x11-utils imagemagick sox libsox-fmt-base pulseaudio pulseaudio-utils
  libasound2-plugins python3-xlib locales
)

if [ "${1:-}" = "--run" ]; then
  install_missing_packages "${run_packages[@]}"
else
  install_missing_packages "${run_packages[@]}" "${test_packages[@]}"
fi
