#!/usr/bin/env node
// Writes the TextMate grammar of resource text from the language's tables,
// as printed by orrinrc_grammar_words:
//
//   node generate_grammar.js TABLES.json GRAMMAR.json          rewrite GRAMMAR.json
//   node generate_grammar.js TABLES.json GRAMMAR.json --check  fail if it differs
//
// Each definition (#KIND .. #END_KIND) is a block holding the statements of
// its kind; each statement's value is matched by what the state it enters
// takes (numbers, the state's words, text, or further statements). A
// top-level line that is no comment, NAME= line or #KIND line is marked
// invalid, as the compiler copies it out as stray text; so is a line in a
// definition that is none of its statements, which the compiler rejects.
'use strict';
const fs = require('fs');

const [tablesFile, grammarFile, mode] = process.argv.slice(2);
if (!tablesFile || !grammarFile) {
  console.error('usage: generate_grammar.js TABLES.json GRAMMAR.json [--check]');
  process.exit(2);
}
const tables = JSON.parse(fs.readFileSync(tablesFile, 'utf8'));

// A spelling form as an Oniguruma pattern (the caller makes it
// case-insensitive): '?' is any character but a line end, [set] and [set]*
// stay as they are, blanks may precede '=', everything else is literal.
function formPattern(form) {
  let out = '';
  for (let i = 0; i < form.length; ++i) {
    const c = form[i];
    if (c === '?') {
      out += '[^\\n]';
    } else if (c === '[') {
      const close = form.indexOf(']', i + 1);
      out += '[' + form.slice(i + 1, close).replace(/[\\\]^]/g, '\\$&') + ']';
      i = close;
      if (form[i + 1] === '*') { out += '*'; ++i; }
    } else if (c === '=') {
      out += '[ \\t]*=';
    } else {
      out += c.replace(/[.*+?^${}()|[\]\\\/#]/g, '\\$&');
    }
  }
  return out;
}

// Every form of an entry, longest first, so that an alternation takes the
// longest spelling ("BOUNDS." before "BOUNDS?").
function alternation(entries) {
  const seen = new Set();
  for (const e of entries) {
    for (const f of [e.spelling, ...e.forms]) if (f !== '') seen.add(formPattern(f));
  }
  return [...seen].sort((a, b) => b.length - a.length || (a < b ? -1 : a > b ? 1 : 0)).join('|');
}

const states = new Map(tables.states.map((s) => [s.name, s]));
const lower = (s) => s.toLowerCase().replace(/[^a-z0-9]+/g, '-');
const kinds = tables.statements.filter((s) => s.top_level && s.kind).map((s) => s.kind);
const statementsIn = (state) => tables.statements.filter((s) => s.state === state);
const wordsIn = (state) => tables.words.filter((w) => w.state === state);

// A line may start with a parenthesised prefix, which runs to the last ')'.
const PREFIX = '^(\\([^\\n]*\\))?[ \\t]*';
const NUMBER = { name: 'constant.numeric.orrinrc', match: '[+-]?[0-9]+' };
const repository = {};

repository.comment = { name: 'comment.line.double-slash.orrinrc', match: '^//.*$' };
repository['font-line'] = { name: 'meta.preprocessor.orrinrc', match: '(?i)^~F[A-Z0-9]+[ \\t]*\\r?$' };
repository.name = {
  match: '(?i)^(NAME[ \\t]*=)(.*)$',
  captures: {
    1: { name: 'keyword.other.statement.orrinrc' },
    2: { name: 'entity.name.function.orrinrc' },
  },
};

// Whether a state takes a blank rest of line as its value: text, numbers
// (a blank number is 0) and word states with a blank word (alignment).
function takesBlank(state) {
  const st = states.get(state);
  if (st.role === 'definition' || state === 'READSTRING') return true;
  const words = wordsIn(state);
  if (words.some((w) => w.spelling === '' || w.forms.includes(''))) return true;
  return st.role === 'reader' && words.length === 0 && statementsIn(state).length === 0;
}

// Statements of `state`, grouped by the state they enter: one rule per group,
// the statement's value matched by that state's patterns up to the line end.
// `atLineStart` anchors them at the start of a line after an optional prefix;
// otherwise they follow their opener on the same line.
function statementRules(state, atLineStart, only) {
  // Statements that share a spelling (CONTROL_ADD. for each style, BOUNDS.
  // before and after the bounds) take the values of every state they may enter.
  const entered = new Map();
  for (const s of statementsIn(state)) {
    if (!entered.has(s.spelling)) entered.set(s.spelling, new Set());
    if (s.enters !== state) entered.get(s.spelling).add(s.enters);
  }
  const groups = new Map();
  for (const s of statementsIn(state)) {
    if (only && !only(s)) continue;
    const key = [...entered.get(s.spelling)].join(' ');
    if (!groups.has(key)) groups.set(key, []);
    groups.get(key).push(s);
  }
  const rules = [];
  for (const [key, group] of groups) {
    const kind = group[0].kind;
    const scope = 'keyword.other.statement.' + (kind ? lower(kind) + '.' : '') + 'orrinrc';
    // After its opener, or at the start of a value line (see below).
    const begin = atLineStart
      ? '(?i)' + PREFIX + '(' + alternation(group) + ')'
      : '(?i)(?:\\G|^)[ \\t]*(' + alternation(group) + ')';
    const beginCaptures = atLineStart
      ? { 1: { name: 'comment.block.prefix.orrinrc' }, 2: { name: scope } }
      : { 1: { name: scope } };
    const values = key === '' ? [] : key.split(' ').map((enters) => ({ include: '#value-' + lower(enters) }));
    // A statement that ends its line takes its value from the next line
    // that is not blank, a comment or a font line ("FORM_STYLE=", a blank
    // line, "NORMAL"), unless what it reads takes a blank value.
    const entered = key === '' ? [] : key.split(' ');
    if (values.length > 0 && !entered.some(takesBlank)) {
      rules.push({
        begin: begin + '(?=[ \\t]*\\r?$)',
        beginCaptures,
        end: '^(?![ \\t]*(?://|~[Ff]))([ \\t]*\\S.*)$',
        endCaptures: { 1: { patterns: values } },
        patterns: [{ include: '#comment' }, { include: '#font-line' }],
      });
    }
    const rule = { begin, end: '$', beginCaptures };
    if (values.length > 0) rule.patterns = values;
    rules.push(rule);
  }
  return rules;
}

// What a state takes after the statement that enters it.
for (const st of tables.states) {
  if (st.role === 'top') continue;
  const key = 'value-' + lower(st.name);
  const words = wordsIn(st.name);
  const subStatements = statementsIn(st.name);
  const patterns = [];
  if (st.name === 'READSTRING') {
    patterns.push({ name: 'string.unquoted.orrinrc', match: '(?:\\G|^).*' });
  } else if (subStatements.length > 0 && st.role !== 'definition') {
    patterns.push(...statementRules(st.name, false));
  } else if (st.role !== 'definition') {
    if (words.length > 0 && alternation(words) !== '') {
      patterns.push({
        name: 'constant.language.orrinrc',
        match: '(?i)(?<![A-Za-z0-9_])(?:' + alternation(words) + ')(?![A-Za-z0-9_])',
      });
    }
    patterns.push(NUMBER);
    if (st.name === 'READBITMAPFILE') {
      patterns.push({
        match: '(,)[ \\t]*(.*)$',
        captures: { 1: { name: 'punctuation.separator.orrinrc' }, 2: { name: 'string.unquoted.orrinrc' } },
      });
    }
  }
  repository[key] = { patterns };
}

// The definitions: the statements of the kind's definition state, and the
// statements of its sub-states that may start a line of their own.
for (const kind of kinds) {
  const state = tables.statements.find((s) => s.top_level && s.kind === kind).enters;
  const endStatement = statementsIn(state).find((s) => s.enters === 'INITIAL');
  const patterns = [{ include: '#comment' }, { include: '#font-line' }, { include: '#name' }];
  patterns.push(...statementRules(state, true, (s) => s !== endStatement));
  for (const sub of tables.states.filter((x) => x.role === 'substate' && x.kind === kind)) {
    patterns.push(...statementRules(sub.name, true, (s) => s.prefixed));
  }
  // Any other line in a definition is a syntax error that stops the run.
  patterns.push({ name: 'invalid.illegal.statement.orrinrc', match: '^.*\\S.*$' });
  repository['definition-' + lower(kind)] = {
    begin: '(?i)^(#)(' + formPattern(kind) + ')[ \\t]*\\r?$',
    beginCaptures: {
      1: { name: 'keyword.control.definition.orrinrc' },
      2: { name: 'keyword.control.definition.orrinrc entity.name.type.orrinrc' },
    },
    end: '(?i)^(' + alternation([endStatement]) + ')',
    endCaptures: { 1: { name: 'keyword.control.definition.orrinrc' } },
    name: 'meta.definition.' + lower(kind) + '.orrinrc',
    patterns,
  };
}

repository['stray-line'] = {
  comment: 'The compiler copies other top-level text out and warns of it: a misspelt or indented line.',
  name: 'invalid.illegal.stray.orrinrc',
  match: '^.*\\S.*$',
};

const grammar = {
  $schema: 'https://raw.githubusercontent.com/martinring/tmlanguage/master/tmlanguage.json',
  name: 'orrinrc resource text',
  scopeName: 'source.orrinrc',
  fileTypes: ['rc'],
  comment: 'Generated by tests/grammar/generate_grammar.js from the language tables; do not edit.',
  patterns: [
    { include: '#comment' },
    { include: '#font-line' },
    { include: '#name' },
    ...kinds.map((k) => ({ include: '#definition-' + lower(k) })),
    { include: '#stray-line' },
  ],
  repository,
};

const text = JSON.stringify(grammar, null, 2) + '\n';
if (mode === '--check') {
  const current = fs.existsSync(grammarFile) ? fs.readFileSync(grammarFile, 'utf8') : '';
  if (current !== text) {
    console.error(grammarFile + ' is not what the language tables give; run scripts/grammar.sh to rewrite it');
    process.exit(1);
  }
  console.log('grammar is current');
} else {
  fs.writeFileSync(grammarFile, text);
}
