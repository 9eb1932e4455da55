#!/usr/bin/env bash
# Installs what is missing, builds Tonvela and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc)" --target tonvela tonvela-script

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Tonvela needs a desktop session (no DISPLAY or WAYLAND_DISPLAY is set)." >&2
  echo "Without a display, use build/release/tools/script/tonvela-script: it runs the" >&2
  echo "same program driven by commands on standard input (see README.md)." >&2
  exit 1
fi
exec build/release/platform/qt/tonvela
