#!/usr/bin/env bash
# Checks the Windows programs.
# - Both executables as files: PE machine type, GUI subsystem, imports of system DLLs
#   only, and the resources (dialog 101 in Japanese, the icon with its four images, the
#   manifest).
# - Each of them under Wine (tonvela-x64.exe in a 64-bit prefix; tonvela-x86.exe in a
#   32-bit one, where this machine runs 32-bit x86 code), inside Xvfb with its sound
#   captured through a PulseAudio null sink:
#   - the system's GDI draws the line table of tests/canvas/gdi_lines.txt pixel for pixel
#     as our canvas does (tools/win32-probes/gdi-probe);
#   - the unit tests built for Windows (dsp, canvas, app) pass;
#   - the system's dialog manager, given a key message's own target as the dialog, does
#     nothing with Tab; given the dialog, it moves the focus (keyboard-probe);
#   - in a Japanese locale: the dialog's client size; the panels at start, after the sine
#     preset, after Tab and Space (the keyboard reaches the volume buttons) and after
#     Clear, pixel for pixel against tonvela-script's snapshots of the same steps (where
#     no control lies over them); the sine preset's sound sample for sample against
#     tonvela-script's recording (and the 32-bit program's against the 64-bit one's);
#     the close box ends the program with exit code 0;
#   - in an English locale: the same size and the same picture at start (the Japanese
#     texts do not depend on the system's code page), and exit code 0.
#
#   scripts/test-windows.sh [DIR]
# DIR: check the tonvela-x86.exe and tonvela-x64.exe found there (a release's, say)
# instead of the ones built into out/windows (the probes and tests are built either way).
set -euo pipefail
programs=${1:+$(realpath -m "$1")}
cd "$(dirname "$0")/.."
root=$PWD
programs=${programs:-$root/out/windows}
started=$SECONDS

source scripts/lib/packages.sh
source scripts/lib/desktop.sh
packages=(
  wine wine64 xvfb xdotool x11-utils imagemagick sox libsox-fmt-base python3-xlib
  pulseaudio pulseaudio-utils libasound2-plugins fonts-ipafont-gothic locales icoutils
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 googletest gcc-multilib
)
install_missing_packages --no-install-recommends "${packages[@]}"

work=$(mktemp -d)
pids=()
prefixes=()
# Stops the Wine server of a prefix and removes the prefix and the server's folder.
remove_prefix() {
  local prefix=$1
  [ -d "$prefix" ] || return 0
  local server
  server=$(printf '/tmp/.wine-%d/server-%x-%x' "$(id -u)" "$(stat -c %d "$prefix")" \
    "$(stat -c %i "$prefix")")
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  WINEPREFIX=$prefix wineserver -w 2>/dev/null || true
  rm -rf "$prefix" "$server"
}
cleanup() {
  local prefix pid
  for prefix in "${prefixes[@]}"; do remove_prefix "$prefix"; done
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# 32-bit x86 code: a tiny program tells whether this machine runs it.
run32=yes
why32=""
if ! printf 'int main(void) { return sizeof(void *) == 4 ? 0 : 1; }\n' |
  gcc -m32 -x c - -o "$work/m32" 2>"$work/m32.log"; then
  run32=no why32="gcc -m32 cannot build a 32-bit program: $(head -1 "$work/m32.log")"
elif ! "$work/m32" 2>>"$work/m32.log"; then
  run32=no
  why32="this machine does not run 32-bit x86 code (a gcc -m32 program: $(tail -1 "$work/m32.log" |
    sed 's/.*: //'); kernel $(uname -r))"
fi
if [ "$run32" = yes ]; then
  echo "== this machine runs 32-bit x86 code: the 32-bit program runs under Wine too"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  install_missing_packages --no-install-recommends wine32:i386
else
  echo "== 32-bit run SKIPPED: $why32"
fi
echo "== packages ready after $((SECONDS - started)) s"

bash scripts/build-windows.sh
for name in x86 x64; do  # the probes of the system's own behaviour, beside the program
  cmake --build "build-win-$name" -j 2 --target gdi-probe keyboard-probe
done
bash scripts/build-windows-tests.sh
# tonvela-script for the reference snapshots and sound: the test command's build when
# there is one, else a small build of its own.
reference_build=build/release
[ -f "$reference_build/CMakeCache.txt" ] || {
  reference_build=build/windows-reference
  cmake -S . -B "$reference_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTONVELA_BUILD_TESTS=OFF -DTONVELA_BUILD_QT=OFF >/dev/null
}
cmake --build "$reference_build" -j 2 --target tonvela-script
script_tool=$root/$reference_build/tools/script/tonvela-script
echo "== built after $((SECONDS - started)) s"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

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
check_exe "$programs/tonvela-x86.exe" pei-i386 i686-w64-mingw32-objdump
check_exe "$programs/tonvela-x64.exe" pei-x86-64 x86_64-w64-mingw32-objdump

# ---- What tonvela-script sees and hears for the same steps ------------------------------
# The template's controls in dialog units, from the resource script of the build:
# control ID -> "x y w h".
resource_script=build-win-x64/platform/win32/tonvela.rc
control_box() {
  awk -F, -v id="$1" '/CONTROL/ && $2 + 0 == id { print $(NF-3) + 0, $(NF-2) + 0, $(NF-1) + 0, $NF + 0 }' \
    "$resource_script"
}
reference=$work/reference
mkdir -p "$reference"
cat >"$reference/steps.txt" <<'STEPS'
snapshot start.png
record sound.wav
click 1012
play 8
snapshot sine.png
key Tab
key Space
snapshot keys.png
click 1040
snapshot clear.png
close
STEPS
(cd "$reference" && "$script_tool" <steps.txt >/dev/null) || fail "tonvela-script could not run the steps"
# The recorded samples from the first one that is not silent, as 16-bit words.
tone_samples() {  # WAV OUT.raw
  sox "$1" -t raw -e signed -b 16 -c 1 "$2.all"
  /usr/bin/python3 - "$2.all" "$2" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
first = next((i for i in range(0, len(data) - 1, 2) if data[i:i + 2] != b"\0\0"), len(data))
open(sys.argv[2], "wb").write(data[first:])
PY
}
tone_samples "$reference/sound.wav" "$reference/tone.raw"

# ---- A virtual display, a sound server, the Japanese locale ----------------------------
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export HOME=$work XDG_RUNTIME_DIR=$work

mkdir -p "$work/locale"
localedef -i ja_JP -f UTF-8 "$work/locale/ja_JP.UTF-8" 2>/dev/null || true
localedef -i en_US -f UTF-8 "$work/locale/en_US.UTF-8" 2>/dev/null || true
# LANG only: bash itself cannot load a locale from LOCPATH and would warn about LC_ALL.
unset LC_ALL
export LOCPATH=$work/locale

desktop_start_display
desktop_start_sound_server

# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
  local limit=$1
  shift
  local until=$((SECONDS + limit))
  while ! "$@"; do
    [ "$SECONDS" -lt "$until" ] || return 1
    sleep 0.2
  done
}

# ---- One architecture -------------------------------------------------------------------
# Dialog units to client pixels with base units 7 x 13 ("ＭＳ Ｐゴシック" 9 pt as IPAPGothic
# at 96 dpi), rounded as the dialog manager does.
px() { echo $((($1 * 7 * 2 + 4) / 8)); }
py() { echo $((($1 * 13 * 2 + 8) / 16)); }
# The panels as crop geometries of the client area (harmonic, composite, spectrum).
harmonic_panel=200x450+10+10
composite_panel=200x100+10+470
spectrum_panel=200x100+300+470
# The controls are windows of their own, drawn over the dialog's painting (the caption
# "スペクトル" and the tenth amplitude label lie over the spectrum panel); tonvela-script's
# snapshot is the painting alone. Both pictures are compared with the controls' boxes
# blotted out, as an ImageMagick drawing.
control_boxes=""
while read -r x y w h; do
  control_boxes+="rectangle $(px "$x"),$(py "$y") $(($(px $((x + w))) - 1)),$(($(py $((y + h))) - 1)) "
done < <(awk -F, '/CONTROL/ { print $(NF-3) + 0, $(NF-2) + 0, $(NF-1) + 0, $NF + 0 }' "$resource_script")
[ -n "$control_boxes" ] || { echo "no controls found in $resource_script" >&2; exit 1; }
blot_controls() { convert "$1" -fill '#FF00FF' -draw "$control_boxes" "$2"; }

# run_architecture NAME LOADER WINEARCH EXE BUILD
run_architecture() {
  local name=$1 loader=$2 arch=$3 exe=$4 build=$5
  local arch_started=$SECONDS
  local dir=$work/$name
  mkdir -p "$dir"
  export WINEPREFIX=$work/prefix-$name WINEARCH=$arch
  prefixes+=("$WINEPREFIX")
  wine() { "$loader" "$@"; }

  local capture=$dir/capture.wav
  cat >"$dir/asound.conf" <<CONF
pcm.!default { type file  slave.pcm { type pulse }  file "$capture"  format "wav" }
CONF
  export ALSA_CONFIG_PATH=$dir/asound.conf

  LANG=ja_JP.UTF-8 wine wineboot -i >"$dir/wineboot.log" 2>&1
  wineserver -w
  echo "== $name: prefix ready after $((SECONDS - arch_started)) s"
  for face in "ＭＳ Ｐゴシック" "MS PGothic"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d IPAPGothic /f >/dev/null
  done
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d alsa /f >/dev/null
  wineserver -w

  # -- GDI's lines against the canvas's table
  cp tests/canvas/gdi_lines.txt "$dir/gdi_lines.txt"
  cp "$build/tools/win32-probes/gdi-probe.exe" "$dir/"
  if (cd "$dir" && wine gdi-probe.exe gdi_lines.txt gdi_drawn.txt) \
    && cmp -s "$dir/gdi_lines.txt" "$dir/gdi_drawn.txt"; then
    pass "$name: GDI lights the pixels of tests/canvas/gdi_lines.txt, line for line"
  else
    fail "$name: GDI's lines differ from tests/canvas/gdi_lines.txt:"
    diff "$dir/gdi_lines.txt" "$dir/gdi_drawn.txt" | head -20 >&2 || true
  fi

  # -- unit tests built for Windows
  local test_exe
  for test_exe in "build-wintest-$name"/*_tests.exe; do
    [ -e "$test_exe" ] || { fail "$name: no unit tests built for Windows"; break; }
    if (cd "$dir" && wine "$root/$test_exe" --gtest_brief=1 >"$dir/$(basename "$test_exe").log" 2>&1); then
      pass "$name: $(basename "$test_exe") ($(grep -ao '[0-9]* tests\? from [0-9]* test suites\? ran' \
        "$dir/$(basename "$test_exe").log" | head -1))"
    else
      fail "$name: $(basename "$test_exe")"
      tail -30 "$dir/$(basename "$test_exe").log" >&2
    fi
  done

  # -- the system's dialog manager and the keyboard
  cp "$build/platform/win32/keyboard-probe.exe" "$dir/"
  local mode
  for mode in target dialog; do
    (cd "$dir" && LANG=ja_JP.UTF-8 wine keyboard-probe.exe "$mode" "keys-$mode.txt") \
      || fail "$name: keyboard-probe $mode did not run"
    mkdir -p out/windows
    cp "$dir/keys-$mode.txt" "out/windows/keys-$mode-$name.txt" 2>/dev/null || true
  done
  # The focus after the first Tab: the line after the first "Tab".
  focus_after_tab() { awk '/^Tab/ { getline; sub(",", "", $2); print $2; exit }' "$dir/keys-$1.txt"; }
  [ "$(focus_after_tab target)" = 1003 ] \
    && pass "$name: given the key's own target as the dialog, Tab leaves the focus on 1003" \
    || fail "$name: with the key's target as the dialog, Tab moved the focus to $(focus_after_tab target)"
  [ "$(focus_after_tab dialog)" = 1007 ] \
    && pass "$name: given the dialog, Tab moves the focus from 1003 to 1007" \
    || fail "$name: with the dialog, Tab moved the focus to $(focus_after_tab dialog)"

  # -- the program
  cp "$exe" "$dir/tonvela.exe"
  run_program "$name" ja_JP.UTF-8 full
  run_program "$name" en_US.UTF-8 start-only
  [ "$name" = x64 ] || compare_sound_with x64 "$name"

  remove_prefix "$WINEPREFIX"
  echo "== $name: Wine run took $((SECONDS - arch_started)) s"
  eval "seconds_$name=$((SECONDS - arch_started))"
}

# run_program NAME LOCALE full|start-only
run_program() {
  local name=$1 locale=$2 extent=$3
  local dir=$work/$name run=$work/$name/$2
  mkdir -p "$run"
  rm -f "$dir/capture.wav"
  (cd "$dir" && LANG=$locale wine tonvela.exe >"$run/log" 2>&1; echo $? >"$run/exit-code") &
  pids+=($!)

  local caption="TonvelaVer2019.05.10" window=""
  find_window() {
    window=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -1) || true
    [ -n "$window" ]
  }
  if ! wait_for 120 find_window; then
    cat "$run/log" >&2
    fail "$name ($locale): no dialog appeared"
    return
  fi
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # Without a window manager, Wine's X window is the dialog's client area.
  local left=$X top=$Y
  [ "$WIDTH" = 646 ] && [ "$HEIGHT" = 713 ] && pass "$name ($locale): dialog client area 646x713" \
    || fail "$name ($locale): dialog client area is ${WIDTH}x${HEIGHT}, expected 646x713"

  local shot=$run/screen.png
  screenshot() {
    import -window root -crop "${WIDTH}x${HEIGHT}+$left+$top" +repage "$shot" 2>/dev/null &&
      blot_controls "$shot" "$shot.blotted.png"
  }
  # Pixels of a panel, outside the controls, that differ from the reference snapshot's.
  panel_difference() {  # GEOMETRY REFERENCE.png
    [ -f "$2.blotted.png" ] || blot_controls "$2" "$2.blotted.png"
    { compare -metric AE "$shot.blotted.png[$1]" "$2.blotted.png[$1]" null: 2>&1 || true; } |
      cut -d' ' -f1
  }
  panels_match() {  # REFERENCE.png PANEL_GEOMETRY...
    local reference_png=$1 geometry
    shift
    screenshot || return 1
    for geometry in "$@"; do
      [ "$(panel_difference "$geometry" "$reference_png")" = 0 ] || return 1
    done
  }
  report_panels() {  # WHAT REFERENCE.png PANEL_GEOMETRY...
    local what=$1 reference_png=$2
    shift 2
    if wait_for 20 panels_match "$reference_png" "$@"; then
      pass "$name ($locale): panels $what equal tonvela-script's, pixel for pixel"
    else
      local geometry report=""
      for geometry in "$@"; do report+=" $geometry: $(panel_difference "$geometry" "$reference_png");"; done
      fail "$name ($locale): panels $what differ from tonvela-script's (pixels differing:$report)"
    fi
    cp "$shot" "$run/$(basename "$reference_png")"
    mkdir -p out/windows
    cp "$shot" "out/windows/wine-$name-${locale%%_*}-$(basename "$reference_png")"
    cp "$reference_png" "out/windows/script-$(basename "$reference_png")"
  }
  click() {  # the middle of the left part of control ID, where its button or mark is
    local box
    read -r -a box <<<"$(control_box "$1")"
    xdotool mousemove "$((left + $(px "$((box[0] + 2))")))" "$((top + $(py "$((box[1] + box[3] / 2))")))" \
      click 1
  }

  report_panels "at start" "$reference/start.png" "$harmonic_panel" "$composite_panel" "$spectrum_panel"
  # The whole dialog once the controls have drawn themselves too: two pictures in a row
  # the same.
  difference() { { compare -metric AE "$1" "$2" null: 2>&1 || true; } | cut -d' ' -f1; }
  settled() {
    cp "$shot" "$run/previous.png"
    sleep 0.5
    screenshot && [ "$(difference "$shot" "$run/previous.png")" = 0 ]
  }
  wait_for 20 settled || true
  local japanese=$work/$name/ja_JP.UTF-8/whole-start.png
  if [ "$extent" = start-only ]; then
    # Everything the program drew at start, labels included, as in the Japanese locale:
    # its texts do not pass through the system's code page.
    looks_japanese() { screenshot && [ "$(difference "$shot" "$japanese")" = 0 ]; }
    if [ -f "$japanese" ] && wait_for 20 looks_japanese; then
      pass "$name ($locale): the whole dialog looks as in the Japanese locale"
    else
      fail "$name ($locale): the dialog looks different from the Japanese locale's ($(difference "$shot" "$japanese") pixels)"
    fi
    cp "$shot" "out/windows/wine-$name-${locale%%_*}-whole-start.png"
  else
    cp "$shot" "$japanese"
    click 1012  # the sine preset
    captured_bytes() { stat -c %s "$dir/capture.wav" 2>/dev/null || echo 0; }
    # About 3 s of the 16 kHz 16-bit mono stream.
    has_tone() { [ "$(captured_bytes)" -ge 100000 ]; }
    wait_for 30 has_tone || fail "$name ($locale): less than 3 s of sound after 30 s"
    report_panels "after the sine preset" "$reference/sine.png" \
      "$harmonic_panel" "$composite_panel" "$spectrum_panel"
    # What was written so far was computed before any key: it must equal the reference.
    cp "$dir/capture.wav" "$run/before-keys.wav"

    # The keyboard: Tab to the volume-up button, Space presses it. The spectrum follows
    # the running tone, whose phase depends on how much was played: not compared.
    xdotool windowfocus --sync "$window" key Tab 2>/dev/null || true
    xdotool key space
    report_panels "after Tab and Space" "$reference/keys.png" "$harmonic_panel" "$composite_panel"

    click 1040  # Clear
    report_panels "after Clear" "$reference/clear.png" "$harmonic_panel" "$composite_panel" "$spectrum_panel"
    check_sound "$name" "$run"
  fi

  desktop_close_box "$window"
  ended() { [ -s "$run/exit-code" ]; }
  wait_for 30 ended || true
  local code
  code=$(cat "$run/exit-code" 2>/dev/null || echo none)
  [ "$code" = 0 ] && pass "$name ($locale): the close box ends the program with exit code 0" \
    || fail "$name ($locale): exit code after the close box: $code"
  wineserver -w
}

# check_sound NAME RUN: the tone, its pitch, and its samples against tonvela-script's.
check_sound() {
  local name=$1 run=$2
  local capture=$run/before-keys.wav
  [ -s "$capture" ] || { fail "$name: no sound captured"; return; }
  sox --ignore-length "$capture" "$run/sound.wav" silence 1 0.05 1% 2>/dev/null
  local seconds stats frequency rms
  seconds=$(sox --i -D "$run/sound.wav")
  stats=$(sox "$run/sound.wav" -n stat 2>&1)
  frequency=$(awk '/Rough[[:space:]]+frequency/ {print $3}' <<<"$stats")
  rms=$(awk '/RMS[[:space:]]+amplitude/ {print $3}' <<<"$stats")
  echo "$name: captured ${seconds} s of sound, rough frequency ${frequency} Hz, RMS ${rms}"
  awk -v f="$frequency" -v s="$seconds" -v r="$rms" \
    'BEGIN { exit !(f >= 430 && f <= 450 && s >= 1.5 && r >= 0.05) }' \
    && pass "$name: the sine preset plays 440 Hz" || fail "$name: sine preset: ${frequency} Hz, ${seconds} s, RMS ${rms}"

  sox --ignore-length "$capture" "$run/capture-fixed.wav" 2>/dev/null
  tone_samples "$run/capture-fixed.wav" "$run/tone.raw"
  compare_samples "$name" "$run/tone.raw" "tonvela-script" "$reference/tone.raw"
}

# compare_samples NAME A.raw OTHER B.raw: the common length must be equal, byte for byte.
compare_samples() {
  local result
  result=$(/usr/bin/python3 - "$2" "$4" <<'PY'
import struct, sys
a = open(sys.argv[1], "rb").read()
b = open(sys.argv[2], "rb").read()
n = min(len(a), len(b)) // 2
if n < 16000:
    print("short %d" % n)
    sys.exit()
sa = struct.unpack("<%dh" % n, a[:2 * n])
sb = struct.unpack("<%dh" % n, b[:2 * n])
diff = [i for i in range(n) if sa[i] != sb[i]]
if not diff:
    print("same %d" % n)
else:
    i = diff[0]
    print("differ %d of %d, first at sample %d (%d against %d)" % (len(diff), n, i, sa[i], sb[i]))
PY
)
  case $result in
    same*) pass "$1: the first ${result#same } samples of the tone equal $3's, byte for byte" ;;
    *) fail "$1: the tone against $3's: $result" ;;
  esac
}

compare_sound_with() {  # OTHER NAME
  local a=$work/$2/ja_JP.UTF-8/tone.raw b=$work/$1/ja_JP.UTF-8/tone.raw
  [ -s "$a" ] && [ -s "$b" ] || return 0
  compare_samples "$2" "$a" "tonvela-$1.exe" "$b"
}

seconds_x64=0
seconds_x86=0
run_architecture x64 /usr/lib/wine/wine64 win64 "$programs/tonvela-x64.exe" build-win-x64
if [ "$run32" = yes ]; then
  run_architecture x86 /usr/lib/wine/wine win32 "$programs/tonvela-x86.exe" build-win-x86
  echo "== the 32-bit run added $seconds_x86 s (the 64-bit one took $seconds_x64 s)"
else
  echo "== 32-bit run SKIPPED: $why32"
fi

echo "== Windows check took $((SECONDS - started)) s"
[ "$failures" -eq 0 ] || { echo "$failures Windows check(s) failed" >&2; exit 1; }
echo "All Windows checks passed."
