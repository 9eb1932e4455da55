#!/usr/bin/env bash
# Builds and runs every test: the normal build, the AddressSanitizer +
# UndefinedBehaviorSanitizer build, and the desktop check under a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
status=0

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONVELA_BUILD_BENCH=ON
cmake --build build/release -j "$jobs"

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTONVELA_SANITIZE=ON
cmake --build build/asan -j "$jobs"

echo "== tests =="
ctest --test-dir build/release --output-on-failure -j "$jobs" || status=1

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs" || status=1

for check in scripts/check-*.sh; do
  [ -e "$check" ] || continue
  echo "== $check =="
  bash "$check" build/release || status=1
done

exit "$status"
