# Sourced by the scripts that drive a program in a real window: a virtual display, a
# private sound server that plays into a null sink, finding the program's window,
# clicking its controls where the dialog template puts them, and its close box.
# Call desktop_begin first: each function that starts a process adds its pid to `pids`
# and uses folders under `work`.

DESKTOP_TITLE='TonvelaVer2019.05.10'
DESKTOP_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Makes `work`, a folder of the caller's own, and `pids`; when the script exits, every
# process in `pids` is stopped (the last started first, given a second to end) and
# `work` is removed.
desktop_begin() {
  work=$(mktemp -d)
  pids=()
  trap desktop_end EXIT
}

desktop_end() {
  local i pid
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid=${pids[i]}
    if kill -0 "$pid" 2> /dev/null; then
      kill "$pid" 2> /dev/null || true
      for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
      kill -9 "$pid" 2> /dev/null || true
    fi
    wait "$pid" 2> /dev/null || true
  done
  rm -rf "$work"
}

# Starts Xvfb on a free display and exports DISPLAY.
desktop_start_display() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
  pids+=($!)
  local _
  for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
  [[ -s $work/display ]] || { echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2; return 1; }
  export DISPLAY=":$(cat "$work/display")"
}

# Starts a PulseAudio daemon of our own with one null sink at 16 kHz mono, and exports
# PULSE_SERVER for its clients. What the sink plays can be recorded from nullsink.monitor.
desktop_start_sound_server() {
  mkdir -p "$work/pulse"
  XDG_RUNTIME_DIR=$work/pulse HOME=$work/pulse pulseaudio -n --daemonize=no \
    --exit-idle-time=-1 --use-pid-file=no --disable-shm \
    --load="module-null-sink sink_name=nullsink rate=16000 channels=1 format=s16le" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native" \
    > "$work/pulse.log" 2>&1 &
  pids+=($!)
  local _
  for _ in $(seq 100); do [[ -S $work/pulse/native ]] && break; sleep 0.05; done
  [[ -S $work/pulse/native ]] || { echo "PulseAudio did not start: $(tail -5 "$work/pulse.log")" >&2; return 1; }
  export PULSE_SERVER="unix:$work/pulse/native"
}

# Prints the id of PID's dialog window once it is mapped (Qt also maps small helper
# windows: the dialog is the one wider than 100 pixels).
# Fails when PID ends first or after about TIMEOUT seconds (default 10).
desktop_find_window() {
  local pid=$1 tries=$(( ${2:-10} * 20 )) candidate
  for _ in $(seq "$tries"); do
    for candidate in $(xdotool search --onlyvisible --pid "$pid" --name "^$DESKTOP_TITLE\$" 2> /dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$candidate")"
      if ((WIDTH > 100)); then echo "$candidate"; return 0; fi
    done
    kill -0 "$pid" 2> /dev/null || return 1
    sleep 0.05
  done
  return 1
}

# Prints "X Y", the client-area pixel where a user clicks the control named NAME in
# app/resource.h (IDC_SINE, IDC_CLEAR, ...): from its rectangle in the dialog template,
# in dialog units of the dialog font's base units (7 x 12 pixels). A radio button is
# clicked on its mark, at the left; anything else in its middle.
desktop_control_point() {
  local name=$1
  awk -v name="$name" '
    FNR == NR { if ($0 ~ "constexpr int " name " = ") { id = $NF; sub(/;/, "", id) } next }
    index($0, "{" name ",") {
      line = $0; sub(/^[^{]*\{/, "", line); split(line, f, /, */)
      x = f[4]; y = f[5]; w = f[6]; h = f[7]
      px = (f[3] == "kPreset") ? x + 4 : x + w / 2
      printf "%d %d\n", px * 7 / 4, (y + h / 2) * 12 / 8; found = 1
    }
    END { if (!found) exit 1 }
  ' "$DESKTOP_ROOT/app/resource.h" "$DESKTOP_ROOT/app/dialog_resource.cpp"
}

# Clicks the control NAME (see desktop_control_point) in WINDOW.
desktop_click() {
  local window=$1 point
  point=$(desktop_control_point "$2") || { echo "no control $2 in the template" >&2; return 1; }
  # shellcheck disable=SC2086
  xdotool mousemove --window "$window" $point click 1
}

# Waits until the client area of WINDOW shows the black harmonic panel, that is until
# the first paint reached the screen (at most about TIMEOUT seconds, default 10).
desktop_wait_for_panels() {
  local window=$1 tries=$(( ${2:-10} * 10 ))
  for _ in $(seq "$tries"); do
    [[ $(import -window "$window" -crop 1x1+100+20 +repage txt:- 2> /dev/null | grep -ci '#000000') -gt 0 ]] && return 0
    sleep 0.1
  done
  return 1
}

# Sends WINDOW what a window manager sends when its close box is clicked.
desktop_close_box() {
  /usr/bin/python3 - "$1" << 'PY'
import sys
from Xlib import X, display
from Xlib.protocol import event
d = display.Display()
window = d.create_resource_object("window", int(sys.argv[1]))
protocols = d.intern_atom("WM_PROTOCOLS")
close = event.ClientMessage(window=window, client_type=protocols,
                            data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
window.send_event(close, event_mask=X.NoEventMask)
d.flush()
PY
}
