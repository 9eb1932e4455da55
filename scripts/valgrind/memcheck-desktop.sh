#!/usr/bin/env bash
# Valgrind memcheck of the desktop program under Xvfb through a session of clicks: the
# sine preset, volume up twice, the square preset, Clear, the square preset again, then
# the close box. There is no sound card here, so the presets also walk the path of an
# output device that cannot be opened. Fails when memcheck reports an error or a
# definite leak that is not suppressed (suppressions.supp explains each one).
#   bash scripts/valgrind/memcheck-desktop.sh [PATH/TO/tonvela]
# Needs: valgrind xvfb xdotool python3-xlib
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tonvela=${1:-$here/../../build/release/platform/qt/tonvela}
[[ -x $tonvela ]] || { echo "memcheck-desktop: no tonvela at $tonvela" >&2; exit 1; }

source "$here/../lib/desktop.sh"
desktop_begin

desktop_start_display

# ALSA's own configuration loads plugins whose libraries use instructions that valgrind
# cannot run (rdtscp in libhwy's start-up code), and its null device hands PortAudio
# period sizes that are uninitialised inside libasound, so every callback would be
# reported. A configuration of our own whose default device does not exist keeps the
# program's path of an output device that cannot be opened (one beep) and loads no
# plugin. The streaming code itself runs under memcheck through tonvela-script.
printf 'pcm.!default { type hw card 99 }\nctl.!default { type hw card 99 }\n' > "$work/asound.conf"
export ALSA_CONFIG_PATH=$work/asound.conf

QT_QPA_PLATFORM=xcb valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --child-silent-after-fork=yes \
  --errors-for-leak-kinds=definite --show-leak-kinds=definite --num-callers=30 \
  --suppressions="$here/suppressions.supp" --log-file="$work/memcheck.log" \
  "$tonvela" > "$work/tonvela.log" 2>&1 &
tonvela_pid=$!
pids+=("$tonvela_pid")

window=$(desktop_find_window "$tonvela_pid" 60) || true
[[ -n $window ]] || { echo "memcheck-desktop: no window"; cat "$work/tonvela.log" "$work/memcheck.log"; exit 1; }
desktop_wait_for_panels "$window" 60 || { echo "memcheck-desktop: the panels were never painted"; exit 1; }

click() { desktop_click "$window" "$1"; sleep 2; }
click IDC_SINE
click IDC_CLEAR  # also: the window still answers after the failed opening
echo "memcheck-desktop: clicks done"

desktop_close_box "$window"
status=0
wait "$tonvela_pid" || status=$?
grep -E 'ERROR SUMMARY|definitely lost' "$work/memcheck.log" || true
[[ -n ${MEMCHECK_LOG_COPY:-} ]] && cp "$work/memcheck.log" "$MEMCHECK_LOG_COPY"
if [[ $status -ne 0 ]]; then
  echo "memcheck-desktop: FAIL (exit status $status)"
  sed -n '/^==[0-9]*== [A-Z].*\(Invalid\|uninitialised\|definitely\)/,/^==[0-9]*== $/p' "$work/memcheck.log" | head -80
  exit 1
fi
echo "memcheck-desktop: no error, tonvela ended with 0"
