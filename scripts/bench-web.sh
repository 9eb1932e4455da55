#!/usr/bin/env bash
# Figures of the page in Debian's Chromium (part of scripts/bench-report.sh): transferred
# size (gzip), load to first paint, CPU while idle and while streaming, memory. Builds
# the page and installs what is missing, as scripts/test-web.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/lib/packages.sh
install_missing_packages --no-install-recommends chromium fonts-ipafont-gothic python3
bash scripts/build-web.sh > /dev/null
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
node tests/web/bench/web-figures.js "$PWD/out/web" "$port"
