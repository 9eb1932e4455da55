#!/usr/bin/env bash
# The browser build in Debian's Chromium, driven by Playwright (tests/web/), compared
# with tonvela-script:  bash scripts/test-web.sh [path/to/tonvela-script]
# Builds the page (scripts/build-web.sh) and installs what is missing: Chromium from
# Debian, the npm packages pinned by tests/web/package-lock.json. No browser is
# downloaded.
set -euo pipefail
cd "$(dirname "$0")/.."

script_program=${1:-build/release/tools/script/tonvela-script}
if [ ! -x "$script_program" ]; then
  echo "test-web: $script_program is missing; build it first (cmake --build build/release --target tonvela-script)" >&2
  exit 1
fi

source scripts/lib/packages.sh
install_missing_packages --no-install-recommends chromium fonts-ipafont-gothic python3
if ! command -v npm > /dev/null; then
  install_missing_packages --no-install-recommends nodejs npm
fi

bash scripts/build-web.sh

export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)

TONVELA_SCRIPT=$(realpath "$script_program")
TONVELA_WEB_PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
export TONVELA_SCRIPT TONVELA_WEB_PORT
cd tests/web
exec npx --no-install playwright test
