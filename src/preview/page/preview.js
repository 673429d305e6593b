// The preview page: reads /forms.json, shows each form's picture with its
// warnings, the diagnostics of a text that does not compile in a banner, and
// what lies under the pointer. The server's event stream says when there is
// something new; the page then reads the list again.
'use strict';

const view = { version: 0, loading: false, again: false, forms: new Map() };

function make(tag, className, text) {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  return e;
}

// "FILE:LINE:COL: error: message", then the source line with a caret.
function diagnostic(d) {
  const box = make('div', 'diagnostic');
  const where = d.line ? `${d.file}:${d.line}:${d.column}: ` : `${d.file}: `;
  box.append(make('span', 'where', where), make('span', 'severity-' + d.severity, d.severity + ':'),
             document.createTextNode(' ' + d.message + (d.warning ? ` [${d.warning}]` : '')));
  if (d.source) {
    const caret = d.column > 0 ? '\n' + d.source.slice(0, d.column - 1).replace(/[^\t]/g, ' ') + '^' : '';
    box.append(make('pre', '', d.source + caret));
  }
  for (const n of d.notes) box.append(make('div', 'note', (n.line ? `${d.file}:${n.line}:${n.column}: ` : '') + 'note: ' + n.message));
  return box;
}

function key(d) { return `${d.line}:${d.column}:${d.message}`; }

function showBanner(data) {
  const banner = document.getElementById('banner');
  const errors = data.diagnostics.filter((d) => d.severity === 'error');
  banner.hidden = data.ok;
  banner.replaceChildren();
  if (data.ok) return;
  const heading = data.forms.length
    ? `${data.file} does not compile: the screens below are from the last text that did`
    : `${data.file} does not compile`;
  banner.append(make('h2', '', heading), ...errors.map(diagnostic));
}

// Warnings that concern no form are listed above the forms.
function showNotes(data) {
  const notes = document.getElementById('notes');
  const placed = new Set();
  for (const f of data.forms) for (const w of f.warnings) placed.add(key(w));
  const rest = data.diagnostics.filter((d) => d.severity === 'warning' && !placed.has(key(d)));
  notes.hidden = rest.length === 0;
  notes.replaceChildren(...rest.map(diagnostic));
}

function describe(o) {
  const lines = [
    [o.name || '(no NAME)', 'name'],
    [`${o.kind}  ID=${o.id}`],
    [`X=${o.x} Y=${o.y} WIDTH=${o.width} HEIGHT=${o.height}`],
    [o.line ? `defined at line ${o.line}` : 'definition not found'],
  ];
  return lines.map(([text, cls]) => make('div', cls, text));
}

// The object under a point of the form (device pixels): the smallest that
// holds it, so that an object on top of a larger one can be reached.
function objectAt(form, x, y) {
  let best = null;
  for (const o of form.objects) {
    const w = Math.max(o.width, 3), h = Math.max(o.height, 3);
    if (x < o.x || y < o.y || x >= o.x + w || y >= o.y + h) continue;
    if (!best || w * h < Math.max(best.width, 3) * Math.max(best.height, 3)) best = o;
  }
  return best;
}

function card(address) {
  const figure = make('figure');
  const caption = make('figcaption');
  const stage = make('div', 'stage');
  const img = make('img');
  const outline = make('div', 'outline');
  outline.hidden = true;
  stage.append(img, outline);
  figure.append(caption, stage, make('ul', 'warnings'));
  const entry = { figure, caption, img, outline, form: null, scale: 1 };
  const tip = document.getElementById('tip');
  stage.addEventListener('mousemove', (e) => {
    const r = img.getBoundingClientRect();
    const o = entry.form && objectAt(entry.form, Math.floor((e.clientX - r.left) / entry.scale),
                                     Math.floor((e.clientY - r.top) / entry.scale));
    outline.hidden = tip.hidden = !o;
    if (!o) return;
    const s = entry.scale;
    Object.assign(outline.style, { left: `${o.x * s}px`, top: `${o.y * s}px`,
      width: `${Math.max(o.width, 1) * s}px`, height: `${Math.max(o.height, 1) * s}px` });
    tip.replaceChildren(...describe(o));
    Object.assign(tip.style, { left: `${e.clientX + 14}px`, top: `${e.clientY + 14}px` });
  });
  stage.addEventListener('mouseleave', () => { outline.hidden = tip.hidden = true; });
  img.alt = address;
  return entry;
}

function showForms(data) {
  const main = document.getElementById('forms');
  const seen = new Set();
  const order = [];
  for (const f of data.forms) {
    seen.add(f.image);
    let entry = view.forms.get(f.image);
    if (!entry) {
      entry = card(f.image);
      view.forms.set(f.image, entry);
    }
    entry.form = f;
    entry.scale = data.scale;
    entry.caption.replaceChildren(make('span', 'name', f.name || `FORM ${f.id}`),
      make('span', 'facts', `ID=${f.id}  ${f.width} × ${f.height}  line ${f.line}`));
    entry.img.width = f.image_width;
    entry.img.height = f.image_height;
    entry.img.dataset.width = f.image_width;
    entry.img.dataset.height = f.image_height;
    const src = `${f.image}?v=${data.version}`;
    if (data.ok || !entry.img.getAttribute('src')) entry.img.src = src;
    entry.figure.querySelector('.warnings').replaceChildren(...f.warnings.map((w) => {
      const li = make('li');
      li.append(diagnostic(w));
      return li;
    }));
    order.push(entry.figure);
  }
  for (const [address, entry] of view.forms) if (!seen.has(address)) view.forms.delete(address);
  if (order.length === 0) order.push(make('p', 'empty', data.ok ? 'This text defines no form.' : 'No screens yet.'));
  main.replaceChildren(...order);
}

async function load() {
  if (view.loading) {
    view.again = true;
    return;
  }
  view.loading = true;
  try {
    const reply = await fetch('/forms.json', { cache: 'no-store' });
    const data = await reply.json();
    document.title = `${data.file} · orrinrc-preview`;
    document.getElementById('file').textContent = data.file;
    document.body.classList.toggle('stale', !data.ok);
    showBanner(data);
    showNotes(data);
    showForms(data);
    view.version = data.version;
    document.body.dataset.version = data.version;
    document.body.dataset.ok = data.ok;
  } catch (e) {
    setStatus(false, 'cannot read the forms: ' + e.message);
  } finally {
    view.loading = false;
    if (view.again) {
      view.again = false;
      load();
    }
  }
}

function setStatus(live, text) {
  const status = document.getElementById('status');
  status.textContent = text;
  status.classList.toggle('off', !live);
}

const events = new EventSource('/events');
events.onopen = () => setStatus(true, 'live: redrawn when the file is saved');
events.onerror = () => setStatus(false, 'the preview server is not answering; trying again');
events.onmessage = (e) => { if (Number(e.data) !== view.version) load(); };
load();
