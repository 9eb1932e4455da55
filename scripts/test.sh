#!/usr/bin/env bash
# Builds and runs every test: the unit and program tests (with the bounded fuzzer) in a
# normal build and under AddressSanitizer + UndefinedBehaviorSanitizer, the device core
# under ThreadSanitizer, the desktop program under a virtual display with captured sound,
# the Windows programs under Wine (the 32-bit one where this machine runs 32-bit x86
# code), and the browser build in Chromium.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
failed=()

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONVELA_BUILD_TESTS=ON -DTONVELA_BUILD_BENCH=ON
cmake --build build/release -j "$jobs"

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTONVELA_SANITIZE=ON
cmake --build build/asan -j "$jobs"

echo "== tests =="
ctest --test-dir build/release --output-on-failure -j "$jobs" || failed+=("tests")

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs" || failed+=("sanitizer tests")

echo "== device core under ThreadSanitizer =="
bash scripts/tsan.sh || failed+=("ThreadSanitizer")

echo "== desktop program under Xvfb =="
bash scripts/e2e-desktop.sh build/release/platform/qt/tonvela || failed+=("desktop check")

echo "== Windows programs =="
bash scripts/test-windows.sh || failed+=("Windows check")

echo "== the page in Chromium =="
bash scripts/test-web.sh build/release/tools/script/tonvela-script || failed+=("browser check")

if [ "${#failed[@]}" -gt 0 ]; then
  echo "FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "All checks passed."
