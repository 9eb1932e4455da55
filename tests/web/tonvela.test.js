// The page in a real browser, compared with tonvela-script: the same program on the
// headless backend must show the same texts and pixels and play the same samples.
const { test, expect } = require('@playwright/test');
const { PNG } = require('pngjs');
const reference = require('./reference');

const SINE = 1012;
const SQUARE = 1008;
const CLEAR = 1040;
const PRESETS = [SQUARE, 1009, 1010, 1011, 1039, SINE];
const FUNDAMENTAL_SLIDER = 1018;
const FUNDAMENTAL_LABEL = 1023;
const SECOND_HARMONIC_SLIDER = 1019;
const SECOND_HARMONIC_LABEL = 1024;
const SAMPLE_RATE = 16000;

// Opens the page and collects what it says on the console.
async function openPage(page, { captureAudio = true, holdAudio = false, withoutWebAudio = false } = {}) {
  const problems = [];
  page.on('console', (message) => {
    if (message.type() === 'error' || message.type() === 'warning') problems.push(message.text());
  });
  page.on('pageerror', (error) => problems.push(String(error)));
  await page.addInitScript(({ captureAudio, holdAudio, withoutWebAudio }) => {
    window.tonvelaCaptureAudio = captureAudio;
    window.tonvelaHoldAudio = holdAudio;
    if (withoutWebAudio) {
      delete window.AudioContext;
      delete window.webkitAudioContext;
    }
  }, { captureAudio, holdAudio, withoutWebAudio });
  await page.goto('index.html');
  await waitUntilIdle(page);
  return problems;
}

// The program has handled everything and waits for the next event.
async function waitUntilIdle(page) {
  await page.waitForFunction(() => window.tonvela && window.tonvela.state === 'running' &&
    window.tonvela.resume !== null && !window.tonvela.wakePending && window.tonvela.firstPaintTime !== null);
}

function control(page, id) {
  return page.locator(`[data-control-id="${id}"]`);
}

async function click(page, id) {
  await control(page, id).click();
  await waitUntilIdle(page);
}

// The texts of the controls that have an ID, as `texts` prints them.
async function shownTexts(page) {
  return page.evaluate(() => {
    const lines = [];
    for (const [, shown] of window.tonvela.controls) {
      if (shown.id === -1) continue;
      const text = shown.label ? shown.label.textContent
        : shown.scrollBar ? '' : shown.element.textContent;
      lines.push(`${shown.id}\t${text}`);
    }
    return lines;
  });
}

async function canvasPixels(page) {
  const url = await page.evaluate(() => {
    const [dialog] = window.tonvela.dialogs.values();
    return dialog.canvas.toDataURL('image/png');
  });
  const png = PNG.sync.read(Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'));
  return { width: png.width, height: png.height, rgba: png.data };
}

function differingPixels(a, b) {
  expect([a.width, a.height]).toEqual([b.width, b.height]);
  let count = 0;
  for (let i = 0; i < a.rgba.length; i += 4) {
    if (a.rgba[i] !== b.rgba[i] || a.rgba[i + 1] !== b.rgba[i + 1] || a.rgba[i + 2] !== b.rgba[i + 2]) {
      count += 1;
    }
  }
  return count;
}

// Every sample handed to Web Audio so far.
async function capturedSamples(page) {
  return Int16Array.from(await page.evaluate(() => {
    const all = [];
    for (const piece of window.tonvela.audio.captured) all.push(...piece);
    return all;
  }));
}

async function waitForSamples(page, count) {
  await page.waitForFunction((wanted) => {
    let total = 0;
    for (const piece of window.tonvela.audio.captured) total += piece.length;
    return total >= wanted;
  }, count, { timeout: 20_000 });
}

// Amplitude of the component at `hz` over [begin, end), full scale 1.
function amplitude(samples, begin, end, hz) {
  let re = 0;
  let im = 0;
  for (let n = begin; n < end; n += 1) {
    const angle = (2 * Math.PI * hz * (n - begin)) / SAMPLE_RATE;
    re += (samples[n] / 32768) * Math.cos(angle);
    im += (samples[n] / 32768) * Math.sin(angle);
  }
  return (2 * Math.hypot(re, im)) / (end - begin);
}

// The spectrum is taken at the phase where the sound has got to, so the audio clock is held
// still here, as the script driver's stands between its `play` commands.
test('shows the texts and pixels of tonvela-script at the start, after each preset and after Clear', async ({ page }) => {
  const problems = await openPage(page, { holdAudio: true });
  const actions = [];
  const steps = [null, ...PRESETS, CLEAR];
  for (const step of steps) {
    if (step !== null) {
      await click(page, step);
      actions.push(`click ${step}`);
    }
    const where = step === null ? 'at the start' : `after click ${step}`;
    expect(await shownTexts(page), where).toEqual(reference.textsAfter(actions));
    expect(differingPixels(await canvasPixels(page), reference.snapshotAfter(actions)), where).toBe(0);
  }
  expect(problems).toEqual([]);
});

test('the first preset click starts the sound: the samples are tonvela-script\'s recording', async ({ page }) => {
  const problems = await openPage(page);
  await click(page, SQUARE);
  const seconds = 1;
  await waitForSamples(page, seconds * SAMPLE_RATE);
  const heard = (await capturedSamples(page)).subarray(0, seconds * SAMPLE_RATE);
  const expected = reference.recordingOf([`click ${SQUARE}`], seconds);
  const differing = [];
  for (let i = 0; i < expected.length; i += 1) {
    if (heard[i] !== expected[i]) differing.push({ index: i, heard: heard[i], expected: expected[i] });
  }
  expect(differing).toEqual([]);
  const stats = await page.evaluate(() => ({
    state: window.tonvela.audio.context.state,
    rate: window.tonvela.audio.context.sampleRate,
  }));
  expect(stats).toEqual({ state: 'running', rate: SAMPLE_RATE });
  expect(problems).toEqual([]);
});

// Presets pressed while the sound plays rewrite the blocks still queued. The audio clock
// is held at each press, so that the script driver can play exactly as far before it.
test('the sound through all presets in a row is tonvela-script\'s, sample for sample', async ({ page }) => {
  const problems = await openPage(page, { holdAudio: true });
  const setHold = (hold) => page.evaluate((value) => {
    window.tonvela.audio.hold = value;
    if (!value) window.tonvela.audio.tick();
  }, hold);
  const script = [];
  let played = 0;
  for (const preset of PRESETS) {
    await setHold(true);
    const heardSoFar = (await capturedSamples(page)).length;
    if (heardSoFar > played) script.push(`play ${(heardSoFar - played) / SAMPLE_RATE}`);
    played = heardSoFar;
    await click(page, preset);
    script.push(`click ${preset}`);
    await setHold(false);
    await waitForSamples(page, played + 3000 + (preset % 7) * 300);  // ends within blocks too
  }
  await setHold(true);
  const heard = await capturedSamples(page);
  script.push(`play ${(heard.length - played) / SAMPLE_RATE}`);
  const { files } = reference.runScript(['record {dir}/heard.wav', ...script], ['heard.wav']);
  const expected = reference.wavSamples(files['heard.wav']);
  expect(heard.length).toBe(expected.length);
  const differing = [];
  for (let i = 0; i < expected.length && differing.length < 10; i += 1) {
    if (heard[i] !== expected[i]) differing.push({ index: i, heard: heard[i], expected: expected[i] });
  }
  expect(differing).toEqual([]);
  expect(problems).toEqual([]);
});

// A background tab whose timers the browser has stopped, and a page held up for longer
// than its schedule reaches: when the page runs again the schedule starts from the
// current time with no queue of stale blocks, and the program's stream goes on where it
// stood, sample for sample.
test('a frozen or held-up page resumes its sound without stale blocks and without losing a sample', async ({ page }) => {
  const problems = await openPage(page);
  await click(page, SQUARE);
  await waitForSamples(page, 8000);
  const client = await page.context().newCDPSession(page);
  await client.send('Page.setWebLifecycleState', { state: 'frozen' });
  await new Promise((resolve) => setTimeout(resolve, 1500));
  await client.send('Page.setWebLifecycleState', { state: 'active' });
  await waitForSamples(page, 16000);
  // Nothing of the page runs for 0.6 s while the sound goes on: the schedule runs dry.
  await page.evaluate(() => {
    const end = performance.now() + 600;
    while (performance.now() < end) { /* busy */ }
  });
  await waitForSamples(page, 24000);
  const schedule = await page.evaluate(() => ({
    late: window.tonvela.audio.late,
    ahead: window.tonvela.audio.nextTime - window.tonvela.audio.context.currentTime,
  }));
  expect(schedule.late).toBeGreaterThanOrEqual(1);
  expect(schedule.ahead).toBeLessThan(0.25);
  const heard = (await capturedSamples(page)).subarray(0, 24000);
  const expected = reference.recordingOf([`click ${SQUARE}`], 1.5);
  expect(heard.every((sample, i) => sample === expected[i])).toBe(true);
  expect(problems).toEqual([]);
});

test('Clear silences: the output closes and no more samples are taken', async ({ page }) => {
  await openPage(page);
  await click(page, SINE);
  await waitForSamples(page, 4000);
  await click(page, CLEAR);
  // Nothing is left running: no sources, no schedule timer, the audio context suspended.
  await page.waitForFunction(() => !window.tonvela.audio.isOpen && window.tonvela.audio.sources.size === 0 &&
    window.tonvela.audio.timer === null && window.tonvela.audio.context.state === 'suspended');
  const before = (await capturedSamples(page)).length;
  await page.waitForTimeout(400);
  expect((await capturedSamples(page)).length).toBe(before);
  // Clear opens nothing: the next preset opens the device again and sounds.
  await click(page, SINE);
  await waitForSamples(page, before + 4000);
});

test('sliders move by mouse and by keyboard: labels as in tonvela-script, and the sound follows', async ({ page }) => {
  const problems = await openPage(page);
  await click(page, SINE);

  // The right arrow of the second harmonic's bar: one line step.
  const bar = control(page, SECOND_HARMONIC_SLIDER);
  const box = await bar.boundingBox();
  await page.mouse.click(box.x + box.width - box.height / 2, box.y + box.height / 2);
  await waitUntilIdle(page);
  const afterArrow = reference.textsAfter([`click ${SINE}`, `scroll ${SECOND_HARMONIC_SLIDER} 1`, `scroll ${SECOND_HARMONIC_SLIDER} 8`]);
  expect(await shownTexts(page)).toEqual(afterArrow);

  // Dragging the fundamental's thumb half-way: track, then position and end.
  const fundamental = control(page, FUNDAMENTAL_SLIDER);
  const thumb = fundamental.locator('.tv-thumb');
  const thumbBox = await thumb.boundingBox();
  const barBox = await fundamental.boundingBox();
  await page.mouse.move(thumbBox.x + thumbBox.width / 2, thumbBox.y + thumbBox.height / 2);
  await page.mouse.down();
  await page.mouse.move(barBox.x + barBox.width / 2, thumbBox.y + thumbBox.height / 2, { steps: 8 });
  await page.mouse.up();
  await waitUntilIdle(page);
  const dropped = await fundamental.getAttribute('aria-valuenow');
  expect(dropped).not.toBe(await fundamental.getAttribute('aria-valuemax'));
  expect(dropped).not.toBe(await fundamental.getAttribute('aria-valuemin'));

  // Keyboard on the focused bar: the right arrow key is one line step.
  await control(page, SECOND_HARMONIC_SLIDER).focus();
  await page.keyboard.press('ArrowRight');
  await waitUntilIdle(page);
  const state = [`click ${SINE}`, `scroll ${SECOND_HARMONIC_SLIDER} 1`, `scroll ${SECOND_HARMONIC_SLIDER} 8`,
                 `scroll ${FUNDAMENTAL_SLIDER} 5 ${dropped}`, `scroll ${FUNDAMENTAL_SLIDER} 4 ${dropped}`,
                 `scroll ${FUNDAMENTAL_SLIDER} 8`,
                 `scroll ${SECOND_HARMONIC_SLIDER} 1`, `scroll ${SECOND_HARMONIC_SLIDER} 8`];
  const texts = reference.textsAfter(state);
  expect(await shownTexts(page)).toEqual(texts);
  const label = texts.find((line) => line.startsWith(`${SECOND_HARMONIC_LABEL}\t`)).split('\t')[1];
  await expect(control(page, SECOND_HARMONIC_SLIDER)).toHaveAttribute('aria-valuetext', label);
  expect(texts.find((line) => line.startsWith(`${FUNDAMENTAL_LABEL}\t`))).not.toEqual(
    reference.textsAfter([`click ${SINE}`]).find((line) => line.startsWith(`${FUNDAMENTAL_LABEL}\t`)));

  // The sound now is the tone of that state: same strength of 440 and 880 Hz as the
  // script driver plays it (2000 samples are whole periods of both).
  const start = (await capturedSamples(page)).length + 4000;
  await waitForSamples(page, start + 2000);
  const heard = await capturedSamples(page);
  const expected = reference.recordingOf(state, 1);
  for (const hz of [440, 880]) {
    expect(amplitude(heard, start, start + 2000, hz)).toBeCloseTo(amplitude(expected, 8000, 10000, hz), 3);
  }
  expect(problems).toEqual([]);
});

test('holding the trough pages the thumb up to the pointer, then stops', async ({ page }) => {
  await openPage(page, { holdAudio: true });
  const bar = control(page, SECOND_HARMONIC_SLIDER);
  const box = await bar.boundingBox();
  const x = box.x + box.width * 0.7;
  await page.mouse.move(x, box.y + box.height / 2);
  await page.mouse.down();
  await page.waitForTimeout(2500);  // the pause before repeating, then a page each 0.1 s
  const held = await bar.getAttribute('aria-valuenow');
  await page.waitForTimeout(500);
  expect(await bar.getAttribute('aria-valuenow')).toBe(held);  // stopped at the pointer
  await page.mouse.up();
  await waitUntilIdle(page);
  const thumb = await bar.locator('.tv-thumb').boundingBox();
  expect(thumb.x).toBeLessThanOrEqual(x + thumb.width);
  expect(thumb.x + 2 * thumb.width).toBeGreaterThan(x);
  expect(Number(held)).toBeGreaterThan(1);
});

test('keyboard: Tab, Shift+Tab, Space and the arrows work through the dialog manager', async ({ page }) => {
  await openPage(page);
  // The first tab stop has the focus at the start; Space clicks it (volume down).
  await page.keyboard.press('Space');
  await waitUntilIdle(page);
  await page.keyboard.press('Tab');
  await waitUntilIdle(page);
  await page.keyboard.press('Space');
  await waitUntilIdle(page);
  expect(await shownTexts(page)).toEqual(reference.textsAfter(['key Space', 'key Tab', 'key Space']));
  const focused = () => page.evaluate(() => document.activeElement.dataset.controlId);
  expect(await focused()).toBe('1007');
  await page.keyboard.press('Shift+Tab');
  await waitUntilIdle(page);
  expect(await focused()).toBe('1003');
  await page.keyboard.press('Space');
  await waitUntilIdle(page);
  // The arrows walk the group; the auto radio button they reach is clicked.
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('ArrowRight');
  await waitUntilIdle(page);
  const keys = ['key Space', 'key Tab', 'key Space', 'key Shift+Tab', 'key Space', 'key Right', 'key Right'];
  const texts = reference.textsAfter(keys);
  expect(await shownTexts(page)).toEqual(texts);
  expect(texts).not.toEqual(reference.textsAfter([]));
});

test('without Web Audio a preset beeps once and the program goes on', async ({ page }) => {
  const problems = await openPage(page, { withoutWebAudio: true });
  await click(page, SQUARE);
  expect(await page.evaluate(() => window.tonvela.beeps)).toBe(1);
  expect(await shownTexts(page)).toEqual(reference.textsAfter(['fail-open', `click ${SQUARE}`]));
  await click(page, SINE);
  expect(await page.evaluate(() => window.tonvela.beeps)).toBe(2);
  expect(problems).toEqual([]);
});

test('every control has its role and name', async ({ page }) => {
  await openPage(page);
  await expect(page.getByRole('dialog', { name: 'TonvelaVer2019.05.10' })).toBeVisible();
  for (const name of ['矩形波', 'ノコギリ波', '三角波', 'くり返パルス', '女性の「ア」', 'クリア', 'サイン波']) {
    await expect(page.getByRole('radio', { name })).toHaveAttribute('aria-checked', 'false');
  }
  await expect(page.getByRole('button', { name: '音量全体を下げる' })).toBeVisible();
  await expect(page.getByRole('button', { name: '音量全体を上げる' })).toBeVisible();
  await expect(page.getByRole('button', { name: '閉じる' })).toBeVisible();
  const fundamental = page.getByRole('slider', { name: '基音(基本音・基本波）' });
  await expect(fundamental).toHaveAttribute('aria-valuetext', '振幅=0 パワー=0  -∞[dB]');
  await expect(page.getByRole('slider', { name: '第１０倍音（第１０高調波）' })).toBeVisible();
  await expect(page.getByRole('slider', { name: '現在の基本周波数=440 Hz' })).toBeVisible();
  await expect(page.getByRole('slider')).toHaveCount(11);
  // The raster keeps sharp pixels when a dense screen scales it.
  await expect(page.locator('canvas')).toHaveCSS('image-rendering', 'pixelated');
  await click(page, SINE);
  await expect(page.getByRole('radio', { name: 'サイン波' })).toHaveAttribute('aria-checked', 'true');
});

test('the close box ends the program cleanly', async ({ page }) => {
  const problems = await openPage(page);
  await click(page, SINE);
  await waitForSamples(page, 2000);
  await page.getByRole('button', { name: '閉じる' }).click();
  await page.waitForFunction(() => window.tonvela.state === 'ended');
  expect(await page.evaluate(() => ({
    exitCode: window.tonvela.exitCode,
    dialogs: window.tonvela.dialogs.size,
    open: window.tonvela.audio.isOpen,
  }))).toEqual({ exitCode: 0, dialogs: 0, open: false });
  await expect(page.getByRole('status')).toBeVisible();
  expect(problems).toEqual([]);
});

test.describe('on a screen of twice the density', () => {
  test.use({ deviceScaleFactor: 2 });

  test('each raster pixel is a sharp 2 x 2 block', async ({ page }) => {
    await openPage(page, { holdAudio: true });
    await click(page, SQUARE);
    const raster = await canvasPixels(page);
    // The controls lie over the canvas: out of the picture for this.
    await page.addStyleTag({ content: '.tv-client > :not(canvas) { visibility: hidden; }' });
    const shot = PNG.sync.read(await page.locator('canvas').screenshot());
    expect([shot.width, shot.height]).toEqual([raster.width * 2, raster.height * 2]);
    let differing = 0;
    for (let y = 0; y < shot.height; y += 1) {
      for (let x = 0; x < shot.width; x += 1) {
        const s = 4 * (y * shot.width + x);
        const r = 4 * ((y >> 1) * raster.width + (x >> 1));
        if (shot.data[s] !== raster.rgba[r] || shot.data[s + 1] !== raster.rgba[r + 1] ||
            shot.data[s + 2] !== raster.rgba[r + 2]) differing += 1;
      }
    }
    expect(differing).toBe(0);
  });
});
