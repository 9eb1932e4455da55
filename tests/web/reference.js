// What tonvela-script, the headless program, shows and plays for the same actions: the
// reference that the page in the browser must match.
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { PNG } = require('pngjs');

const scriptProgram = process.env.TONVELA_SCRIPT ||
  path.resolve(__dirname, '../../build/release/tools/script/tonvela-script');

// Runs the script; returns its standard output and the files it wrote, by name.
function runScript(lines, outputs = []) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'tonvela-web-reference-'));
  try {
    const text = lines.map((line) => line.replaceAll('{dir}', folder)).join('\n') + '\n';
    const stdout = execFileSync(scriptProgram, [], { input: text, encoding: 'utf8' });
    const files = {};
    for (const name of outputs) files[name] = fs.readFileSync(path.join(folder, name));
    return { stdout, files };
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

// `texts` output as lines "ID<TAB>TEXT".
function textsAfter(actions) {
  return runScript([...actions, 'texts']).stdout.trimEnd().split('\n');
}

// The client area after the actions, as RGBA bytes.
function snapshotAfter(actions) {
  const { files } = runScript([...actions, 'snapshot {dir}/shot.png'], ['shot.png']);
  const png = PNG.sync.read(files['shot.png']);
  return { width: png.width, height: png.height, rgba: png.data };
}

// 16-bit samples of a PCM WAV file.
function wavSamples(bytes) {
  let offset = 12;
  while (offset + 8 <= bytes.length) {
    const id = bytes.toString('ascii', offset, offset + 4);
    const size = bytes.readUInt32LE(offset + 4);
    if (id === 'data') {
      const samples = new Int16Array(size / 2);
      for (let i = 0; i < samples.length; i += 1) samples[i] = bytes.readInt16LE(offset + 8 + 2 * i);
      return samples;
    }
    offset += 8 + size + (size % 2);
  }
  throw new Error('no data chunk in the WAV file');
}

// Everything played for `seconds` after the actions, from the first sample on.
function recordingOf(actions, seconds) {
  const { files } = runScript(['record {dir}/heard.wav', ...actions, `play ${seconds}`],
                              ['heard.wav']);
  return wavSamples(files['heard.wav']);
}

module.exports = { runScript, textsAfter, snapshotAfter, recordingOf, wavSamples };
