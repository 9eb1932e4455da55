#!/usr/bin/env bash
# Soak: one hour of audio time through tonvela-script, with a slider move every 100 ms
# and a preset every 10 s, recorded to WAV. Reports the wall time, resident memory over
# the run, the phase range from the state output, and the longest silence in the
# recording while the tone plays.
#   bash scripts/soak.sh [SECONDS_OF_AUDIO]      (default 3600)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-3600}
build=${BUILD_DIR:-build/release}
work=$(mktemp -d "${TMPDIR:-/tmp}/tonvela-soak.XXXXXX")
trap 'rm -rf "$work"' EXIT
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Release} >/dev/null
cmake --build "$build" -j "$jobs" --target tonvela-script
script_exe="$build/tools/script/tonvela-script"
c++ -std=c++20 -O2 -Wall -Wextra -o "$work/find_gaps" scripts/soak/find_gaps.cpp

# The script: the square preset starts the tone, then every 100 ms one slider moves (any
# scroll code; the fundamental only by its thumb, at 20 or more, so the tone never goes
# silent on purpose), and every 10 s a preset and a state report. Fixed seed: the same
# script every run.
awk -v seconds="$seconds" -v out="$work/recording.wav" 'BEGIN {
  srand(20190510);
  split("1008 1009 1010 1011 1012 1039", presets, " ");
  split("1014 1019 1020 1021 1022 1028 1029 1030 1031 1032", sliders, " ");
  print "click 1008"; print "record " out; print "state";
  steps = seconds * 10;
  for (i = 1; i <= steps; i++) {
    r = int(rand() * 11);
    if (r == 10) {
      printf "scroll 1018 5 %d\n", 20 + int(rand() * 81);
    } else {
      printf "scroll %s %d %d\n", sliders[r + 1], int(rand() * 9), int(rand() * 2001);
    }
    print "play 0.1";
    if (i % 100 == 0) { print "click " presets[1 + int(rand() * 6)]; print "state"; }
  }
  print "close";
}' > "$work/soak.script"
echo "script: $(wc -l < "$work/soak.script") lines for $seconds s of audio"

start=$(date +%s.%N)
"$script_exe" < "$work/soak.script" > "$work/state.txt" &
pid=$!
: > "$work/rss.txt"
while kill -0 "$pid" 2>/dev/null; do
  awk '/^VmRSS/ { print $2 }' "/proc/$pid/status" 2>/dev/null >> "$work/rss.txt" || true
  sleep 0.2
done
wait "$pid"
status=$?
end=$(date +%s.%N)

echo "exit status $status ($(tail -n 1 "$work/state.txt"))"
awk -v start="$start" -v end="$end" -v seconds="$seconds" \
  'BEGIN { printf "wall time %.1f s for %d s of audio (%.0fx real time)\n", end - start, seconds, seconds / (end - start) }'
# Resident memory: the first tenth of the run is start-up; after it the figure must stay flat.
awk '{ v[NR] = $1 } END {
  skip = int(NR / 10); lo = 1e18; hi = 0;
  for (i = skip + 1; i <= NR; i++) { if (v[i] < lo) lo = v[i]; if (v[i] > hi) hi = v[i] }
  printf "resident memory: %d samples; after the first tenth %d to %d KiB (growth %d KiB); last %d KiB\n", NR, lo, hi, v[NR] - v[skip + 1], v[NR]
}' "$work/rss.txt"
awk '/^phase / { p = $2 + 0; if (n == 0 || p < lo) lo = p; if (n == 0 || p > hi) hi = p; n++ }
     /^streaming / { s[$2]++ }
     /^beeps / { b = $2 }
     END { printf "phase: %d reports, from %.9f to %.9f (limit 0 to 6.283185307)\n", n, lo, hi;
           printf "streaming 1 in %d reports, 0 in %d; beeps %d\n", s[1], s[0], b;
           if (lo < 0 || hi > 6.283185307) exit 1 }' "$work/state.txt"
"$work/find_gaps" "$work/recording.wav" 320
