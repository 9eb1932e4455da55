#!/usr/bin/env bash
# The desktop program's sound as the sound server receives it, measured side by side
# for one or more builds in one run (a benchmark, not a test): the click-to-sound
# latency of the sine preset (median of 10), and the gaps in the tone while four busy
# processes share the cores, then also while the frequency slider is dragged.
#   bash scripts/bench-audio.sh [SECONDS] [TONVELA ...]
# SECONDS per condition (default 60); the builds default to build/release's tonvela.
# Needs the packages of the desktop check (Xvfb, xdotool, PulseAudio with its tools).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
programs=("$@")
((${#programs[@]})) || programs=("$repo/build/release/platform/qt/tonvela")

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; wait "$pid" 2> /dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
pids+=($!)
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

mkdir -p "$work/pulse"
XDG_RUNTIME_DIR=$work/pulse HOME=$work/pulse pulseaudio -n --daemonize=no \
  --exit-idle-time=-1 --use-pid-file=no --disable-shm \
  --load="module-null-sink sink_name=nullsink rate=16000 channels=1 format=s16le" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native" \
  > /dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [[ -S $work/pulse/native ]] && break; sleep 0.1; done
printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' > "$work/asound.conf"

export PULSE_SERVER="unix:$work/pulse/native" XDG_RUNTIME_DIR="$work/pulse" ALSA_CONFIG_PATH="$work/asound.conf"
python3 "$repo/scripts/bench/audio_under_load.py" "$seconds" "${programs[@]}"
