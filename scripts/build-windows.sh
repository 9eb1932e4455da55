#!/usr/bin/env bash
# Builds the Windows program for 32-bit and 64-bit x86 with MinGW-w64 into out/windows/:
#   tonvela-x86.exe  tonvela-x64.exe
# Installs what is missing (Debian packages); safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/lib/packages.sh
packages=(
  cmake ninja-build g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64
  # host tools of the build: the icon is drawn with Qt and packed by icoutils
  qt6-base-dev imagemagick icoutils
)
install_missing_packages --no-install-recommends "${packages[@]}"

mkdir -p out/windows
for target in i686:x86 x86_64:x64; do
  triple=${target%%:*}
  name=${target##*:}
  build=build-win-$name
  cmake -S . -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/mingw-$triple.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTONVELA_BUILD_TESTS=OFF -DTONVELA_BUILD_QT=OFF
  cmake --build "$build" -j 2 --target tonvela
  "$triple-w64-mingw32-strip" -o "out/windows/tonvela-$name.exe" "$build/platform/win32/tonvela.exe"
done
ls -l out/windows
