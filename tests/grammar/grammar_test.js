#!/usr/bin/env node
// Tokenizes resource text with the editor grammar through the TextMate
// engine editors use, and checks the result against the language tables
// printed by orrinrc_grammar_words:
//
//   node grammar_test.js TABLES.json GRAMMAR.json NODE_MODULES [EXAMPLE.rc...]
//
// Every statement (each of its forms, in its kind's definition, after its
// opener where it has one) is scoped as a statement of its kind, every value
// word as a constant, and top-level lines the compiler takes as stray text
// (misspelt or indented #KIND lines) are marked invalid. Example files are
// tokenized whole and must have no invalid token.
'use strict';
const fs = require('fs');
const path = require('path');

const [tablesFile, grammarFile, modules, ...examples] = process.argv.slice(2);
if (!tablesFile || !grammarFile || !modules) {
  console.error('usage: grammar_test.js TABLES.json GRAMMAR.json NODE_MODULES [EXAMPLE.rc...]');
  process.exit(2);
}
const vsctm = require(path.join(path.resolve(modules), 'vscode-textmate'));
const oniguruma = require(path.join(path.resolve(modules), 'vscode-oniguruma'));
const tables = JSON.parse(fs.readFileSync(tablesFile, 'utf8'));

const states = new Map(tables.states.map((s) => [s.name, s]));
const wordsIn = (state) => tables.words.filter((w) => w.state === state);
const statementsIn = (state) => tables.statements.filter((s) => s.state === state);

// ------------------------------------------------------------ sample lines

// A value the state takes, written after the statement that enters it.
function valueFor(state) {
  const st = states.get(state);
  if (st.role === 'definition') return '';
  if (state === 'READSTRING') return 'some text';
  const sub = statementsIn(state);
  if (sub.length > 0) return sub[0].instances[0] + valueFor(sub[0].enters);
  const word = wordsIn(state).find((w) => w.instances.length > 0);
  if (state === 'READBITMAPFILE') return word.instances[0] + ', picture.bmp';
  return word ? word.instances[0] : '1';
}

// The text before a statement of `state` on its line, and the kind of the
// definition it is written in: the chain of openers that enter the state.
function openerOf(state) {
  const st = states.get(state);
  if (st.role === 'definition') return { text: '', kind: st.kind };
  const opener = tables.statements.find((s) => s.enters === state && s.state !== state && !s.top_level);
  if (!opener) throw new Error('no statement enters ' + state);
  const outer = openerOf(opener.state);
  return { text: outer.text + opener.instances[0], kind: outer.kind };
}

// ------------------------------------------------------------ the engine

let failures = 0;
let checks = 0;
function fail(message) {
  ++failures;
  if (failures <= 50) console.error('FAIL: ' + message);
}

async function loadGrammar() {
  const wasm = fs.readFileSync(path.join(path.resolve(modules), 'vscode-oniguruma', 'release', 'onig.wasm'));
  await oniguruma.loadWASM(wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.byteLength));
  const registry = new vsctm.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
      createOnigString: (s) => new oniguruma.OnigString(s),
    }),
    loadGrammar: async (scopeName) =>
      scopeName === 'source.orrinrc'
        ? vsctm.parseRawGrammar(fs.readFileSync(grammarFile, 'utf8'), grammarFile)
        : null,
  });
  return registry.loadGrammar('source.orrinrc');
}

// Each line of a document with the scopes of each of its characters.
function tokenize(grammar, text) {
  let stack = vsctm.INITIAL;
  return text.split('\n').map((line) => {
    const r = grammar.tokenizeLine(line, stack);
    stack = r.ruleStack;
    const scopes = [];
    for (const t of r.tokens) for (let i = t.startIndex; i < Math.min(t.endIndex, line.length); ++i) scopes[i] = t.scopes;
    return { line, scopes };
  });
}

// Checks that every character of line `n` from `from` to `to` (blanks
// excepted) has a scope starting with `want`, and none starting with `not`.
function expectScope(doc, n, from, to, want, not, what) {
  ++checks;
  const { line, scopes } = doc[n];
  for (let i = from; i < to; ++i) {
    if (/\s/.test(line[i])) continue;
    const s = scopes[i] || [];
    const has = (prefix) => s.some((x) => x === prefix || x.startsWith(prefix + '.'));
    if (!has(want) || (not && has(not))) {
      fail(`${what}: "${line}" column ${i} ("${line[i]}") has [${s.join(' ')}], wants ${want}` +
           (not ? ` and no ${not}` : ''));
      return;
    }
  }
}

// ------------------------------------------------------------ the checks

function checkStatements(grammar) {
  for (const s of tables.statements) {
    const kindScope = s.kind ? 'keyword.other.statement.' + s.kind.toLowerCase() : 'keyword.other.statement';
    if (s.top_level) {
      for (const inst of s.instances) {
        const doc = tokenize(grammar, inst + (s.enters === 'READSTRING' ? 'MAIN' : '') + '\n');
        const want = s.enters === 'READSTRING' ? 'keyword.other.statement' : 'keyword.control.definition';
        expectScope(doc, 0, 0, inst.length, want, 'invalid', `top-level statement ${s.spelling}`);
      }
      continue;
    }
    const role = states.get(s.state).role;
    const whole = role === 'definition' || (role === 'substate' && s.prefixed);
    const opener = whole ? { text: '', kind: states.get(s.state).kind } : openerOf(s.state);
    const kind = opener.kind;
    const isEnd = s.enters === 'INITIAL';
    const lines = s.instances.map((inst) => ({ pre: opener.text, inst }));
    if (whole && s.prefixed) lines.push({ pre: '(prefix) ' + opener.text, inst: s.instances[0] });
    for (const { pre, inst } of lines) {
      const line = pre + inst + (isEnd ? '' : valueFor(s.enters));
      // The definition around it, then a top-level line after its end, which
      // shows whether the statement left the definition open or closed.
      const text = `#${kind}\n${line}\n${isEnd ? '' : '#END_' + kind}\n#FROM\n`;
      const doc = tokenize(grammar, text);
      const what = `statement ${s.spelling} (${s.state}) written "${inst}"`;
      if (isEnd) {
        expectScope(doc, 1, 0, inst.length, 'keyword.control.definition', 'invalid', what);
      } else {
        expectScope(doc, 1, pre.length, pre.length + inst.length, kindScope, 'invalid', what);
        expectScope(doc, 2, 0, doc[2].line.length, 'keyword.control.definition', null, what + ', the end after it');
      }
      expectScope(doc, 3, 0, doc[3].line.length, 'invalid.illegal', null, what + ', the top level after it');
    }
  }
}

function checkWords(grammar) {
  for (const w of tables.words) {
    const opener = openerOf(w.state);
    for (const inst of w.instances) {
      const line = opener.text + inst + (w.state === 'READBITMAPFILE' ? ', picture.bmp' : '');
      const doc = tokenize(grammar, `#${opener.kind}\n${line}\n#END_${opener.kind}\n`);
      expectScope(doc, 1, opener.text.length, opener.text.length + inst.length, 'constant.language', 'string',
                  `word ${w.spelling} (${w.state}) written "${inst}"`);
    }
  }
}

function checkLines(grammar) {
  // Lines the compiler copies out as stray text: marked invalid, and no
  // definition opened by them.
  for (const line of ['#FROM', '#FORMS', '  #FORM', '\t#END_FORM', 'FORM_TITLE=Lost', '#END_FORM']) {
    const doc = tokenize(grammar, `${line}\nID=1\n`);
    expectScope(doc, 0, 0, line.length, 'invalid.illegal', 'keyword', `top-level line "${line}"`);
    expectScope(doc, 1, 0, 4, 'invalid.illegal', null, `the line after "${line}"`);
  }
  // In a definition, a line that is none of its statements (a misspelt one,
  // another kind's end) is invalid, and the definition stays open.
  for (const line of ['FORM_TITEL=x', '#END_CONTROL', 'CONTROL_TEXT=x']) {
    const doc = tokenize(grammar, `#FORM\n${line}\n#END_FORM\n#FROM\n`);
    expectScope(doc, 1, 0, line.length, 'invalid.illegal', 'keyword', `"${line}" in a FORM`);
    expectScope(doc, 2, 0, 9, 'keyword.control.definition', null, `#END_FORM after "${line}"`);
    expectScope(doc, 3, 0, 5, 'invalid.illegal', null, `the top level after "${line}"`);
  }
  // A statement that ends its line takes its value from a later line, past
  // blank, comment and font lines, unless a blank value is one it takes.
  let doc = tokenize(grammar, '#FORM\nFORM_STYLE=\n\n// c\n~FAB12\nNORMAL\nBOUNDS.\n\nHEIGHT=4\n#END_FORM\n#FROM\n');
  expectScope(doc, 5, 0, 6, 'constant.language', 'invalid', 'a word on the line after its statement');
  expectScope(doc, 3, 0, 4, 'comment', null, 'a comment before a value');
  expectScope(doc, 8, 0, 7, 'keyword.other.statement', 'invalid', 'a bounds member on a later line');
  expectScope(doc, 9, 0, 9, 'keyword.control.definition', null, 'the end after values on later lines');
  expectScope(doc, 10, 0, 5, 'invalid.illegal', null, 'the top level after values on later lines');
  for (const line of ['TEXT_ALIGNMENT=  ', 'CONTROL_TEXT=', 'RELATED_TABLE_ID=']) {
    doc = tokenize(grammar, `#CONTROL\n${line}\n#END_CONTROL\n`);
    expectScope(doc, 2, 0, 12, 'keyword.control.definition', null, `the end after a blank value of "${line}"`);
  }
  // A word a number reader also takes is a constant, not text.
  doc = tokenize(grammar, '#LIST\nLIST_SELECTED_ITEM=NO_SELECTION\n#END_LIST\n');
  expectScope(doc, 1, 19, 31, 'constant.language', 'string', 'NO_SELECTION');
  // A word only counts whole: a longer value is no constant.
  doc = tokenize(grammar, '#LIST\nLIST_SELECTED_ITEM=NO_SELECTIONS\n#END_LIST\n');
  ++checks;
  if ((doc[1].scopes[19] || []).some((x) => x.startsWith('constant.language')))
    fail('NO_SELECTIONS is scoped as a constant');
  // Comments at the top level and inside a definition; a comment line keeps
  // a definition open.
  doc = tokenize(grammar, '// top\n#FORM\n// inside #END_FORM\nID=1\n#END_FORM\n');
  expectScope(doc, 0, 0, 6, 'comment', null, 'top-level comment');
  expectScope(doc, 2, 0, 19, 'comment', null, 'comment in a definition');
  expectScope(doc, 3, 0, 3, 'keyword.other.statement.form', null, 'statement after a comment');
  // Text values are text, whatever words they hold.
  doc = tokenize(grammar, '#FORM\nFORM_TITLE=TRUE 12 // x\n#END_FORM\n');
  expectScope(doc, 1, 11, doc[1].line.length, 'string', 'constant', 'FORM_TITLE value');
}

function checkExamples(grammar) {
  for (const file of examples) {
    const doc = tokenize(grammar, fs.readFileSync(file, 'utf8'));
    ++checks;
    doc.forEach(({ line, scopes }, n) => {
      scopes.forEach((s, i) => {
        if (s.some((x) => x.startsWith('invalid'))) fail(`${file}:${n + 1}:${i + 1}: invalid token in "${line}"`);
      });
    });
  }
}

loadGrammar().then((grammar) => {
  checkStatements(grammar);
  checkWords(grammar);
  checkLines(grammar);
  checkExamples(grammar);
  if (failures > 0) {
    console.error(`${failures} of ${checks} checks failed`);
    process.exit(1);
  }
  console.log(`${checks} checks passed`);
}, (e) => {
  console.error(e);
  process.exit(1);
});
