#!/usr/bin/env bash
# Checks the Windows program.
# - Both executables: PE machine type, GUI subsystem, imports of system DLLs only, and
#   the resources (dialog 101 in Japanese, the icon with its four images, the manifest).
# - The 64-bit one runs under Wine inside Xvfb, in a Japanese locale, its sound captured
#   through a PulseAudio null sink: it opens at its size with the three black panels,
#   the sine preset plays 440 Hz, Clear, and closing the window ends it with exit code 0.
# The 32-bit one cannot run here (this kernel runs 64-bit code only).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
started=$SECONDS

source scripts/lib/packages.sh
packages=(
  wine wine64 xvfb xdotool x11-utils imagemagick sox libsox-fmt-base
  pulseaudio pulseaudio-utils libasound2-plugins fonts-ipafont-gothic locales icoutils
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
)
install_missing_packages --no-install-recommends "${packages[@]}"
echo "== packages ready after $((SECONDS - started)) s"

bash scripts/build-windows.sh
echo "== built after $((SECONDS - started)) s"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

work=$(mktemp -d)
pids=()
cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# ---- The executables as files ---------------------------------------------------------
system_dlls='^(KERNEL32|USER32|GDI32|WINMM|msvcrt|ADVAPI32)\.dll$'
check_exe() {
  local exe=$1 format=$2 objdump=$3
  local name
  name=$(basename "$exe")
  local headers
  headers=$("$objdump" -p "$exe")
  grep -q "file format $format" <<<"$headers" && pass "$name is $format" || fail "$name is not $format"
  grep -Eq 'Subsystem[[:space:]]+00000002' <<<"$headers" && pass "$name: GUI subsystem" \
    || fail "$name: not a GUI program"
  local dll
  while read -r dll; do
    grep -Eiq "$system_dlls" <<<"$dll" || fail "$name imports $dll"
  done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")

  local resources
  resources=$(wrestool -l "$exe")
  grep -q -- '--type=5 --name=101 --language=1041 ' <<<"$resources" \
    && pass "$name: dialog 101, Japanese" || fail "$name: no Japanese dialog 101"
  grep -q -- '--type=24 --name=1 ' <<<"$resources" && pass "$name: manifest 1" \
    || fail "$name: no manifest"
  local manifest
  manifest=$(wrestool -x --raw --type=24 --name=1 "$exe")
  grep -q 'level="asInvoker"' <<<"$manifest" && grep -q 'uiAccess="false"' <<<"$manifest" \
    && ! grep -q '<dependency' <<<"$manifest" \
    && pass "$name: manifest asks asInvoker, no uiAccess, no dependency" \
    || fail "$name: manifest is not asInvoker/uiAccess false without dependencies"

  wrestool -x --type=group_icon -o "$work/$name.ico" "$exe"
  local images
  images=$(icotool -l "$work/$name.ico" | sed 's/--icon --index=[0-9]* //' | sort | tr '\n' ';')
  local expected="--width=16 --height=16 --bit-depth=4 --palette-size=16;"
  expected+="--width=32 --height=32 --bit-depth=1 --palette-size=2;"
  expected+="--width=32 --height=32 --bit-depth=4 --palette-size=16;"
  expected+="--width=48 --height=48 --bit-depth=8 --palette-size=256;"
  [ "$images" = "$expected" ] && pass "$name: icon with its four images" \
    || fail "$name: icon images are $images"
}
check_exe out/windows/tonvela-x86.exe pei-i386 i686-w64-mingw32-objdump
check_exe out/windows/tonvela-x64.exe pei-x86-64 x86_64-w64-mingw32-objdump

# ---- The 64-bit program under Wine ----------------------------------------------------
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export HOME=$work XDG_RUNTIME_DIR=$work

mkdir -p "$work/locale"
localedef -i ja_JP -f UTF-8 "$work/locale/ja_JP.UTF-8" 2>/dev/null || true
# LANG only: bash itself cannot load a locale from LOCPATH and would warn about LC_ALL.
unset LC_ALL
export LOCPATH=$work/locale LANG=ja_JP.UTF-8

exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 20 display_number <&"$display_fd" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$display_number

pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
  --load="module-null-sink sink_name=nullsink rate=16000 channels=1 format=s16le" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$work/pulse-native" \
  >"$work/pulse.log" 2>&1 &
pids+=($!)
export PULSE_SERVER=unix:$work/pulse-native
for _ in $(seq 50); do [ -S "$work/pulse-native" ] && break; sleep 0.1; done

capture=$work/tone.wav
cat >"$work/asound.conf" <<CONF
pcm.!default { type file  slave.pcm { type pulse }  file "$capture"  format "wav" }
CONF
export ALSA_CONFIG_PATH=$work/asound.conf

boot_started=$SECONDS
wine wineboot -i >"$work/wineboot.log" 2>&1
wineserver -w
echo "== wineboot took $((SECONDS - boot_started)) s"
for face in "ＭＳ Ｐゴシック" "MS PGothic"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d IPAPGothic /f >/dev/null
done
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d alsa /f >/dev/null
wineserver -w

cp out/windows/tonvela-x64.exe "$work/tonvela.exe"
( cd "$work" && wine tonvela.exe >"$work/run.log" 2>&1; echo $? >"$work/exit-code" ) &
runner=$!
pids+=($runner)

caption="TonvelaVer2019.05.10"
window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -1) || true
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { cat "$work/run.log" >&2; echo "FAIL: no dialog appeared" >&2; exit 1; }
sleep 2
eval "$(xdotool getwindowgeometry --shell "$window")"
# Without a window manager, Wine's X window is the dialog's client area.
left=$X top=$Y
import -window root "$work/start.png"
echo "dialog client area ${WIDTH}x${HEIGHT} at $left,$top"

# 369 x 439 dialog units with "ＭＳ Ｐゴシック" 9 pt as IPAPGothic at 96 dpi
# (base units 7 x 13 pixels).
[ "$WIDTH" = 646 ] && [ "$HEIGHT" = 713 ] && pass "dialog client area 646x713" \
  || fail "dialog client area is ${WIDTH}x${HEIGHT}, expected 646x713"

pixel() {  # pixel X Y of the client area, as rrggbb
  convert "$work/start.png" -crop "1x1+$((left + $1))+$((top + $2))" -depth 8 \
    -format '%[hex:p{0,0}]' info: | cut -c1-6
}
# Each panel: its left and right edges (the right one exclusive), top and bottom, and
# a row and column that no trace crosses.
check_panel() {
  local name=$1 l=$2 t=$3 r=$4 b=$5 row=$6 column=$7
  local inside=("$l $row" "$((r - 1)) $row" "$column $t" "$column $((b - 1))"
                "$((l + 1)) $((t + 1))" "$((r - 2)) $((b - 2))")
  local outside=("$((l - 1)) $row" "$r $row" "$column $((t - 1))" "$column $b")
  local point bad=""
  for point in "${inside[@]}"; do
    [ "$(pixel $point)" = 000000 ] || bad+=" ($point) not black;"
  done
  for point in "${outside[@]}"; do
    [ "$(pixel $point)" != 000000 ] || bad+=" ($point) black;"
  done
  [ -z "$bad" ] && pass "$name panel at ($l,$t)-($r,$b)" || fail "$name panel:$bad"
}
check_panel harmonics 10 10 210 460 15 12
check_panel composite 10 470 210 570 480 12
check_panel spectrum 300 470 500 570 560 302

# Dialog units to client pixels with base units 7 x 13, rounded as the dialog manager does.
px() { echo $((($1 * 7 * 2 + 4) / 8)); }
py() { echo $((($1 * 13 * 2 + 8) / 16)); }
click() {  # click at dialog units X Y
  xdotool mousemove "$((left + $(px "$1")))" "$((top + $(py "$2")))" click 1
}

# Bytes of sound captured so far (the file grows while the device plays).
captured_bytes() { stat -c %s "$capture" 2>/dev/null || echo 0; }

click 133 15  # the sine preset's radio button (x 131, y 11, 38 x 8)
# About 3 s of the 16 kHz 16-bit mono stream, waiting up to 20 s on a busy machine.
for _ in $(seq 200); do [ "$(captured_bytes)" -ge 100000 ] && break; sleep 0.1; done
sleep 1
import -window root "$work/playing.png"
click 340 5   # Clear (x 338, y 1, 30 x 8)
sleep 1

if [ -s "$capture" ]; then
  sox "$capture" "$work/sound.wav" silence 1 0.05 1% reverse silence 1 0.05 1% reverse
  seconds=$(sox --i -D "$work/sound.wav")
  stats=$(sox "$work/sound.wav" -n stat 2>&1)
  frequency=$(awk '/Rough[[:space:]]+frequency/ {print $3}' <<<"$stats")
  rms=$(awk '/RMS[[:space:]]+amplitude/ {print $3}' <<<"$stats")
  echo "captured ${seconds} s of sound, rough frequency ${frequency} Hz, RMS ${rms}"
  awk -v f="$frequency" -v s="$seconds" -v r="$rms" \
    'BEGIN { exit !(f >= 430 && f <= 450 && s >= 1.5 && r >= 0.05) }' \
    && pass "sine preset plays 440 Hz" || fail "sine preset: ${frequency} Hz, ${seconds} s, RMS ${rms}"
else
  fail "no sound captured"
fi

# Alt+F4 reaches the dialog as WM_CLOSE through the system menu.
xdotool windowfocus --sync "$window" key alt+F4 || true
for _ in $(seq 100); do [ -s "$work/exit-code" ] && break; sleep 0.1; done
code=$(cat "$work/exit-code" 2>/dev/null || echo none)
[ "$code" = 0 ] && pass "closing the window ends the program with exit code 0" \
  || fail "exit code after closing: $code"

mkdir -p out/windows
cp "$work/start.png" out/windows/wine-start.png
cp "$work/playing.png" out/windows/wine-playing.png
echo "== Windows check took $((SECONDS - started)) s"
[ "$failures" -eq 0 ] || { echo "$failures Windows check(s) failed" >&2; exit 1; }
echo "All Windows checks passed."
