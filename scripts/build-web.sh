#!/usr/bin/env bash
# Builds the program for the browser with Emscripten into out/web/: index.html, the
# page's script and style, tonvela.js, tonvela.wasm, the web app manifest and the icon.
# Any static web server can serve that folder (scripts/serve-web.sh does it locally).
# Installs what is missing (Debian packages); safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/lib/packages.sh
install_missing_packages --no-install-recommends emscripten cmake ninja-build python3

# Debian's emcc runs on Node, which finds the packaged JavaScript modules only here.
export NODE_PATH=/usr/share/nodejs

emcmake cmake -S . -B build/web -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTONVELA_BUILD_TESTS=OFF -DTONVELA_BUILD_QT=OFF
cmake --build build/web -j "$(nproc)" --target tonvela

rm -rf out/web
mkdir -p out/web
for file in index.html tonvela-page.js tonvela.css manifest.webmanifest icon.svg \
            tonvela.js tonvela.wasm; do
  cp "build/web/platform/web/$file" out/web/
done
ls -l out/web
