#!/usr/bin/env bash
# Turns the checked-out commit into everything a user downloads, in dist/:
#   tonvela_<version>_amd64.deb       the desktop program and tonvela-script for Debian 12
#   tonvela-<version>-setup.exe       the Windows installer (64-bit program on 64-bit
#                                     Windows, 32-bit elsewhere)
#   tonvela-<version>-windows.zip     both Windows executables and a read-me, to run
#                                     without installing
#   tonvela-<version>-web.zip         the browser build's files, when the tree has
#                                     scripts/build-web.sh
#   SHA256SUMS
# Builds the commit (HEAD) from a clean export, never the working tree's changes.
# Reproducible: time stamps come from the commit, files are packed in sorted order and
# build paths are mapped away, so two runs of one commit give byte-identical files.
#
#   scripts/release.sh [--work DIR]   (DIR: where to build; default build/release-work)
# Installs what is missing (Debian packages); safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
umask 022
export LC_ALL=C.UTF-8 TZ=UTC

work=$root/build/release-work
if [ "${1:-}" = "--work" ] && [ -n "${2:-}" ]; then
  work=$(realpath -m "$2")
elif [ $# -gt 0 ]; then
  echo "usage: scripts/release.sh [--work DIR]" >&2
  exit 2
fi

source scripts/lib/packages.sh
bash scripts/install-deps.sh
install_missing_packages --no-install-recommends dpkg-dev lintian nsis zip man-db

commit=$(git rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD)
export SOURCE_DATE_EPOCH
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release: the working tree has uncommitted changes; they are not part of the release" >&2
fi

rm -rf "$work"
src=$work/src
# Everything below, packaging files included, comes from the commit's own tree; the
# files are put into dist/ only when all of them are made.
dist=$work/dist
mkdir -p "$src" "$work/stage" "$work/deb" "$dist"
git archive --format=tar HEAD | tar -x -C "$src"
version=$(sed -n 's/^project(Tonvela VERSION \([0-9.]*\) .*/\1/p' "$src/CMakeLists.txt")
[ -n "$version" ] || { echo "release: no version in CMakeLists.txt's project()" >&2; exit 1; }
packaging=$src/packaging
echo "== Tonvela $version from commit $commit"

# Every file packed gets the commit's time; directories too.
stamp() { find "$@" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +; }

# ---- Debian package ------------------------------------------------------------------
# Debian's own compiler flags (hardening included), with the build folder mapped away.
linux_build=$src/build/linux
(
  cd "$src"
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
  CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
  LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
  export CFLAGS CXXFLAGS LDFLAGS
  cmake -S . -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_INSTALL_PREFIX=/usr -DTONVELA_BUILD_TESTS=OFF
  cmake --build "$linux_build" -j 2
)
# Staged where dpkg-shlibdeps expects a package's files: debian/<package>/.
package_root=$work/deb
stage=$package_root/debian/tonvela
DESTDIR=$stage cmake --install "$linux_build" --strip
# As Debian's own packaging strips: without the compiler's notes.
strip --remove-section=.comment --remove-section=.note "$stage"/usr/bin/*

arch=$(dpkg --print-architecture)
doc=$stage/usr/share/doc/tonvela
mkdir -p "$doc"
year=$(date -d "@$SOURCE_DATE_EPOCH" +%Y)
sed "s/@YEAR@/$year/" "$packaging"/debian/copyright > "$doc/copyright"
{
  echo "tonvela ($version) unstable; urgency=medium"
  echo
  echo "  * Release of commit $commit."
  echo
  echo " -- $(sed -n 's/^Maintainer: //p' "$packaging"/debian/control.in)  $(date -R -d "@$SOURCE_DATE_EPOCH")"
} | gzip -9n > "$doc/changelog.gz"
find "$stage/usr/share/man" -type f -name '*.[0-9]' -exec gzip -9n {} + 2>/dev/null || true

# Libraries from the binaries; the Qt platform plugin and a Japanese font are loaded at
# run time, where no linker sees them.
mkdir -p "$stage/DEBIAN"  # dpkg-shlibdeps finds the package's root by it
printf 'Source: tonvela\n\nPackage: tonvela\nArchitecture: any\n' > "$package_root/debian/control"
binaries=()
for binary in "$stage"/usr/bin/*; do binaries+=("-e${binary#"$package_root"/}"); done
depends=$(cd "$package_root" && dpkg-shlibdeps -O "${binaries[@]}" | sed -n 's/^shlibs:Depends=//p')
depends+=", qt6-qpa-plugins, fonts-ipafont-gothic | fonts-noto-cjk"

installed_size=$(du -sk --apparent-size --exclude=DEBIAN "$stage" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@INSTALLED_SIZE@/$installed_size/" \
  -e "s/@DEPENDS@/$depends/" "$packaging"/debian/control.in > "$stage/DEBIAN/control"
(cd "$stage" && find usr -type f | sort | xargs md5sum) > "$stage/DEBIAN/md5sums"
chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"
stamp "$stage"
deb=$dist/tonvela_${version}_$arch.deb
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb"

echo "== lintian"
# Errors and warnings fail the release; informational tags are printed only.
lintian --info --display-info --fail-on error,warning "$deb"

# ---- Windows ---------------------------------------------------------------------------
(
  cd "$src"
  export CFLAGS="-ffile-prefix-map=$src=." CXXFLAGS="-ffile-prefix-map=$src=."
  bash scripts/build-windows.sh
)
windows=$src/out/windows
icon=$src/build-win-x64/platform/win32/tonvela.ico

# Four numbers without leading zeros, as Windows shows a file version: 2019.5.10.0
file_version=$(IFS=.; set -- $version 0 0 0; echo "$((10#$1)).$((10#$2)).$((10#$3)).$((10#$4))")
readme=$work/stage/README.txt
# The read-me in UTF-8 with a byte-order mark and CRLF, as Notepad reads it everywhere.
{ printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$packaging"/windows/README.txt.in; } > "$readme"

zip_root=$work/stage/zip
zip_dir=tonvela-$version-windows
mkdir -p "$zip_root/$zip_dir"
cp "$windows/tonvela-x64.exe" "$windows/tonvela-x86.exe" "$readme" "$zip_root/$zip_dir/"
chmod 644 "$zip_root/$zip_dir"/*
stamp "$zip_root"
# -X: no extra fields (owner ids, extended times); -D: no directory entries.
(cd "$zip_root" && find "$zip_dir" -type f | sort | zip -X -D -9 -q "$dist/$zip_dir.zip" -@)

installer_files=$work/stage/installer
mkdir -p "$installer_files"
cp "$windows/tonvela-x64.exe" "$windows/tonvela-x86.exe" "$icon" "$installer_files/"
stamp "$installer_files"
size_kb() { echo $((($(stat -c %s "$1") + 1023) / 1024)); }
nsis_inputs=(
  "-DVERSION=$version" "-DFILE_VERSION=$file_version"
  "-DX64_EXE=$installer_files/tonvela-x64.exe" "-DX86_EXE=$installer_files/tonvela-x86.exe"
  "-DX64_SIZE_KB=$(size_kb "$installer_files/tonvela-x64.exe")"
  "-DX86_SIZE_KB=$(size_kb "$installer_files/tonvela-x86.exe")"
  "-DICON=$installer_files/tonvela.ico"
)
makensis -V2 -INPUTCHARSET UTF8 "${nsis_inputs[@]}" \
  "-DOUTFILE=$dist/tonvela-$version-setup.exe" "$packaging"/windows/tonvela.nsi
# The same installer as a 64-bit program, for release-check.sh on a machine that runs no
# 32-bit code; not for users.
mkdir -p "$work/test"
makensis -V2 -INPUTCHARSET UTF8 "${nsis_inputs[@]}" -DTARGET=amd64-unicode \
  "-DOUTFILE=$work/test/tonvela-$version-setup-amd64.exe" "$packaging"/windows/tonvela.nsi

# ---- Browser build -------------------------------------------------------------------
if [ -f "$src/scripts/build-web.sh" ]; then
  (
    cd "$src"
    export CFLAGS="-ffile-prefix-map=$src=." CXXFLAGS="-ffile-prefix-map=$src=."
    bash scripts/build-web.sh
  )
  web_root=$work/stage/web
  web_dir=tonvela-$version-web
  mkdir -p "$web_root/$web_dir"
  cp -R "$src/out/web/." "$web_root/$web_dir/"
  echo "$version" > "$web_root/$web_dir/VERSION"
  chmod -R u=rwX,go=rX "$web_root"
  stamp "$web_root"
  (cd "$web_root" && find "$web_dir" -type f | sort | zip -X -D -9 -q "$dist/$web_dir.zip" -@)
else
  echo "== this commit has no browser build (scripts/build-web.sh): no web archive"
fi

# ---- Checksums -----------------------------------------------------------------------
(cd "$dist" && find . -maxdepth 1 -type f ! -name SHA256SUMS -printf '%f\n' | sort \
  | xargs sha256sum > SHA256SUMS)
rm -rf "$root/dist"
mv "$dist" "$root/dist"
echo "== dist/"
(cd "$root/dist" && ls -l --time-style=+ . | tail -n +2 && cat SHA256SUMS)
