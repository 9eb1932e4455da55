#!/usr/bin/env bash
# Builds with ThreadSanitizer and runs the tests of the wave-output device core, where the
# program's thread and the sound card's callback thread meet.
#   bash scripts/tsan.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build/tsan}
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONVELA_TSAN=ON \
  -DTONVELA_BUILD_QT=OFF -DTONVELA_TEST_MODULES="wave;fuzz" >/dev/null
targets=(tonvela_device_threads_tests)
for optional in tonvela_wave_tests tonvela_portaudio_sink_tests; do
  if cmake --build "$build" --target help | grep -q "^$optional:"; then targets+=("$optional"); fi
done
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

# halt_on_error: one data race fails the run instead of scrolling past.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan/suppressions.txt"
status=0
for target in "${targets[@]}"; do
  binary=$(find "$build/tests" -type f -name "$target" -perm -u+x | head -n 1)
  echo "== $target under ThreadSanitizer =="
  "$binary" || status=1
done
exit "$status"
