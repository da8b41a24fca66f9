#!/usr/bin/env node
// Compares KVCountryCodes on its shipped table with google-libphonenumber on the same
// corpus. Usage: node compare.js EVAL_PROGRAM TABLE
// Every difference must be listed in known-differences.txt (region, typed text, reason), and
// at least 99.9 % of the corpus must agree. Prints "N passed, N failed" at the end.
'use strict';
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');
const { PhoneNumberUtil, PhoneNumberType: T, PhoneNumberFormat } = require('google-libphonenumber');

const [evalProgram, tablePath] = process.argv.slice(2);
if (!evalProgram || !tablePath) {
  console.error('usage: node compare.js EVAL_PROGRAM TABLE');
  process.exit(2);
}
const util = PhoneNumberUtil.getInstance();
const isMobile = (t) => t === T.MOBILE || t === T.FIXED_LINE_OR_MOBILE;

// Same order of regions and of example kinds as the comparison with Debian's library.
const regions = fs.readFileSync(tablePath, 'latin1').split('\n')
  .filter((l) => l.startsWith('R\t')).map((l) => l.split('\t')[1]);
const kinds = [T.MOBILE, T.FIXED_LINE, T.TOLL_FREE, T.PREMIUM_RATE, T.SHARED_COST, T.PERSONAL_NUMBER,
  T.VOIP, T.PAGER, T.UAN, T.VOICEMAIL];
const examples = regions.map((region) => {
  const numbers = [];
  for (const kind of kinds) {
    const n = util.getExampleNumberForType(region, kind);
    if (n) numbers.push(util.getNationalSignificantNumber(n));
  }
  return `${region}\t${[...new Set(numbers)].join(',')}`;
}).join('\n') + '\n';

const run = spawnSync(evalProgram, [tablePath], { input: examples, maxBuffer: 64 << 20, encoding: 'latin1' });
if (run.status !== 0) {
  console.error(`${evalProgram} failed: ${run.stderr}`);
  process.exit(1);
}

function googleMsisdn(text, region) {
  try {
    const n = util.parseAndKeepRawInput(text, region);
    if (util.getRegionCodeForNumber(n) !== region || !isMobile(util.getNumberType(n))) return '';
    return util.format(n, PhoneNumberFormat.E164);
  } catch (e) {
    return '';
  }
}

function validMobileOfCode(msisdn, callingCode) {
  try {
    const n = util.parse(msisdn, 'ZZ');
    return String(n.getCountryCode()) === callingCode && util.isValidNumber(n) && isMobile(util.getNumberType(n));
  } catch (e) {
    return false;
  }
}

const listFile = path.join(__dirname, 'known-differences.txt');
const known = new Map();
for (const line of fs.readFileSync(listFile, 'latin1').split('\n')) {
  if (!line || line.startsWith('#')) continue;
  const [region, text, reason] = line.split('\t');
  if (!reason) throw new Error(`${listFile}: "${line}" needs region, text and reason`);
  known.set(`${region}\t${text}`, reason);
}

let total = 0;
let agreed = 0;
const unlisted = [];
const seen = new Set();
for (const line of run.stdout.split('\n')) {
  if (!line) continue;
  const [text, region, , form, ours, withAdditions] = line.split('\t');
  ++total;
  const theirs = googleMsisdn(text, region);
  let same = ours === theirs;
  if (same && withAdditions !== ours) {
    const callingCode = String(util.getCountryCodeForRegion(region));
    same = ours === '' && validMobileOfCode(withAdditions, callingCode);
  }
  if (same) { ++agreed; continue; }
  const key = `${region}\t${text}`;
  seen.add(key);
  if (!known.has(key)) unlisted.push(`${key}\t(${form}) google "${theirs}", ours "${ours}" / "${withAdditions}"`);
}

const share = agreed / total;
console.log(`corpus ${total}, agreed ${agreed} (${(100 * share).toFixed(3)} %), listed differences ${total - agreed - unlisted.length}`);
for (const key of known.keys()) {
  if (!seen.has(key)) console.log(`note: listed difference no longer seen: ${key}`);
}
for (const u of unlisted) console.log(`UNLISTED ${u}`);
const failed = (share < 0.999 ? 1 : 0) + (unlisted.length ? 1 : 0);
console.log(`${2 - failed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
