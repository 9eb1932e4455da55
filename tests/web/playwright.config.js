// The page from out/web/ in Debian's Chromium (never a downloaded browser), served on
// this machine by the same server as scripts/serve-web.sh.
const { defineConfig } = require('@playwright/test');
const path = require('node:path');

const port = Number(process.env.TONVELA_WEB_PORT || 8790);
const root = path.resolve(__dirname, '../..');

module.exports = defineConfig({
  testDir: '.',
  testMatch: '*.test.js',
  timeout: 60_000,
  workers: 1,  // two cores, shared: one browser at a time
  reporter: [['list']],
  use: {
    baseURL: `http://127.0.0.1:${port}/`,
    viewport: { width: 900, height: 800 },
    launchOptions: {
      executablePath: process.env.TONVELA_CHROMIUM || '/usr/bin/chromium',
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
             '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    },
  },
  webServer: {
    command: `python3 -m http.server ${port} --bind 127.0.0.1 --directory out/web`,
    cwd: root,
    url: `http://127.0.0.1:${port}/index.html`,
    reuseExistingServer: false,
    stderr: 'ignore',  // one line per request
    timeout: 30_000,
  },
});
