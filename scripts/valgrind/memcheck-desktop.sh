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
title='TonvelaVer2019.05.10'
[[ -x $tonvela ]] || { echo "memcheck-desktop: no tonvela at $tonvela" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

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

window=
for _ in $(seq 600); do
  for candidate in $(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$candidate")"
    if ((WIDTH > 100)); then window=$candidate; break 2; fi
  done
  kill -0 "$tonvela_pid" 2>/dev/null || break
  sleep 0.1
done
[[ -n $window ]] || { echo "memcheck-desktop: no window"; cat "$work/tonvela.log" "$work/memcheck.log"; exit 1; }
sleep 3  # first paint, slowly under memcheck

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 2; }
click 234 23   # sine 1012
click 597 8    # Clear 1040 (also: the window still answers after the failed opening)
echo "memcheck-desktop: clicks done"

/usr/bin/python3 - "$window" << 'PY'
import sys
from Xlib import X, display
from Xlib.protocol import event
d = display.Display()
window = d.create_resource_object("window", int(sys.argv[1]))
close = event.ClientMessage(window=window, client_type=d.intern_atom("WM_PROTOCOLS"),
                            data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
window.send_event(close, event_mask=X.NoEventMask)
d.flush()
PY
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
