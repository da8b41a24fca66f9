#!/usr/bin/env node
// Builds the numbering table of KVCountryCodes.dll from libphonenumber-js's
// metadata.max.json and Debian's iso-codes, and the example numbers the tests use.
//
//   cd countrycodes/oracle && npm ci && node ../tools/generate_table.js
//
// Writes (all committed, so the build never needs the network):
//   countrycodes/data/countries.kvcc        the table, Windows code page 1252
//   countrycodes/src/EmbeddedTable.inc      the same bytes as a C++ string literal
//   countrycodes/tests/data/examples.txt    mobile and fixed-line examples per region
'use strict';
const fs = require('fs');
const path = require('path');

const root = path.resolve(__dirname, '..');
const modules = path.join(root, 'oracle', 'node_modules');
const metadata = require(path.join(modules, 'libphonenumber-js', 'metadata.max.json'));
const mobileExamples = require(path.join(modules, 'libphonenumber-js', 'examples.mobile.json'));
const jsVersion = require(path.join(modules, 'libphonenumber-js', 'package.json')).version;
const isoFile = process.env.ISO_3166_JSON || '/usr/share/iso-codes/json/iso_3166-1.json';
const iso = JSON.parse(fs.readFileSync(isoFile, 'utf8'))['3166-1'];

// Regions with numbering data that ISO 3166-1 does not list.
const extraNames = {
  AC: 'Ascension Island',
  TA: 'Tristan da Cunha',
  XK: 'Kosovo',
};

// Code points 0x80-0x9F of code page 1252; the rest of 0xA0-0xFF equals Latin-1.
const cp1252High = [
  0x20AC, -1, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, -1, 0x017D, -1,
  -1, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, -1, 0x017E, 0x0178,
];

function toCp1252(text) {
  const bytes = [];
  for (const ch of text) {
    const cp = ch.codePointAt(0);
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) { bytes.push(cp); continue; }
    const i = cp1252High.indexOf(cp);
    if (i < 0) throw new Error(`"${text}" has ${ch} (U+${cp.toString(16)}), not in code page 1252`);
    bytes.push(0x80 + i);
  }
  return Buffer.from(bytes);
}

function isoName(code) {
  const entry = iso.find((e) => e.alpha_2 === code);
  if (entry) return entry.common_name || entry.name;
  if (extraNames[code]) return extraNames[code];
  throw new Error(`no name for region ${code}`);
}

// libphonenumber-js's compact region array: index -> meaning.
const R = { cc: 0, idd: 1, general: 2, lengths: 3, formats: 4, trunk: 5, npFormatting: 6,
  npForParsing: 7, npTransform: 8, leading: 10, types: 11, preferredIdd: 12 };
// Its type array order, and ours: the order in which libphonenumber checks the types.
const jsTypeIndex = { fixed: 0, mobile: 1, tollfree: 2, premium: 3, personal: 4, voicemail: 5,
  uan: 6, pager: 7, voip: 8, sharedcost: 9 };
const checkOrder = ['premium', 'tollfree', 'sharedcost', 'voip', 'personal', 'pager', 'uan',
  'voicemail', 'fixed', 'mobile'];

function text(value) {
  if (value === 0 || value === null || value === undefined) return '';
  if (typeof value !== 'string' || /[\t\r\n]/.test(value)) throw new Error(`bad field ${value}`);
  return value;
}

const lines = [];
lines.push('KVCC 1');
lines.push(`# libphonenumber-js ${jsVersion} metadata.max.json; names: iso-codes (common_name, else name)`);
const codes = Object.keys(metadata.countries).sort();
for (const code of codes) {
  const r = metadata.countries[code];
  const cc = r[R.cc];
  const main = metadata.country_calling_codes[cc][0] === code ? '1' : '0';
  // A shared calling code keeps its formats in the main region only.
  const mainRegion = metadata.countries[metadata.country_calling_codes[cc][0]];
  lines.push(['R', code, '\u0000NAME', cc, main, text(r[R.idd]), text(r[R.preferredIdd]),
    text(r[R.trunk]), text(r[R.npForParsing]), text(r[R.npTransform]), text(r[R.leading])].join('\t'));
  lines.push(['D', 'general', text(r[R.general]), r[R.lengths].join(',')].join('\t'));
  const types = r[R.types] || [];
  const fixed = types[jsTypeIndex.fixed];
  // An empty mobile pattern stands for "the same as fixed line" (US, CA, ...).
  const same = fixed && types[jsTypeIndex.mobile] && types[jsTypeIndex.mobile][0] === '';
  for (const name of checkOrder) {
    const t = name === 'mobile' && same ? fixed : types[jsTypeIndex[name]];
    if (!t) continue;
    lines.push(['D', name, text(t[0]), (t[1] || []).join(',')].join('\t'));
  }
  if (same) lines.push('S');
  if (main === '1') {
    for (const f of r[R.formats] || []) {
      const leading = f[2] && f[2].length ? f[2][f[2].length - 1] : '';
      const rule = f[3] || mainRegion[R.npFormatting] || '';
      lines.push(['F', text(f[0]), text(f[1]), text(leading), text(rule)].join('\t'));
    }
  }
}
lines.push('END');

// Names go in as code page 1252 bytes; everything else is ASCII.
const chunks = [];
let regionIndex = 0;
for (const line of lines) {
  if (line.includes('\u0000NAME')) {
    const [before, after] = line.split('\u0000NAME');
    const name = toCp1252(isoName(codes[regionIndex++]));
    if (name.length > 63) throw new Error(`name of ${codes[regionIndex - 1]} too long`);
    chunks.push(Buffer.from(before, 'ascii'), name, Buffer.from(after + '\n', 'ascii'));
  } else {
    chunks.push(Buffer.from(line + '\n', 'ascii'));
  }
}
const table = Buffer.concat(chunks);
fs.writeFileSync(path.join(root, 'data', 'countries.kvcc'), table);

// Octal escapes end after three digits, so a following letter never joins them.
function cLiteralLine(bytes) {
  let out = '"';
  for (const b of bytes) {
    if (b === 0x5C) out += '\\\\';
    else if (b === 0x22) out += '\\"';
    else if (b === 0x0A) out += '\\n';
    else if (b === 0x09) out += '\\t';
    else if (b === 0x3F) out += '\\?';
    else if (b < 0x20 || b > 0x7E) out += '\\' + b.toString(8).padStart(3, '0');
    else out += String.fromCharCode(b);
  }
  return out + '"';
}
const incLines = ['// Generated by countrycodes/tools/generate_table.js from data/countries.kvcc; do not edit.'];
let start = 0;
for (let i = 0; i < table.length; ++i) {
  if (table[i] === 0x0A) { incLines.push(cLiteralLine(table.subarray(start, i + 1))); start = i + 1; }
}
fs.writeFileSync(path.join(root, 'src', 'EmbeddedTable.inc'), incLines.join('\n') + '\n');

// Examples for the tests: mobile ones from the same package as the table, fixed-line ones
// from google-libphonenumber, marked when that library calls them "fixed line or mobile".
const { PhoneNumberUtil, PhoneNumberType } = require(path.join(modules, 'google-libphonenumber'));
const util = PhoneNumberUtil.getInstance();
const examples = ['# region\tmobile example\tfixed-line example\t1 when the fixed-line example is also mobile'];
for (const code of codes) {
  const fixed = util.getExampleNumberForType(code, PhoneNumberType.FIXED_LINE);
  let fixedText = '';
  let both = '0';
  if (fixed) {
    fixedText = util.getNationalSignificantNumber(fixed);
    both = util.getNumberType(fixed) === PhoneNumberType.FIXED_LINE_OR_MOBILE ? '1' : '0';
  }
  // Regions without mobile numbers (TA) still get an example there; it is no mobile one.
  const types = metadata.countries[code][R.types] || [];
  const mobile = types[jsTypeIndex.mobile] ? mobileExamples[code] || '' : '';
  examples.push([code, mobile, fixedText, both].join('\t'));
}
fs.writeFileSync(path.join(root, 'tests', 'data', 'examples.txt'), examples.join('\n') + '\n');
console.log(`${codes.length} regions, table ${table.length} bytes`);
