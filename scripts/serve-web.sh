#!/usr/bin/env bash
# Serves the page built by scripts/build-web.sh (out/web/) on this machine and prints
# its address:  bash scripts/serve-web.sh [PORT]   (default 8000; Ctrl+C stops it)
set -euo pipefail
cd "$(dirname "$0")/.."

port=${1:-8000}
if [ ! -f out/web/index.html ]; then
  echo "out/web/ is empty: build the page first with: bash scripts/build-web.sh" >&2
  exit 1
fi
echo "Tonvela: http://127.0.0.1:$port/"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory out/web
