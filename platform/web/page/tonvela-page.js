// The page's half of the browser backend: shows the dialog that the program's core
// describes, reports the user's actions back to it, waits for events on its behalf and
// plays its sound on Web Audio. It keeps no state of the controls that could drift from
// the core's: every check mark, thumb position and focus is shown as the core last
// reported it.
'use strict';

// Control kinds, as numbered by the core's template (tv::ControlKind).
const KIND_SCROLL_BAR = 0;
const KIND_STATIC = 1;
const KIND_BUTTON = 2;
const BS_TYPE_MASK = 0x0f;
const BS_AUTORADIOBUTTON = 0x09;
const WS_VISIBLE = 0x10000000;

// Scroll-bar codes of WM_HSCROLL.
const SB = { LINELEFT: 0, LINERIGHT: 1, PAGELEFT: 2, PAGERIGHT: 3, THUMBPOSITION: 4,
             THUMBTRACK: 5, LEFT: 6, RIGHT: 7, ENDSCROLL: 8 };

// Keys that the dialog manager handles, as virtual-key codes.
const VIRTUAL_KEYS = { Tab: 0x09, Enter: 0x0d, Shift: 0x10, Escape: 0x1b, ' ': 0x20,
                       ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28 };

// The keys of a focused scroll bar, as the platform's scroll bar control turns them
// into scroll codes.
const SCROLL_BAR_KEYS = { ArrowLeft: SB.LINELEFT, ArrowUp: SB.LINELEFT, ArrowRight: SB.LINERIGHT,
                          ArrowDown: SB.LINERIGHT, PageUp: SB.PAGELEFT, PageDown: SB.PAGERIGHT,
                          Home: SB.LEFT, End: SB.RIGHT };

// Held arrows and troughs repeat as the platform's scroll bars do: a pause, then steady.
const REPEAT_DELAY_MS = 400;
const REPEAT_INTERVAL_MS = 100;

const STATIC_WRAP_TOLERANCE = 1;

const FALLBACK_FONTS = ['MS PGothic', 'ＭＳ Ｐゴシック', 'IPAPGothic', 'IPAGothic',
                        'Hiragino Kaku Gothic ProN', 'Hiragino Sans', 'Noto Sans JP',
                        'Noto Sans CJK JP', 'sans-serif'];

function fontStack(face) {
  const names = face ? [face, ...FALLBACK_FONTS.filter((name) => name !== face)] : FALLBACK_FONTS;
  return names.map((name) => (name === 'sans-serif' ? name : `"${name}"`)).join(', ');
}

function place(element, left, top, width, height) {
  element.style.left = `${left}px`;
  element.style.top = `${top}px`;
  element.style.width = `${width}px`;
  element.style.height = `${height}px`;
}

// A horizontal scroll bar: two arrow buttons, the trough and a thumb shown where the
// program last put it. Sends WM_HSCROLL through `send(code, position)`.
class ScrollBar {
  constructor(element, send) {
    this.element = element;
    this.send = send;
    this.min = 0;
    this.max = 100;
    this.pos = 0;
    this.repeat = null;
    this.drag = null;
    element.setAttribute('role', 'slider');
    element.setAttribute('aria-orientation', 'horizontal');
    element.tabIndex = -1;
    this.left = document.createElement('div');
    this.left.className = 'tv-arrow tv-arrow-left';
    this.right = document.createElement('div');
    this.right.className = 'tv-arrow tv-arrow-right';
    this.thumb = document.createElement('div');
    this.thumb.className = 'tv-thumb';
    element.append(this.left, this.thumb, this.right);
    element.addEventListener('pointerdown', (event) => this.pointerDown(event));
    element.addEventListener('pointermove', (event) => this.pointerMove(event));
    element.addEventListener('pointerup', (event) => this.pointerUp(event));
    element.addEventListener('pointercancel', (event) => this.pointerUp(event));
    element.addEventListener('keydown', (event) => this.keyDown(event));
    element.addEventListener('keyup', (event) => this.keyUp(event));
  }

  get height() { return this.element.clientHeight; }
  get width() { return this.element.clientWidth; }
  get arrowWidth() { return Math.min(this.height, Math.floor(this.width / 2)); }
  get thumbWidth() { return Math.min(this.height, Math.max(0, this.width - 2 * this.arrowWidth)); }
  get travel() { return this.width - 2 * this.arrowWidth - this.thumbWidth; }

  thumbLeft() {
    const range = this.max - this.min;
    const offset = range > 0 ? Math.round(((this.pos - this.min) * this.travel) / range) : 0;
    return this.arrowWidth + offset;
  }

  show(min, max, pos) {
    this.min = Math.min(min, max);
    this.max = Math.max(min, max);
    this.pos = pos;
    this.layOut();
    this.element.setAttribute('aria-valuemin', String(this.min));
    this.element.setAttribute('aria-valuemax', String(this.max));
    this.element.setAttribute('aria-valuenow', String(pos));
  }

  layOut() {
    const arrow = this.arrowWidth;
    place(this.left, 0, 0, arrow, this.height);
    place(this.right, this.width - arrow, 0, arrow, this.height);
    if (this.drag === null) place(this.thumb, this.thumbLeft(), 0, this.thumbWidth, this.height);
  }

  positionAt(thumbLeft) {
    const range = this.max - this.min;
    if (this.travel <= 0 || range <= 0) return this.min;
    const offset = Math.min(Math.max(thumbLeft - this.arrowWidth, 0), this.travel);
    return this.min + Math.round((offset * range) / this.travel);
  }

  localX(event) { return event.clientX - this.element.getBoundingClientRect().left; }

  pointerDown(event) {
    if (event.button !== 0) return;
    event.preventDefault();
    this.element.focus({ preventScroll: true });
    this.element.setPointerCapture(event.pointerId);
    const x = this.localX(event);
    const thumbLeft = this.thumbLeft();
    if (x < this.arrowWidth) {
      this.startRepeat(SB.LINELEFT, () => true);
    } else if (x >= this.width - this.arrowWidth) {
      this.startRepeat(SB.LINERIGHT, () => true);
    } else if (x < thumbLeft) {
      // Paging stops once the thumb has reached the pointer.
      this.startRepeat(SB.PAGELEFT, () => x < this.thumbLeft());
    } else if (x >= thumbLeft + this.thumbWidth) {
      this.startRepeat(SB.PAGERIGHT, () => x >= this.thumbLeft() + this.thumbWidth);
    } else {
      this.drag = { grab: x - thumbLeft, position: this.pos };
      this.thumb.classList.add('tv-thumb-dragged');
    }
  }

  pointerMove(event) {
    if (this.drag === null) return;
    const left = this.localX(event) - this.drag.grab;
    const position = this.positionAt(left);
    const shown = Math.min(Math.max(left, this.arrowWidth), this.arrowWidth + this.travel);
    place(this.thumb, shown, 0, this.thumbWidth, this.height);
    if (position !== this.drag.position) {
      this.drag.position = position;
      this.send(SB.THUMBTRACK, position);
    }
  }

  pointerUp(event) {
    if (this.repeat === null && this.drag === null) return;
    if (this.element.hasPointerCapture(event.pointerId)) {
      this.element.releasePointerCapture(event.pointerId);
    }
    this.stopRepeat();
    if (this.drag !== null) {
      const position = this.drag.position;
      this.drag = null;
      this.thumb.classList.remove('tv-thumb-dragged');
      this.send(SB.THUMBPOSITION, position);
      this.layOut();  // the thumb goes where the program puts it, else back
    }
    this.send(SB.ENDSCROLL, 0);
  }

  startRepeat(code, stillWanted) {
    this.stopRepeat();
    this.send(code, 0);
    const step = () => {
      if (stillWanted()) this.send(code, 0);
      this.repeat = setTimeout(step, REPEAT_INTERVAL_MS);
    };
    this.repeat = setTimeout(step, REPEAT_DELAY_MS);
  }

  stopRepeat() {
    if (this.repeat !== null) clearTimeout(this.repeat);
    this.repeat = null;
  }

  keyDown(event) {
    const code = SCROLL_BAR_KEYS[event.key];
    if (code === undefined || event.altKey || event.ctrlKey || event.metaKey) return;
    event.preventDefault();
    event.stopPropagation();
    this.send(code, 0);
  }

  keyUp(event) {
    if (SCROLL_BAR_KEYS[event.key] === undefined) return;
    event.preventDefault();
    event.stopPropagation();
    this.send(SB.ENDSCROLL, 0);
  }
}

// Web Audio output of the program's wave device. The schedule runs a short horizon
// ahead of the audio clock and is filled by pulling from the open device: a block's
// MM_WOM_DONE is posted when its last sample goes to Web Audio, at most the horizon
// before it is heard. Pieces are scheduled back to back on the sample clock of a
// 16 kHz context, so no gap or overlap arises between them.
//
// A hidden tab: Chromium keeps the timers of a page that plays sound at full rate, and
// every piece that ends also tops the schedule up, so sound goes on. Whenever the
// schedule was not topped up in time (timers throttled, the machine busy), the clock is
// found past the end of the schedule: the schedule starts again at the current time and
// pulls only what fills the horizon, so there is no queue of stale blocks and the gap
// lasts only as long as the delay itself.
class AudioOutput {
  static HORIZON_SECONDS = 0.15;
  static START_LEAD_SECONDS = 0.03;
  static PIECE_FRAMES = 800;
  static TICK_MS = 25;

  constructor(page) {
    this.page = page;
    this.context = null;
    this.isOpen = false;
    this.nextTime = 0;
    this.sources = new Set();
    this.timer = null;
    this.buffer = 0;  // the program's memory for pulled samples
    this.rate = 16000;
    this.pieces = 0;
    this.late = 0;  // times the schedule ran dry while open
    // Test hooks: keep every sample handed to Web Audio; hold the program's audio clock
    // still (nothing is pulled) as the script driver's clock stands between its `play`s.
    this.captured = window.tonvelaCaptureAudio ? [] : null;
    this.hold = Boolean(window.tonvelaHoldAudio);
    document.addEventListener('visibilitychange', () => this.tick());
  }

  get supported() { return Boolean(window.AudioContext || window.webkitAudioContext); }

  ensureContext() {
    if (this.context) return this.context;
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return null;
    // At the program's own rate the pieces meet on the context's sample clock. A browser
    // that refuses that rate plays the 16 kHz pieces at its own rate, resampled.
    for (const options of [{ sampleRate: this.rate, latencyHint: 'interactive' },
                           { latencyHint: 'interactive' }]) {
      try {
        this.context = new Context(options);
        break;
      } catch (error) {
        this.context = null;
      }
    }
    if (!this.context) return null;
    this.context.addEventListener('statechange', () => this.tick());
    return this.context;
  }

  // Called on every user gesture: browsers start sound only from one.
  unlock() {
    if (!this.supported) return;
    const context = this.ensureContext();
    if (!context) return;
    if (this.isOpen) {
      if (context.state === 'suspended') context.resume().catch(() => {});
    } else if (context.state === 'running') {
      context.suspend().catch(() => {});  // nothing plays: the idle page uses no CPU
    }
  }

  open(rate) {
    this.rate = rate;
    const context = this.ensureContext();
    if (!context) return false;
    if (!this.buffer) this.buffer = this.page.module._malloc(AudioOutput.PIECE_FRAMES * 2);
    if (!this.buffer) return false;
    this.isOpen = true;
    this.nextTime = 0;
    if (context.state !== 'running') context.resume().catch(() => {});
    // Not from inside this call: the program is opening the device right now.
    setTimeout(() => this.tick(), 0);
    return true;
  }

  close() {
    this.isOpen = false;
    clearTimeout(this.timer);
    this.timer = null;
    for (const source of this.sources) {
      source.onended = null;
      try { source.stop(); } catch (error) { /* never started */ }
      source.disconnect();
    }
    this.sources.clear();
    if (this.context && this.context.state === 'running') this.context.suspend().catch(() => {});
  }

  tick() {
    if (!this.isOpen) return;
    clearTimeout(this.timer);
    this.timer = setTimeout(() => this.tick(), AudioOutput.TICK_MS);
    const context = this.context;
    if (context.state !== 'running') return;  // waits for the gesture; nothing is pulled
    const now = context.currentTime;
    if (this.nextTime < now) {
      if (this.pieces > 0) this.late += 1;
      this.nextTime = now + AudioOutput.START_LEAD_SECONDS;
    }
    const module = this.page.module;
    while (this.isOpen && !this.hold && this.nextTime < now + AudioOutput.HORIZON_SECONDS) {
      const wanted = Math.min(AudioOutput.PIECE_FRAMES,
        Math.ceil((now + AudioOutput.HORIZON_SECONDS - this.nextTime) * this.rate));
      const pulled = module._tv_web_audio_pull(this.buffer, wanted);
      const frames = pulled >> 1;
      if (frames <= 0) break;
      const samples = module.HEAP16.subarray(this.buffer >> 1, (this.buffer >> 1) + frames);
      this.schedule(samples);
      if (pulled & 1) {
        // A block has ended and its MM_WOM_DONE is posted: the program refills it (once
        // this task is over) before the schedule goes on.
        clearTimeout(this.timer);
        this.timer = setTimeout(() => this.tick(), 0);
        break;
      }
    }
  }

  schedule(samples) {
    const context = this.context;
    const piece = context.createBuffer(1, samples.length, this.rate);
    const channel = piece.getChannelData(0);
    for (let i = 0; i < samples.length; i += 1) channel[i] = samples[i] / 32768;
    if (this.captured) this.captured.push(Int16Array.from(samples));
    const source = context.createBufferSource();
    source.buffer = piece;
    source.connect(context.destination);
    source.onended = () => {
      this.sources.delete(source);
      source.disconnect();
      this.tick();
    };
    source.start(this.nextTime);
    this.sources.add(source);
    this.nextTime += samples.length / this.rate;
    this.pieces += 1;
  }

  // A short tone for MessageBeep, where sound is allowed.
  beep() {
    const context = this.ensureContext();
    if (!context) return;
    if (context.state !== 'running') context.resume().catch(() => {});
    const start = context.currentTime + 0.01;
    const tone = context.createOscillator();
    const level = context.createGain();
    tone.frequency.value = 880;
    level.gain.setValueAtTime(0.2, start);
    level.gain.setValueAtTime(0, start + 0.15);
    tone.connect(level).connect(context.destination);
    tone.start(start);
    tone.stop(start + 0.16);
    tone.onended = () => {
      tone.disconnect();
      level.disconnect();
      if (!this.isOpen && context.state === 'running') context.suspend().catch(() => {});
    };
  }
}

class TonvelaPage {
  constructor(root) {
    this.root = root;
    this.module = null;
    this.dialogs = new Map();   // handle -> { element, client, canvas, heading }
    this.controls = new Map();  // handle -> { element, id, kind, dialog, scrollBar, label }
    this.resume = null;
    this.wakePending = false;
    this.state = 'loading';
    this.exitCode = null;
    this.beeps = 0;
    this.firstPaintTime = null;
    this.audio = new AudioOutput(this);
    const gesture = () => this.audio.unlock();
    root.addEventListener('pointerdown', gesture, true);
    document.addEventListener('keydown', gesture, true);
    document.addEventListener('keydown', (event) => this.key(event, true));
    document.addEventListener('keyup', (event) => this.key(event, false));
  }

  // ---- calls from the program -----------------------------------------------------------
  dialogCreated(handle, width, height, caption, fontFace, fontPixels) {
    const known = this.dialogs.get(handle);
    if (known) {
      known.heading.textContent = caption;
      known.canvas.setAttribute('aria-label', caption);
      document.title = caption;
      return;
    }
    this.state = 'running';
    const element = document.createElement('section');
    element.className = 'tv-dialog';
    element.setAttribute('role', 'dialog');
    const bar = document.createElement('div');
    bar.className = 'tv-caption-bar';
    const heading = document.createElement('h1');
    heading.className = 'tv-caption';
    heading.id = `tv-caption-${handle}`;
    heading.textContent = caption;
    element.setAttribute('aria-labelledby', heading.id);
    const close = document.createElement('div');
    close.className = 'tv-close';
    close.setAttribute('role', 'button');
    close.setAttribute('aria-label', '閉じる');
    close.textContent = '×';
    close.addEventListener('click', () => this.call('_tv_web_close', handle));
    bar.append(heading, close);
    const client = document.createElement('div');
    client.className = 'tv-client';
    client.style.width = `${width}px`;
    client.style.height = `${height}px`;
    client.style.fontFamily = fontStack(fontFace);
    client.style.fontSize = `${fontPixels}px`;
    client.style.lineHeight = `${fontPixels}px`;
    const canvas = document.createElement('canvas');
    canvas.className = 'tv-raster';
    canvas.width = width;
    canvas.height = height;
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', caption);
    place(canvas, 0, 0, width, height);
    client.append(canvas);
    element.append(bar, client);
    this.root.append(element);
    document.title = caption;
    this.dialogs.set(handle, { element, client, canvas, heading });
  }

  controlCreated(dialog, handle, id, kind, style, left, top, width, height) {
    const owner = this.dialogs.get(dialog);
    if (!owner || this.controls.has(handle)) return;
    const control = { id, kind, dialog, left, top, width, height, element: null, scrollBar: null,
                      text: '' };
    let element;
    if (kind === KIND_SCROLL_BAR) {
      element = document.createElement('div');
      element.className = 'tv-scrollbar';
      control.scrollBar = new ScrollBar(element, (code, position) =>
        this.call('_tv_web_scroll', handle, code, position));
    } else if (kind === KIND_BUTTON) {
      element = document.createElement('div');
      const radio = (style & BS_TYPE_MASK) === BS_AUTORADIOBUTTON;
      element.className = radio ? 'tv-radio' : 'tv-button';
      element.setAttribute('role', radio ? 'radio' : 'button');
      element.tabIndex = -1;
      if (radio) {
        const mark = document.createElement('span');
        mark.className = 'tv-radio-mark';
        mark.setAttribute('aria-hidden', 'true');
        element.append(mark);
      }
      const label = document.createElement('span');
      label.className = 'tv-button-text';
      element.append(label);
      control.label = label;
      element.addEventListener('click', (event) => {
        if (event.button === 0) this.call('_tv_web_click', handle);
      });
    } else {
      element = document.createElement('div');
      element.className = 'tv-static';
      element.id = `tv-control-${handle}`;
    }
    element.dataset.controlId = String(id);
    element.hidden = (style & WS_VISIBLE) === 0;
    place(element, left, top, width, height);
    if (kind === KIND_STATIC) {
      // Substitute fonts are a fraction of a pixel wider than the originals in places: a
      // text that fits the original's control must not wrap for that. Lines may run one
      // pixel wider; what shows is still clipped to the control.
      element.style.width = `${width + STATIC_WRAP_TOLERANCE}px`;
      element.style.clipPath = `inset(0 ${STATIC_WRAP_TOLERANCE}px 0 0)`;
    }
    owner.client.append(element);
    control.element = element;
    this.controls.set(handle, control);
    if (control.scrollBar) this.nameScrollBar(control);
  }

  controlChanged(handle, text, scrollMin, scrollMax, scrollPos, checked, focused) {
    const control = this.controls.get(handle);
    if (!control) return;
    const element = control.element;
    control.text = text;
    if (control.kind === KIND_SCROLL_BAR) {
      control.scrollBar.show(scrollMin, scrollMax, scrollPos);
    } else if (control.kind === KIND_BUTTON) {
      control.label.textContent = text;
      if (element.getAttribute('role') === 'radio') {
        element.setAttribute('aria-checked', checked ? 'true' : 'false');
        element.classList.toggle('tv-checked', checked);
      }
    } else {
      element.textContent = text;
      for (const [, other] of this.controls) {
        if (other.scrollBar && other.dialog === control.dialog) this.nameScrollBar(other);
      }
    }
    element.classList.toggle('tv-focused', focused);
    if (focused) {
      for (const [, other] of this.controls) {
        if (other !== control && other.kind !== KIND_STATIC) other.element.tabIndex = -1;
      }
      element.tabIndex = 0;
      if (document.activeElement !== element) element.focus({ preventScroll: true });
    }
  }

  // A scroll bar is named by the static on its left, and its value is told by the static
  // right below it (the frequency bar has only the latter, which then names it too).
  nameScrollBar(bar) {
    let name = null;
    let value = null;
    for (const [, other] of this.controls) {
      if (other.kind !== KIND_STATIC || other.dialog !== bar.dialog || !other.text) continue;
      const overlapsRows = other.top < bar.top + bar.height && bar.top < other.top + other.height;
      const overlapsColumns = other.left < bar.left + bar.width && bar.left < other.left + other.width;
      if (overlapsRows && other.left + other.width <= bar.left) {
        if (!name || other.left > name.left) name = other;
      } else if (overlapsColumns && other.top >= bar.top + bar.height &&
                 other.top <= bar.top + 2 * bar.height) {
        if (!value || other.top < value.top) value = other;
      }
    }
    const label = name || value;
    if (label) bar.element.setAttribute('aria-label', label.text);
    if (value) bar.element.setAttribute('aria-valuetext', value.text);
  }

  dialogDestroyed(handle) {
    const dialog = this.dialogs.get(handle);
    if (!dialog) return;
    for (const [key, control] of this.controls) {
      if (control.dialog === handle) {
        if (control.scrollBar) control.scrollBar.stopRepeat();
        this.controls.delete(key);
      }
    }
    dialog.element.remove();
    this.dialogs.delete(handle);
  }

  present(handle, rgba, width, height) {
    const dialog = this.dialogs.get(handle);
    if (!dialog) return;
    if (dialog.canvas.width !== width || dialog.canvas.height !== height) {
      dialog.canvas.width = width;
      dialog.canvas.height = height;
    }
    const image = new ImageData(new Uint8ClampedArray(rgba), width, height);
    dialog.canvas.getContext('2d').putImageData(image, 0, 0);
    if (this.firstPaintTime === null) this.firstPaintTime = performance.now();
  }

  waitForEvents(wakeUp) {
    if (this.wakePending) {
      this.wakePending = false;
      wakeUp();
      return;
    }
    this.resume = wakeUp;
  }

  wake() {
    const resume = this.resume;
    if (!resume) {
      this.wakePending = true;
      return;
    }
    this.resume = null;
    // Never from inside another call into the program: once that call has returned.
    queueMicrotask(resume);
  }

  beep() {
    this.beeps += 1;
    this.audio.beep();
  }

  programEnded(exitCode) {
    this.state = 'ended';
    this.exitCode = exitCode;
    this.audio.close();
    const note = document.createElement('p');
    note.className = 'tv-ended';
    note.setAttribute('role', 'status');
    note.textContent = '終了しました。ページを再読み込みすると、もう一度起動します。';
    this.root.append(note);
  }

  // ---- the user's actions ------------------------------------------------------------------
  call(name, ...args) {
    if (this.state !== 'running' || !this.module) return;
    this.module[name](...args);
  }

  key(event, pressed) {
    if (this.state !== 'running' || event.defaultPrevented) return;
    if (event.altKey || event.ctrlKey || event.metaKey) return;
    const virtualKey = VIRTUAL_KEYS[event.key];
    if (virtualKey === undefined) return;
    const [dialog] = this.dialogs.keys();
    if (dialog === undefined) return;
    event.preventDefault();
    // Shift+Tab typed with Shift already held: the core has seen the Shift key itself.
    this.call('_tv_web_key', dialog, pressed ? 1 : 0, virtualKey);
  }
}

window.TonvelaPage = TonvelaPage;
