#!/usr/bin/env bash
# Checks a release as a user gets it:
# - scripts/release.sh runs twice, in two different build folders, and every file in
#   dist/ comes out byte-identical;
# - the Debian package installs with apt-get on this machine, the installed tonvela
#   passes the desktop check, its man pages open, and apt-get remove leaves none of its
#   files behind;
# - the Windows installer runs silently in fresh Wine prefixes, 64-bit and 32-bit: the
#   program of that size and the Start menu shortcut are there, the uninstaller is
#   registered, the installed 64-bit program passes the Wine check (scripts/test-windows.sh
#   given the installed files), and the silent
#   uninstall removes program, shortcut and registry entry. The installer is a 32-bit
#   program; on a machine that runs no 32-bit x86 code the same script built as a 64-bit
#   installer stands in for it in the 64-bit prefix, and the 32-bit prefix is skipped
#   (both said in the output);
# - the version resource of every Windows executable carries the project's version.
# Needs root (apt-get). Installs the package for the test and removes it again; refuses
# to run while a tonvela package is installed already.
#
#   scripts/release-check.sh [--installs-only]
# --installs-only: no release runs; checks the files that the last `scripts/release.sh`
# left in dist/ as they install.
set -euo pipefail
cd "$(dirname "$0")/.."
installs_only=no
case "${1:-}" in
  "") ;;
  --installs-only) installs_only=yes ;;
  *) echo "usage: scripts/release-check.sh [--installs-only]" >&2; exit 2 ;;
esac
root=$PWD
started=$SECONDS

source scripts/lib/packages.sh
if dpkg-query -W -f='${Status}' tonvela 2>/dev/null | grep -q 'install ok installed'; then
  echo "release-check: a tonvela package is installed; remove it first (apt-get remove tonvela)" >&2
  exit 1
fi
install_missing_packages --no-install-recommends \
  wine wine64 liblnk-utils icoutils unzip desktop-file-utils man-db gcc-multilib

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

work=$(mktemp -d)
installed_deb=""
cleanup() {
  if [ -n "$installed_deb" ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -o DPkg::Lock::Timeout=600 tonvela \
      >/dev/null 2>&1 || true
  fi
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# 32-bit x86 code: a tiny program tells whether this machine runs it. The installer is
# a 32-bit program, which 64-bit Wine runs through its 32-bit half.
run32=no
if printf 'int main(void) { return sizeof(void *) == 4 ? 0 : 1; }\n' \
    | gcc -m32 -x c - -o "$work/m32" 2>/dev/null && "$work/m32" 2>/dev/null; then
  run32=yes
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  install_missing_packages --no-install-recommends wine32:i386
fi

version=$(sed -n 's/^project(Tonvela VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
deb=dist/tonvela_${version}_$(dpkg --print-architecture).deb
setup=dist/tonvela-$version-setup.exe
windows_zip=dist/tonvela-$version-windows.zip
web_zip=dist/tonvela-$version-web.zip

# ---- Two runs, byte-identical ------------------------------------------------------------
last_work=build/release-work
if [ "$installs_only" = yes ]; then
  [ -f "$deb" ] && [ -f "$setup" ] && [ -f "$windows_zip" ] \
    || { echo "release-check: no release of $version in dist/; run scripts/release.sh" >&2; exit 1; }
  echo "== checking the release in dist/ without making it again"
else
  last_work=build/release-work-again
  commit=$(git rev-parse HEAD)
  echo "== release, first run"
  bash scripts/release.sh --work build/release-work
  mv dist "$work/first"
  echo "== release, second run in another folder"
  bash scripts/release.sh --work build/release-work-again
  [ "$(git rev-parse HEAD)" = "$commit" ] \
    || { echo "release-check: HEAD moved during the check; run it again" >&2; exit 1; }
  first=$(cd "$work/first" && ls | sort | tr '\n' ' ')
  second=$(cd dist && ls | sort | tr '\n' ' ')
  [ "$first" = "$second" ] && pass "both runs made: $first" \
    || fail "first run made $first, second $second"
  for file in "$work/first"/*; do
    name=$(basename "$file")
    if cmp -s "$file" "dist/$name"; then
      pass "$name is byte-identical in both runs"
    else
      fail "$name differs between the runs: $(cmp "$file" "dist/$name" | head -1)"
    fi
  done
  (cd dist && sha256sum --quiet -c SHA256SUMS) && pass "SHA256SUMS matches" \
    || fail "SHA256SUMS does not match"
  echo "== reproducibility checked after $((SECONDS - started)) s"
fi

# ---- Version resources -----------------------------------------------------------------
unzip -q "$windows_zip" -d "$work/zip"
zipped=$work/zip/tonvela-$version-windows
[ "$(cd "$zipped" && ls | sort | tr '\n' ' ')" = "README.txt tonvela-x64.exe tonvela-x86.exe " ] \
  && pass "windows.zip holds both executables and README.txt" \
  || fail "windows.zip holds: $(cd "$zipped" && ls | tr '\n' ' ')"
numbers=$(IFS=.; set -- $version 0 0 0; echo "$((10#$1)).$((10#$2)).$((10#$3)).$((10#$4))")
check_version() {  # check_version FILE EXPECTED-LINE...
  local file=$1
  shift
  local resource=$work/version.res listing line missing=""
  wrestool -x --raw --type=16 "$file" >"$resource" 2>/dev/null || true
  listing=$(python3 scripts/lib/pe_version.py "$resource" 2>&1) || true
  for line in "$@"; do grep -qxF "$line" <<<"$listing" || missing+=" [$line]"; done
  [ -z "$missing" ] && pass "$(basename "$file"): version resource with $version" \
    || { fail "$(basename "$file"): version resource lacks$missing"; echo "$listing" >&2; }
}
for exe in "$zipped/tonvela-x64.exe" "$zipped/tonvela-x86.exe"; do
  check_version "$exe" "FileVersion#=$numbers" "ProductVersion#=$numbers" \
    "041104B0/ProductName=Tonvela" "041104B0/ProductVersion=$version" \
    "041104B0/FileVersion=$version" "041104B0/FileDescription=Tonvela 複合音の学習" \
    "041104B0/OriginalFilename=tonvela.exe" "Translation=0411/04B0"
done
check_version "$setup" "ProductVersion#=$numbers" "000004b0/ProductVersion=$version"

# ---- The browser build's files --------------------------------------------------------
if [ -f scripts/build-web.sh ]; then
  unzip -q "$web_zip" -d "$work/web"
  web=$work/web/tonvela-$version-web
  missing=""
  for file in index.html tonvela.js tonvela.wasm VERSION; do
    [ -s "$web/$file" ] || missing+=" $file"
  done
  [ -z "$missing" ] && [ "$(cat "$web/VERSION")" = "$version" ] \
    && pass "web.zip holds the page, the program and VERSION $version" \
    || fail "web.zip lacks$missing or says version $(cat "$web/VERSION" 2>/dev/null)"
fi

# ---- The Debian package, installed as a user installs it ------------------------------
echo "== apt-get install ./$deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y -o DPkg::Lock::Timeout=600 "./$deb"
installed_deb=yes
dpkg-query -W -f='${Version}' tonvela | grep -qxF "$version" \
  && pass "tonvela $version installed" || fail "installed version: $(dpkg-query -W -f='${Version}' tonvela)"
dpkg -L tonvela | sort >"$work/deb-files"

for program in tonvela tonvela-script; do
  [ "$(command -v "$program")" = "/usr/bin/$program" ] && pass "/usr/bin/$program on PATH" \
    || fail "$program is not /usr/bin/$program"
  out=$("$program" --version 2>&1) || true
  grep -qF "$version" <<<"$out" && pass "$program --version: $out" \
    || fail "$program --version says: $out"
  page=$(MANPAGER=cat MANWIDTH=80 man "$program" 2>/dev/null) || true
  grep -q "^NAME" <<<"$page" && grep -Eq "^ +$program +- " <<<"$page" && pass "man $program" \
    || fail "man $program shows no page"
done
desktop-file-validate /usr/share/applications/tonvela.desktop \
  && pass "tonvela.desktop validates" || fail "tonvela.desktop does not validate"
for size in 16 32 48 256; do
  [ -f "/usr/share/icons/hicolor/${size}x$size/apps/tonvela.png" ] \
    && pass "icon ${size}x$size" || fail "no ${size}x$size icon"
done
picture=$(printf 'click 1012\nsnapshot %s\nclose\n' "$work/sine.png" | tonvela-script 2>&1) \
  && [ -s "$work/sine.png" ] && pass "tonvela-script draws the sine: $picture" \
  || fail "tonvela-script: $picture"

echo "== the installed tonvela under the desktop check"
bash scripts/e2e-desktop.sh /usr/bin/tonvela && pass "installed tonvela passes the desktop check" \
  || fail "installed tonvela fails the desktop check"

DEBIAN_FRONTEND=noninteractive apt-get remove -y -o DPkg::Lock::Timeout=600 tonvela
installed_deb=""
left=()
while read -r path; do
  # Folders the package shares with others (/usr, /usr/share/icons/...) stay.
  [ "$path" = /. ] && continue
  [ -d "$path" ] && [ "$(dpkg -S "$path" 2>/dev/null)" ] && continue
  [ -e "$path" ] || [ -L "$path" ] && left+=("$path")
done <"$work/deb-files"
[ "${#left[@]}" -eq 0 ] && pass "apt-get remove left none of its $(wc -l <"$work/deb-files") paths" \
  || fail "left after apt-get remove: ${left[*]}"
echo "== Debian package checked after $((SECONDS - started)) s"

# ---- The Windows installer in fresh Wine prefixes --------------------------------------
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" HOME=$work XDG_RUNTIME_DIR=$work
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tonvela'

check_installer() {  # check_installer win64|win32 INSTALLER EXPECTED-EXE
  local arch=$1 installer=$2 expected=$3
  export WINEPREFIX=$work/prefix-$arch WINEARCH=$arch
  # /usr/bin/wine takes the 32-bit loader whenever wine32 is installed.
  local wine=/usr/lib/wine/wine64
  [ "$run32" = yes ] && wine=/usr/lib/wine/wine
  export WINELOADER=$wine
  "$wine" wineboot -i >"$work/wineboot-$arch.log" 2>&1
  wineserver -w
  local drive=$WINEPREFIX/drive_c
  local folder="$drive/Program Files/Tonvela"
  local shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Tonvela.lnk"

  "$wine" "$installer" /S
  wineserver -w
  cmp -s "$folder/tonvela.exe" "$expected" \
    && pass "$arch: installs $(basename "$expected") as C:\\Program Files\\Tonvela\\tonvela.exe" \
    || fail "$arch: C:\\Program Files\\Tonvela\\tonvela.exe is not $(basename "$expected")"
  [ -f "$folder/uninstall.exe" ] && pass "$arch: uninstaller installed" \
    || fail "$arch: no uninstall.exe"
  # The Wine check below runs the program as installed.
  if [ "$arch" = win64 ] && [ -f "$folder/tonvela.exe" ]; then
    cp "$folder/tonvela.exe" "$installed/tonvela-x64.exe"
  fi
  if [ -f "$shortcut" ]; then
    local link
    link=$(lnkinfo "$shortcut" 2>&1)
    grep -Eq 'Local path[[:space:]]*: C:\\Program Files\\Tonvela\\tonvela\.exe$' <<<"$link" \
      && grep -Eq 'Icon location[[:space:]]*: C:\\Program Files\\Tonvela\\tonvela\.exe$' <<<"$link" \
      && pass "$arch: Start menu shortcut to the program, with its icon" \
      || { fail "$arch: the shortcut points elsewhere"; echo "$link" >&2; }
  else
    fail "$arch: no Start menu shortcut"
  fi
  local key
  key=$("$wine" reg query "$uninstall_key" 2>/dev/null | tr -d '\r') || true
  grep -Eq "DisplayName[[:space:]]+REG_SZ[[:space:]]+Tonvela$" <<<"$key" \
    && grep -Eq "DisplayVersion[[:space:]]+REG_SZ[[:space:]]+$version$" <<<"$key" \
    && grep -Eq 'QuietUninstallString[[:space:]]+REG_SZ[[:space:]]+"C:\\Program Files\\Tonvela\\uninstall\.exe" /S$' <<<"$key" \
    && pass "$arch: registered under the Uninstall key" \
    || { fail "$arch: no Uninstall entry for Tonvela $version"; echo "$key" >&2; }

  # The uninstaller copies itself away and runs from there; wineserver -w waits for it.
  "$wine" "$folder/uninstall.exe" /S
  wineserver -w
  [ ! -e "$folder" ] && pass "$arch: uninstall removes the program's folder" \
    || fail "$arch: left after uninstall: $(ls -A "$folder" | tr '\n' ' ')"
  [ ! -e "$shortcut" ] && pass "$arch: uninstall removes the shortcut" \
    || fail "$arch: the shortcut is left after uninstall"
  "$wine" reg query "$uninstall_key" >/dev/null 2>&1 \
    && fail "$arch: the Uninstall entry is left after uninstall" \
    || pass "$arch: uninstall removes the Uninstall entry"
  wineserver -k 2>/dev/null || true
}
installed=$work/installed
mkdir -p "$installed"
cp "$zipped/tonvela-x86.exe" "$installed/"
if [ "$run32" = yes ]; then
  echo "== installer in a 64-bit Wine prefix"
  check_installer win64 "$root/$setup" "$zipped/tonvela-x64.exe"
  echo "== installer in a 32-bit Wine prefix"
  check_installer win32 "$root/$setup" "$zipped/tonvela-x86.exe"
else
  echo "== this machine runs no 32-bit x86 code: the 32-bit installer cannot start under Wine"
  echo "== here. Its twin built as a 64-bit program from the same script and files stands in"
  echo "== for it in a 64-bit prefix; the 32-bit prefix is SKIPPED."
  check_installer win64 "$root/$last_work/test/tonvela-$version-setup-amd64.exe" \
    "$zipped/tonvela-x64.exe"
fi
echo "== Windows installer checked after $((SECONDS - started)) s"

echo "== the installed program under the Wine check"
if [ -f "$installed/tonvela-x64.exe" ]; then
  bash scripts/test-windows.sh "$installed" && pass "the installed program passes the Wine check" \
    || fail "the installed program fails the Wine check"
else
  fail "no installed program for the Wine check"
fi

[ "$failures" -eq 0 ] || { echo "$failures release check(s) failed" >&2; exit 1; }
echo "All release checks passed in $((SECONDS - started)) s."
