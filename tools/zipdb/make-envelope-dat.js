#!/usr/bin/env node
// Turns the US ZIP codes of the "zipcodes" npm package into the program's ZIP code
// database "envelope.dat", and copies the package's licence beside it.
//
//   node make-envelope-dat.js <package dir> <output dir>
//
// <package dir> is the installed package (it holds lib/codes.js and LICENSE). The
// output is the same bytes on every run: a header line, then one Base64 record
// "zip^city^state" per line in ascending ZIP order, every line ending in CR LF.
// Records are written in Latin-1; a ZIP, city or state that could not be stored
// (a "^", a line break, a NUL or a character beyond Latin-1) stops the run with an error
// instead of writing a damaged database.
'use strict';

const fs = require('fs');
const path = require('path');

const LICENSE_NAME = 'zipcodes-LICENSE.txt';
const DATABASE_NAME = 'envelope.dat';

function fail(message) {
  process.stderr.write(`make-envelope-dat: ${message}\n`);
  process.exit(1);
}

function checkedField(value, what, zip) {
  if (typeof value !== 'string') fail(`${what} of ${zip} is not text`);
  // eslint-disable-next-line no-control-regex
  if (/[\^\r\n\0]|[^\x00-\xff]/.test(value)) fail(`${what} of ${zip} cannot be stored: ${JSON.stringify(value)}`);
  return value;
}

function main(argv) {
  if (argv.length !== 2) fail('usage: make-envelope-dat.js <package dir> <output dir>');
  const [packageDir, outputDir] = argv.map((p) => path.resolve(p));

  const packageJson = JSON.parse(fs.readFileSync(path.join(packageDir, 'package.json'), 'utf8'));
  const { codes } = require(path.join(packageDir, 'lib', 'codes.js'));
  if (!codes || typeof codes !== 'object') fail('lib/codes.js exports no codes table');

  const records = [];
  for (const [key, place] of Object.entries(codes)) {
    if (place.country !== undefined && place.country !== 'US') continue;
    const zip = checkedField(place.zip, 'ZIP', key);
    if (zip !== key) fail(`entry ${key} holds ZIP ${zip}`);
    if (!/^\d{5}$/.test(zip)) fail(`ZIP ${JSON.stringify(zip)} is not five digits`);
    const city = checkedField(place.city, 'city', zip);
    const state = checkedField(place.state, 'state', zip);
    records.push({ zip, line: Buffer.from(`${zip}^${city}^${state}`, 'latin1').toString('base64') });
  }
  if (records.length === 0) fail('no US ZIP codes found');
  records.sort((a, b) => (a.zip < b.zip ? -1 : a.zip > b.zip ? 1 : 0));

  const header = `Quarrane ZIP code database: ${records.length} US ZIP codes from ` +
                 `${packageJson.name} ${packageJson.version}`;
  const text = [header, ...records.map((r) => r.line)].join('\r\n') + '\r\n';

  fs.mkdirSync(outputDir, { recursive: true });
  // Written beside the target and renamed, so an interrupted run leaves no half file.
  const target = path.join(outputDir, DATABASE_NAME);
  fs.writeFileSync(`${target}.new`, text, 'latin1');
  fs.renameSync(`${target}.new`, target);
  fs.copyFileSync(path.join(packageDir, 'LICENSE'), path.join(outputDir, LICENSE_NAME));
  process.stdout.write(`${target}: ${records.length} records\n`);
}

main(process.argv.slice(2));
