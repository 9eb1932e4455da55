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

// Proportional set size: shared pages counted once over all processes.
function proportionalKiB(pids) {
  let kib = 0;
  for (const pid of pids) {
    try {
      const match = /^Pss:\s+(\d+)/m.exec(fs.readFileSync(`/proc/${pid}/smaps_rollup`, 'utf8'));
      if (match) kib += Number(match[1]);
    } catch (error) { /* gone */ }
  }
  return kib;
}

// The renderer processes among them (the page's JavaScript and WebAssembly run there).
function renderers(pids) {
  return pids.filter((pid) => {
    try {
      return fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8').includes('--type=renderer');
    } catch (error) {
      return false;
    }
  });
}

// Shares of one core that the renderers and all the browser's processes used over the
// next WINDOW_MS.
async function cpuShares(browserPid) {
  const pids = processTree(browserPid);
  const pages = renderers(pids);
  const before = [cpuTicks(pages), cpuTicks(pids)];
  const start = process.hrtime.bigint();
  await new Promise((resolve) => setTimeout(resolve, WINDOW_MS));
  const seconds = Number(process.hrtime.bigint() - start) / 1e9;
  const after = [cpuTicks(pages), cpuTicks(pids)];
  return after.map((ticks, i) => (ticks - before[i]) / TICKS_PER_SECOND / seconds);
}

function shares([page, all]) {
  return `${(page * 100).toFixed(1)} % · ${(all * 100).toFixed(1)} %`;
}

const settle = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

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

    // Side by side: the first paint of the page's icon alone, a document with nothing to
    // run, tells what one load costs in this browser on this machine right now.
    const bare = [];
    for (let i = 0; i < LOADS; i += 1) {
      const context = await browser.newContext();
      const page = await context.newPage();
      await page.goto(url.replace('index.html', 'icon.svg'));
      bare.push(await page.evaluate(() => performance.getEntriesByType('navigation')[0].loadEventEnd));
      await context.close();
    }

    const context = await browser.newContext();
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction(() => window.tonvela && window.tonvela.firstPaintTime !== null &&
                               window.tonvela.resume !== null);
    await settle(3000);  // the browser's own start-up work is over
    const idle = await cpuShares(pid);
    await page.locator('[data-control-id="1008"]').click();
    await page.waitForFunction(() => window.tonvela.audio.pieces > 10);
    const streaming = await cpuShares(pid);
    const late = await page.evaluate(() => window.tonvela.audio.late);
    const memory = await page.evaluate(() => window.tonvela.module.HEAPU8.length);
    const client = await context.newCDPSession(page);
    await client.send('Performance.enable');
    const { metrics } = await client.send('Performance.getMetrics');
    const heap = metrics.find((metric) => metric.name === 'JSHeapUsedSize').value;
    const proportional = proportionalKiB(processTree(pid));
    await page.locator('[data-control-id="1040"]').click();
    await settle(2000);
    const afterClear = await cpuShares(pid);

    const size = transferredBytes();
    const rows = [
      ['page transferred (gzip -9; raw)', `${(size.gzip / 1024).toFixed(0)} KiB (${(size.raw / 1024).toFixed(0)} KiB)`],
      [`load to first paint of the panels · load of the icon alone (medians of ${LOADS})`,
       `${median(paints).toFixed(0)} ms · ${median(bare).toFixed(0)} ms`],
      ['CPU, idle page: renderer · all browser processes', `${shares(idle)} of a core`],
      ['CPU, streaming the square wave: renderer · all', `${shares(streaming)} of a core (schedule ran dry ${late}x)`],
      ['CPU, idle again after Clear: renderer · all', `${shares(afterClear)} of a core`],
      ['memory: wasm heap · JS heap · all browser processes (PSS)',
       `${(memory / 1048576).toFixed(1)} MiB · ${(heap / 1048576).toFixed(1)} MiB · ${(proportional / 1024).toFixed(0)} MiB`],
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
