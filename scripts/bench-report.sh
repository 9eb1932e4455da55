#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs every program in bench/ one after the other in
# this one run, then prints one table: the median time of each benchmark, its ratio to
# the first entry of its group (entries whose names differ only in the implementation,
# such as Forward/RealFft/1024 and Forward/FFTW/1024), its share of the 125 ms that one
# playback buffer lasts, and its counters. Then the goals as ratios: RealFft over FFTW's
# measured plan at each size, and both transforms' instructions counted by callgrind (free
# of the timing noise of a shared machine); and the desktop program measured from outside
# under Xvfb (start-up, memory, a slider drag) against a minimal Qt program. Needs jq,
# valgrind, Xvfb and python3-xlib (scripts/install-deps.sh).
#   bash scripts/bench-report.sh [EXTRA GOOGLE BENCHMARK FLAGS]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build/bench}
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONVELA_BUILD_BENCH=ON \
  -DTONVELA_BUILD_TESTS=OFF -DTONVELA_BUILD_QT=ON >/dev/null
cmake --build "$build" -j "$jobs" >/dev/null

out=$(mktemp -d "${TMPDIR:-/tmp}/tonvela-bench.XXXXXX")
trap 'rm -rf "$out"' EXIT
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for dir in bench/*/; do
  name=$(basename "$dir")
  for program in "$build/bench/$name"/tonvela_bench_*; do
    [ -x "$program" ] || continue
    echo "running $(basename "$program")" >&2
    "$program" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
      --benchmark_format=json --benchmark_out_format=json \
      --benchmark_out="$out/$(basename "$program").json" "$@" >/dev/null
  done
done

load_after=$(cut -d' ' -f1-3 /proc/loadavg)
echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo); $(date -u +%Y-%m-%d)"
echo "Load average (1, 5, 15 min): $load_before before the benchmarks, $load_after after"
echo
printf '| %-22s | %-42s | %12s | %8s | %12s | %s |\n' program benchmark "median time" ratio "of 125 ms" counters
printf '|%s|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..24})" "$(printf -- '-%.0s' {1..44})" \
  "$(printf -- '-%.0s' {1..14})" "$(printf -- '-%.0s' {1..10})" "$(printf -- '-%.0s' {1..14})" "----------"
for json in "$out"/*.json; do
  jq -r --arg program "$(basename "$json" .json | sed 's/^tonvela_bench_//')" '
    def ns: . as $b | ($b.real_time) * ({"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[$b.time_unit]);
    def shown: if . >= 1e6 then "\(. / 1e6 * 100 | round / 100) ms"
               elif . >= 1e3 then "\(. / 1e3 * 100 | round / 100) us"
               else "\(. * 10 | round / 10) ns" end;
    # The group of a name: every part but the implementation (the middle of three).
    def fixed($d): (. * pow(10; $d) | round) as $n | ($n % pow(10; $d) | tostring) as $f
                   | "\($n / pow(10; $d) | floor).\(("0" * ($d - ($f | length))) // "")\($f)";
    def group: split("/") | if length >= 3 then del(.[1]) | join("/") else join("/") end;
    [.benchmarks[] | select(.aggregate_name == "median")
     | . + {base: (.run_name // .name), t: ns}] as $rows
    | ($rows | map({key: (.base | group), value: .t}) | reverse | from_entries) as $first
    | $rows[]
    | [$program, .base, (.t | shown),
       (if (.base | split("/") | length) >= 3 then "\(.t / $first[.base | group] | fixed(2))x" else "" end),
       "\(.t / 1.25e8 * 100 | fixed(3)) %",
       ([to_entries[] | select(.key | test("^(paints|peak_rss_KiB|bytes_per_second|items_per_second)$"))
         | "\(.key)=\(.value | if . > 1e5 then (. / 1e3 | round | tostring) + "k" else (. | round | tostring) end)"] | join(" "))]
    | "| \(.[0]) | \(.[1]) | \(.[2]) | \(.[3]) | \(.[4]) | \(.[5]) |"' "$json"
done

fft_json="$out/tonvela_bench_fft.json"
if [ -f "$fft_json" ]; then
  echo
  echo "RealFft / FFTW (measured plan), median times of the run above:"
  echo
  echo "| n | forward | backward |"
  echo "|---|---|---|"
  jq -r '
    [.benchmarks[] | select(.aggregate_name == "median") | {name: (.run_name // .name), t: .real_time}]
    | map({key: .name, value: .t}) | from_entries as $t
    | [$t | keys[] | select(test("^Forward/RealFft/")) | split("/")[2] | tonumber] | sort[]
    | tostring as $n
    | def ratio($d): ($t["\($d)/RealFft/\($n)"] / $t["\($d)/FFTW/\($n)"] * 100 | round / 100);
      "| \($n) | \(ratio("Forward"))x | \(ratio("Backward"))x |"' "$fft_json"
fi

counter="$build/bench/fft/tonvela_fft_instruction_counts"
if [ -x "$counter" ] && command -v valgrind >/dev/null; then
  echo
  echo "Instructions per transform (callgrind), RealFft on each code path and FFTW's measured plan:"
  echo
  "$counter" plan "$out/fftw.wisdom"
  mkdir "$out/callgrind"
  valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out/callgrind/out" \
    "$counter" count "$out/fftw.wisdom" 2>/dev/null
  "$counter" report "$out/callgrind"
fi

tonvela="$build/platform/qt/tonvela"
minimal="$build/bench/desktop/tonvela_minimal_qt"
if [ -x "$tonvela" ] && [ -x "$minimal" ] && command -v Xvfb >/dev/null; then
  echo
  echo "The desktop program under Xvfb:"
  echo
  /usr/bin/python3 bench/desktop/measure_desktop.py "$tonvela" "$minimal"
fi

# The browser build, measured in Debian's Chromium.
echo
bash scripts/bench-web.sh
