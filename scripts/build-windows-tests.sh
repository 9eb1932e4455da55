#!/usr/bin/env bash
# Builds the unit tests that run as Windows programs (tests/windows/) with MinGW-w64,
# 32-bit and 64-bit, into build-wintest-x86/ and build-wintest-x64/.
# Installs what is missing (Debian packages); safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/lib/packages.sh
install_missing_packages --no-install-recommends \
  cmake ninja-build g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest

for target in i686:x86 x86_64:x64; do
  triple=${target%%:*}
  name=${target##*:}
  build=build-wintest-$name
  cmake -S tests/windows -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/mingw-$triple.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$PWD/$build" >/dev/null
  cmake --build "$build" -j 2
done
