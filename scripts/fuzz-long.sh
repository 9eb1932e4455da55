#!/usr/bin/env bash
# Longer fuzzing than the test command does: the seeded message-sequence fuzzer under
# AddressSanitizer + UndefinedBehaviorSanitizer for SECONDS (default 600), starting at
# seed FIRST_SEED (default 1000). With --libfuzzer, the libFuzzer programs built with
# clang run instead, each for SECONDS, keeping their corpus in build/fuzz-clang/corpus.
#   bash scripts/fuzz-long.sh [--libfuzzer] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

mode=seeded
if [ "${1:-}" = "--libfuzzer" ]; then mode=libfuzzer; shift; fi
seconds=${1:-600}
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

if [ "$mode" = seeded ]; then
  build=${BUILD_DIR:-build/fuzz}
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTONVELA_SANITIZE=ON \
    -DTONVELA_BUILD_QT=OFF -DTONVELA_TEST_MODULES=fuzz >/dev/null
  cmake --build "$build" -j "$jobs" --target tonvela_fuzz_tests
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  TONVELA_FUZZ_SECONDS="$seconds" TONVELA_FUZZ_FIRST_SEED="${FIRST_SEED:-1000}" \
    "$build/tests/fuzz/tonvela_fuzz_tests" --gtest_filter='MessageSequenceFuzzLong.*'
  exit
fi

build=${BUILD_DIR:-build/fuzz-clang}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTONVELA_SANITIZE=ON \
  -DTONVELA_BUILD_QT=OFF -DTONVELA_TEST_MODULES=fuzz -DTONVELA_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$build" -j "$jobs" --target tonvela_fuzz_message_sequence tonvela_fuzz_script_parser
for name in message_sequence script_parser; do
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  echo "== $name for $seconds s =="
  ASAN_OPTIONS=detect_leaks=1 "$build/tests/fuzz/tonvela_fuzz_$name" \
    -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$corpus"
done
