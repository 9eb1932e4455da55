// Figures of the page in Debian's Chromium, for scripts/bench-report.sh (not a test):
// what it transfers (gzip), load to first paint, CPU while idle and while streaming,
// and memory. Prints one Markdown table.
//   node web-figures.js OUT_WEB_DIR PORT
const { chromium } = require('@playwright/test');
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');

const [folder, port] = process.argv.slice(2);
const url = `http://127.0.0.1:${port}/index.html`;
const LOADS = 5;
const WINDOW_MS = 5000;
const TICKS_PER_SECOND = 100;  // USER_HZ of /proc/*/stat

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

// Every file the page loads, compressed as a server would send it.
function transferredBytes() {
  const files = ['index.html', 'tonvela.css', 'tonvela-page.js', 'tonvela.js', 'tonvela.wasm',
                 'icon.svg', 'manifest.webmanifest'];
  let raw = 0;
  let gzip = 0;
  for (const file of files) {
    const bytes = fs.readFileSync(path.join(folder, file));
    raw += bytes.length;
    gzip += zlib.gzipSync(bytes, { level: 9 }).length;
  }
  return { raw, gzip };
}

// The browser and all the processes it started.
function processTree(root) {
  const children = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const parent = Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]);
      if (!children.has(parent)) children.set(parent, []);
      children.get(parent).push(Number(entry));
    } catch (error) { /* gone */ }
  }
  const all = [];
  const stack = [root];
  while (stack.length) {
    const pid = stack.pop();
    all.push(pid);
    stack.push(...(children.get(pid) || []));
  }
  return all;
}

function cpuTicks(pids) {
  let ticks = 0;
  for (const pid of pids) {
    try {
      const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      ticks += Number(fields[11]) + Number(fields[12]);  // utime, stime
    } catch (error) { /* gone */ }
  }
  return ticks;
}

function residentKiB(pids) {
  let kib = 0;
  for (const pid of pids) {
    try {
      const match = /VmRSS:\s+(\d+)/.exec(fs.readFileSync(`/proc/${pid}/status`, 'utf8'));
      if (match) kib += Number(match[1]);
    } catch (error) { /* gone */ }
  }
  return kib;
}

// Share of one core that the browser's processes used over the next WINDOW_MS.
async function cpuShare(browserPid) {
  const pids = processTree(browserPid);
  const before = cpuTicks(pids);
  const start = process.hrtime.bigint();
  await new Promise((resolve) => setTimeout(resolve, WINDOW_MS));
  const seconds = Number(process.hrtime.bigint() - start) / 1e9;
  return (cpuTicks(processTree(browserPid)) - before) / TICKS_PER_SECOND / seconds;
}

async function main() {
  const pageServer = spawn('python3', ['-m', 'http.server', String(port), '--bind', '127.0.0.1',
                                   '--directory', folder], { stdio: 'ignore' });
  await new Promise((resolve) => setTimeout(resolve, 1000));
  const browserServer = await chromium.launchServer({
    executablePath: process.env.TONVELA_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const pid = browserServer.process().pid;
  const browser = await chromium.connect(browserServer.wsEndpoint());
  try {
    const paints = [];
    for (let i = 0; i < LOADS; i += 1) {
      const context = await browser.newContext();  // nothing cached
      const page = await context.newPage();
      await page.goto(url);
      await page.waitForFunction(() => window.tonvela && window.tonvela.firstPaintTime !== null);
      paints.push(await page.evaluate(() => window.tonvela.firstPaintTime));
      await context.close();
    }

    const context = await browser.newContext();
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction(() => window.tonvela && window.tonvela.firstPaintTime !== null &&
                               window.tonvela.resume !== null);
    const idle = await cpuShare(pid);
    await page.locator('[data-control-id="1008"]').click();
    await page.waitForFunction(() => window.tonvela.audio.pieces > 10);
    const streaming = await cpuShare(pid);
    const late = await page.evaluate(() => window.tonvela.audio.late);
    const memory = await page.evaluate(() => ({
      wasm: window.tonvela.module.HEAPU8.length,
    }));
    const client = await context.newCDPSession(page);
    await client.send('Performance.enable');
    const { metrics } = await client.send('Performance.getMetrics');
    const heap = metrics.find((metric) => metric.name === 'JSHeapUsedSize').value;
    const resident = residentKiB(processTree(pid));

    const size = transferredBytes();
    const rows = [
      ['page transferred (gzip -9; raw)', `${(size.gzip / 1024).toFixed(0)} KiB (${(size.raw / 1024).toFixed(0)} KiB)`],
      [`load to first paint of the panels (median of ${LOADS})`, `${median(paints).toFixed(0)} ms`],
      ['CPU, idle page (browser, all processes)', `${(idle * 100).toFixed(1)} % of a core`],
      ['CPU, streaming the square wave', `${(streaming * 100).toFixed(1)} % of a core (schedule ran dry ${late}x)`],
      ['memory: wasm heap · JS heap · all browser processes (RSS)',
       `${(memory.wasm / 1048576).toFixed(1)} MiB · ${(heap / 1048576).toFixed(1)} MiB · ${(resident / 1024).toFixed(0)} MiB`],
    ];
    console.log('| page in Chromium | figure |');
    console.log('|---|---|');
    for (const [what, figure] of rows) console.log(`| ${what} | ${figure} |`);
  } finally {
    await browser.close();
    await browserServer.close();
    pageServer.kill();
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
