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

source "$repo/scripts/lib/desktop.sh"
desktop_begin

desktop_start_display
desktop_start_sound_server
printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' > "$work/asound.conf"

export XDG_RUNTIME_DIR="$work/pulse" ALSA_CONFIG_PATH="$work/asound.conf"
python3 "$repo/scripts/bench/audio_under_load.py" "$seconds" "${programs[@]}"
