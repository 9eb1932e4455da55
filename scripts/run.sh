#!/usr/bin/env bash
# Installs what building and running need, builds both programs and starts Tonvela.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/release
desktop=build/release/platform/qt/tonvela
script=build/release/tools/script/tonvela-script

# Told before the long build, not after it.
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  has_display=yes
  echo "This installs the Debian packages that are missing (build tools, Qt 6, PortAudio,"
  echo "a Japanese font), builds tonvela and tonvela-script in $build (a few minutes the"
  echo "first time), and then starts Tonvela on your desktop."
else
  has_display=no
  echo "No desktop session here (neither DISPLAY nor WAYLAND_DISPLAY is set): Tonvela's"
  echo "window cannot open. This still installs the Debian packages that are missing and"
  echo "builds both programs in $build (a few minutes the first time), so that"
  echo "tonvela-script, the same program driven by a script, can make pictures and sounds."
fi
echo

bash scripts/install-deps.sh --run
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONVELA_BUILD_TESTS=OFF
cmake --build "$build" -j "$(nproc)" --target tonvela tonvela-script

echo
echo "Built:"
echo "  $desktop          the desktop program"
echo "  $script   the same program without a display (--help lists its commands)"
echo "Install both, with their man pages, desktop entry and icons:"
echo "  cmake --install $build --prefix ~/.local"
if [ "$has_display" = no ]; then
  exit 0
fi
echo "Starting $desktop"
exec "$desktop"
