#!/usr/bin/env bash
# End-to-end check of the desktop program as a user runs it: under Xvfb, start
# tonvela, click the sine preset, let it play two seconds, click Clear, close the
# window. The sound that reached the default output must be a 440 Hz tone, and a
# screenshot taken while it played must show the sine in the first trace.
#
#   scripts/e2e-desktop.sh [PATH/TO/tonvela] [SCREENSHOT.png]
#
# Needs: xvfb xdotool imagemagick sox pulseaudio pulseaudio-utils libasound2-plugins
# python3-xlib. The sound is captured in real time without a sound card: a private
# PulseAudio daemon with a null sink (scripts/lib/desktop.sh), and ALSA's default
# redirected (through this script's own configuration only) to a file plugin over pulse.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
tonvela=${1:-$repo/build-qt/platform/qt/tonvela}
# Its sibling in the same build, for the picture of the same window.
tonvela_script=$(dirname "$tonvela")/../../tools/script/tonvela-script
screenshot_copy=${2:-}
title='TonvelaVer2019.05.10'

fail() { echo "e2e-desktop: FAIL: $*" >&2; exit 1; }
info() { echo "e2e-desktop: $*"; }

[[ -x $tonvela ]] || fail "no tonvela at $tonvela (build it, or pass its path)"
[[ -x $tonvela_script ]] || fail "no tonvela-script at $tonvela_script (build it beside tonvela)"
for tool in Xvfb xdotool import convert compare xprop sox pulseaudio /usr/bin/python3; do
  command -v "$tool" > /dev/null || fail "$tool is missing"
done

source "$repo/scripts/lib/desktop.sh"
desktop_begin

# --- a display and a sound server of our own, and ALSA's default over it ------------
desktop_start_display || fail "no virtual display"
desktop_start_sound_server || fail "no sound server"
cat > "$work/asound.conf" << CONF
pcm.!default { type file  slave.pcm { type pulse }  file "$work/played.wav"  format "wav" }
ctl.!default { type pulse }
CONF

# --- the program ----------------------------------------------------------------
started=$(date +%s.%N)
# For a sanitizer build: libdbus, loaded by Qt's xcb platform, leaks one block.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$repo/platform/qt/lsan-suppressions.txt}
env ALSA_CONFIG_PATH="$work/asound.conf" XDG_RUNTIME_DIR="$work/pulse" QT_QPA_PLATFORM=xcb \
  "$tonvela" > "$work/tonvela.log" 2>&1 &
tonvela_pid=$!
pids+=("$tonvela_pid")

window=$(desktop_find_window "$tonvela_pid") || fail "no window titled $title appeared: $(cat "$work/tonvela.log")"
eval "$(xdotool getwindowgeometry --shell "$window")"
info "window up after $(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }') s ($WIDTH x $HEIGHT at $X,$Y)"
desktop_wait_for_panels "$window" || fail "the panels were not painted"
click() { desktop_click "$window" "$1"; }

# The window manager's icon of the window: the program's own, in several sizes.
icons=$(xprop -id "$window" _NET_WM_ICON | grep -c 'Icon (' || true)
((icons >= 3)) || fail "the window has no _NET_WM_ICON (icons: $icons)"
info "window icon: $icons sizes"
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$tonvela_pid/stat"; }

click IDC_SINE
ticks_before=$(cpu_ticks)
sleep 2
ticks_after=$(cpu_ticks)
import -window root "$work/screen.png"
info "CPU while streaming: $(( (ticks_after - ticks_before) * 100 / 2 / $(getconf CLK_TCK) )) % of one core"
info "resident memory while streaming: $(awk '/VmRSS/ { print $2 " " $3 }' "/proc/$tonvela_pid/status")"
# The window as the display shows it equals tonvela-script's picture after the same
# click, pixel for pixel, once the pointer has left the button it hovered over.
xdotool mousemove --window "$window" 2 650
sleep 0.3
import -window "$window" "$work/window.png"
printf 'click sine\npicture %s\n' "$work/picture.png" | "$tonvela_script" \
  || fail "tonvela-script could not make the picture"
differing=$(compare -metric AE "$work/window.png" "$work/picture.png" "$work/difference.png" 2>&1 || true)
[[ $differing == 0 ]] || fail "the window and tonvela-script's picture differ in $differing pixels"
info "the window equals tonvela-script's picture pixel for pixel"
click IDC_CLEAR
sleep 0.5

desktop_close_box "$window"
for _ in $(seq 50); do kill -0 "$tonvela_pid" 2> /dev/null || break; sleep 0.1; done
kill -0 "$tonvela_pid" 2> /dev/null && fail "tonvela did not end after its window was closed"
status=0
wait "$tonvela_pid" || status=$?
((status == 0)) || fail "tonvela ended with status $status: $(tail -5 "$work/tonvela.log")"
info "closed; tonvela ended with 0"

# --- what was seen --------------------------------------------------------------
[[ -n $screenshot_copy ]] && convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$screenshot_copy"
# The first harmonic trace runs about row 50 of the client area, columns 10 to 209; a
# sine of amplitude 1 swings some 22 rows up and down from it.
green_in() { convert "$work/screen.png" -crop "$1" +repage txt:- | grep -ci '#00FF00' || true; }
above=$(green_in "200x12+$((X + 10))+$((Y + 28))")
below=$(green_in "200x12+$((X + 10))+$((Y + 61))")
((above > 10 && below > 10)) || fail "no sine in the first trace (green pixels above: $above, below: $below)"
info "screenshot: the first trace swings above and below its zero line"

# --- what was heard -------------------------------------------------------------
[[ -s $work/played.wav ]] || fail "nothing was played to the default output"
# The file starts with the silence before the click; keep one second of the tone.
sox --ignore-length "$work/played.wav" "$work/tone.wav" silence 1 0.02 2% trim 0 1 2> /dev/null ||
  fail "the captured sound cannot be read"
seconds=$(sox --i -D "$work/tone.wav" 2> /dev/null || echo 0)
stats=$(sox "$work/tone.wav" -n stat 2>&1)
frequency=$(awk -F: '/Rough[[:space:]]+frequency/ { gsub(/ /, "", $2); print $2 }' <<< "$stats")
rms=$(awk -F: '/RMS[[:space:]]+amplitude/ { gsub(/ /, "", $2); print $2 }' <<< "$stats")
info "captured tone: ${seconds} s, rough frequency ${frequency:-?} Hz, RMS ${rms:-?}"
awk -v s="$seconds" 'BEGIN { exit !(s >= 0.9) }' || fail "less than a second of tone was captured"
awk -v f="${frequency:-0}" 'BEGIN { exit !(f >= 430 && f <= 450) }' ||
  fail "the captured tone is ${frequency:-no} Hz, not 440 Hz"
awk -v r="${rms:-0}" 'BEGIN { exit !(r > 0.05) }' || fail "the captured tone is too quiet (RMS $rms)"
# --- without a sound device -------------------------------------------------------
# A preset then only beeps; the program says once why there is no sound, and a sound
# configuration that makes the sound library abort while it lists the devices (an
# empty ALSA configuration) must not take the program with it.
printf 'pcm.!default { type hw card 42 }\nctl.!default { type hw card 42 }\n' > "$work/no-card.conf"
for config in "$work/no-card.conf" /dev/null; do
  env ALSA_CONFIG_PATH="$config" QT_QPA_PLATFORM=xcb "$tonvela" > "$work/quiet.log" 2>&1 &
  quiet_pid=$!
  pids+=("$quiet_pid")
  window=$(desktop_find_window "$quiet_pid") || fail "no window without a sound device ($config): $(cat "$work/quiet.log")"
  desktop_wait_for_panels "$window" || fail "the panels were not painted ($config)"
  click IDC_SINE
  click IDC_CLEAR
  click IDC_SINE
  sleep 0.3
  kill -0 "$quiet_pid" 2> /dev/null || fail "tonvela ended after a preset with ALSA_CONFIG_PATH=$config: $(tail -3 "$work/quiet.log")"
  desktop_close_box "$window"
  status=0
  wait "$quiet_pid" || status=$?
  ((status == 0)) || fail "tonvela ended with status $status without a sound device ($config)"
  lines=$(grep -c 'no sound output device could be opened' "$work/quiet.log" || true)
  ((lines == 1)) || fail "with ALSA_CONFIG_PATH=$config the reason was told $lines times: $(cat "$work/quiet.log")"
  info "no sound device ($config): $(grep 'no sound output' "$work/quiet.log")"
done

info "PASS"
