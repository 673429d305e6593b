// Measures orrinrc-preview after saves: how long from a save until the new
// pictures of every form can be fetched (the event, /forms.json and each
// PNG), how many compiles a burst of saves costs, and the server's resident
// memory over many saves. For the bundled example and for a generated text
// of about 700 lines that names a dozen 160 x 160 pictures.
//
//   node bench/preview_bench.js PREVIEW_PROGRAM EXAMPLES_DIR [SAVES]
'use strict';

const { spawn } = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');

const [programArg, examples, savesArg = '1000'] = process.argv.slice(2);
const program = path.resolve(programArg);
const saves = Number(savesArg);

// A 24-bit BMP of w x h pixels with a pattern of its own.
function bmp(w, h, seed) {
  const row = Math.ceil((w * 3) / 4) * 4;
  const b = Buffer.alloc(54 + row * h);
  b.write('BM', 0);
  b.writeUInt32LE(b.length, 2);
  b.writeUInt32LE(54, 10);
  b.writeUInt32LE(40, 14);
  b.writeInt32LE(w, 18);
  b.writeInt32LE(h, 22);
  b.writeUInt16LE(1, 26);
  b.writeUInt16LE(24, 28);
  for (let y = 0; y < h; ++y)
    for (let x = 0; x < w; ++x) {
      const v = ((x * (seed + 1) + y * (seed + 3)) ^ (x * y)) & 255;
      b.fill(v, 54 + y * row + x * 3, 54 + y * row + x * 3 + 3);
    }
  return b;
}

function button(name, id, x, y, text) {
  return [`NAME=${name}`, '#CONTROL', `ID=${id}`, 'OBJECT.TYPE=CONTROL', `BOUNDS.X=${x}`, `BOUNDS.Y=${y}`,
    'BOUNDS.WIDTH=40', 'BOUNDS.HEIGHT=14', 'CONTROL_STYLE=BUTTON', `CONTROL_TEXT=${text}`, 'TEXT_ALIGNMENT=CENTRE',
    'CONTROL_ATTR.ENABLE=TRUE', 'CONTROL_ATTR.VISIBLE=TRUE', 'CONTROL_ADD.RADIUS=3',
    'CONTROL_ADD.COLOR_ON=COLOR_BLACK', 'CONTROL_ADD.COLOR_OFF=COLOR_WHITE', '#END_CONTROL', ''];
}

// Twelve screens, each a form with its own picture and two buttons.
function largeText(dir) {
  const lines = ['// Twelve screens for the preview benchmark', ''];
  for (let i = 0; i < 12; ++i) {
    fs.writeFileSync(path.join(dir, `screen${i}.bmp`), bmp(160, 160, i));
    const id = 1000 + i * 10;
    lines.push(`// screen ${i}`, `NAME=SCREEN_${i}`, '#FORM', `ID=${id}`, 'OBJECT.TYPE=FORM', 'BOUNDS.X=0',
      'BOUNDS.Y=0', 'BOUNDS.WIDTH=160', 'BOUNDS.HEIGHT=160', 'FORM_STYLE=NORMAL', `FORM_TITLE=Screen ${i}`,
      'FORM_BITMAP.X=0', 'FORM_BITMAP.Y=0', 'FORM_BITMAP.WIDTH=160', 'FORM_BITMAP.HEIGHT=160',
      `FORM_BITMAP.FILE=Q_FOUR_BIT, screen${i}.bmp`, 'NO_OF_OBJECTS=2', `UIOBJECT.ID=${id + 1}`,
      'UIOBJECT.TYPE=CONTROL', `UIOBJECT.ID=${id + 2}`, 'UIOBJECT.TYPE=CONTROL', '#END_FORM', '',
      ...button(`OK_${i}`, id + 1, 10, 140, 'OK'), ...button(`BACK_${i}`, id + 2, 110, 140, 'Back'));
  }
  return lines.join('\n');
}

function get(port, target) {
  return new Promise((resolve, reject) => {
    http.get({ host: '127.0.0.1', port, path: target }, (res) => {
      const parts = [];
      res.on('data', (d) => parts.push(d));
      res.on('end', () => resolve(Buffer.concat(parts)));
    }).on('error', reject);
  });
}

function rss(pid) {
  const m = /VmRSS:\s+(\d+) kB/.exec(fs.readFileSync(`/proc/${pid}/status`, 'utf8'));
  return m ? Number(m[1]) : 0;
}

function sleep(ms) { return new Promise((r) => setTimeout(r, ms)); }

// Runs `count` timed saves of `edit(original, i)`; the median and slowest.
async function timed(redraw, original, edit, count) {
  const times = [];
  for (let i = 0; i < count; ++i) {
    await sleep(100);
    times.push(await redraw(edit(original, i)));
  }
  times.sort((a, b) => a - b);
  return `median ${times[count >> 1].toFixed(0)} ms, slowest ${times[count - 1].toFixed(0)} ms of ${count}`;
}

// `one` changes one form, `every` every form.
async function measure(label, dir, file, one, every) {
  const rcPath = path.join(dir, file);
  const original = fs.readFileSync(rcPath, 'latin1');
  const server = spawn(program, [file], { cwd: dir, stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await new Promise((resolve) => {
    let out = '';
    server.stdout.on('data', (d) => {
      out += d;
      if (out.includes('\n')) resolve(new URL(out.split('\n')[0]));
    });
  });
  const port = Number(url.port);
  // The event stream, with a promise for each version's event.
  const waiters = new Map();
  let last = 0;
  http.get({ host: '127.0.0.1', port, path: '/events' }, (res) => {
    res.on('data', (d) => {
      for (const m of d.toString().matchAll(/data: (\d+)/g)) {
        last = Number(m[1]);
        for (const [v, resolve] of waiters) if (v <= last) { waiters.delete(v); resolve(); }
      }
    });
  });
  const event = (v) => (last >= v ? Promise.resolve() : new Promise((r) => waiters.set(v, r)));
  await event(1);
  let version = 1;

  // Save, event, list, every picture.
  const redraw = async (text) => {
    const start = process.hrtime.bigint();
    fs.writeFileSync(rcPath, text, 'latin1');
    version += 1;
    await event(version);
    const list = JSON.parse(await get(port, '/forms.json'));
    await Promise.all(list.forms.map((f) => get(port, `${f.image}?v=${list.version}`)));
    return Number(process.hrtime.bigint() - start) / 1e6;
  };
  const lines = original.split('\n').length;
  console.log(`${label} (${lines} lines), one form changed: ${await timed(redraw, original, one, 20)}`);
  if (every) console.log(`${label}, every form changed: ${await timed(redraw, original, every, 20)}`);

  // A burst: 20 saves 5 ms apart.
  await sleep(300);
  const before = version;
  for (let i = 0; i < 20; ++i) {
    fs.writeFileSync(rcPath, original + `\n// burst ${i}\n`, 'latin1');
    await sleep(5);
  }
  await sleep(600);
  const list = JSON.parse(await get(port, '/forms.json'));
  version = list.version;
  console.log(`${label}: a burst of 20 saves 5 ms apart cost ${version - before} compile(s)`);

  // Memory over many saves.
  const memory = [];
  for (let i = 0; i < saves; ++i) {
    await redraw(one(original, i));
    if (i === Math.min(99, saves - 1)) memory.push(rss(server.pid));
  }
  memory.push(rss(server.pid));
  console.log(`${label}: resident memory after ${Math.min(100, saves)} saves ${memory[0]} kB, ` +
    `after ${saves} saves ${memory[1]} kB`);
  server.kill('SIGTERM');
  await new Promise((r) => server.on('exit', r));
}

async function main() {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'orrinrc-preview-bench-'));
  try {
    const small = path.join(work, 'example');
    fs.mkdirSync(small);
    for (const f of fs.readdirSync(examples))
      if (f === 'example.rc' || f.endsWith('.bmp')) fs.copyFileSync(path.join(examples, f), path.join(small, f));
    await measure('bundled example', small, 'example.rc',
      (text, i) => text.replace('CONTROL_TEXT=New', `CONTROL_TEXT=New ${i}`));
    const large = path.join(work, 'large');
    fs.mkdirSync(large);
    fs.writeFileSync(path.join(large, 'screens.rc'), largeText(large));
    await measure('twelve screens with pictures', large, 'screens.rc',
      (text, i) => text.replace(`FORM_TITLE=Screen ${i % 12}\n`, `FORM_TITLE=Screen ${i % 12} v${i}\n`),
      (text, i) => text.replaceAll('CONTROL_TEXT=OK', `CONTROL_TEXT=OK ${i}`));
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
}

main();
