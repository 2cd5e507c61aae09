// Runs the WebAssembly engine and the native rzacc on every example score,
// one UTF-16 copy and one .mxl copy, and compares what they answer: the scan
// JSON (without the engine's two note-number keys), the file an apply of the
// findings rzacc would apply writes (rzacc apply --once), byte for byte, and
// the file clean writes from that.
//
// node tests/web/engine_vs_rzacc.mjs RZACC ENGINE_JS
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

if (process.argv.length < 4) {
  console.error('usage: node engine_vs_rzacc.mjs RZACC ENGINE_JS');
  process.exit(2);
}
const [rzacc, engineJs] = process.argv.slice(2, 4).map((argument) => path.resolve(argument));
const sourceDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const examples = path.join(sourceDir, 'examples');
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'rz-engine-'));

const createRzEngine = (await import(path.resolve(engineJs))).default;
// Node's fetch does not read files, so the module is handed its bytes.
const engine = await createRzEngine({ wasmBinary: fs.readFileSync(engineJs.replace(/\.js$/, '.wasm')) });

function withBytes(bytes, call) {
  const pointer = engine._malloc(Math.max(bytes.length, 1));
  engine.HEAPU8.set(bytes, pointer);
  try {
    return call(pointer, bytes.length);
  } finally {
    engine._free(pointer);
  }
}

function output() {
  const pointer = engine.ccall('rz_output', 'number', [], []);
  const size = engine.ccall('rz_output_size', 'number', [], []);
  return Buffer.from(engine.HEAPU8.subarray(pointer, pointer + size));
}

function message() {
  return engine.ccall('rz_message', 'string', [], []);
}

function runRzacc(args) {
  return execFileSync(rzacc, args, { cwd: work, stdio: ['ignore', 'pipe', 'pipe'] }).toString();
}

// The example's profile arguments, with the profiles file's path made whole.
function profileArgs(example) {
  const argsFile = example && path.join(examples, example.replace(/\.musicxml$/, '.args'));
  if (!argsFile || !fs.existsSync(argsFile)) return { args: [], profilesXml: '', profileName: '' };
  const args = fs.readFileSync(argsFile, 'utf8').split('\n').filter((line) => line.length > 0);
  let profilesXml = '';
  let profileName = '';
  for (let index = 0; index < args.length; ++index) {
    if (args[index] === '--profiles') {
      args[index + 1] = path.join(examples, args[index + 1]);
      profilesXml = fs.readFileSync(args[index + 1], 'utf8');
    }
    if (args[index] === '--profile') profileName = args[index + 1];
  }
  return { args, profilesXml, profileName };
}

function withoutNoteIndexes(report) {
  for (const finding of report.findings) {
    delete finding.noteIndex;
    delete finding.relatedNoteIndex;
  }
  return report;
}

const failures = [];
function check(name, what, same, detail = '') {
  if (!same) failures.push(`${name}: ${what} differs${detail ? ` (${detail})` : ''}`);
}

function compare(scoreFile, profile) {
  const name = path.basename(scoreFile);
  const extension = path.extname(name);
  const stem = name.slice(0, -extension.length);
  const bytes = fs.readFileSync(scoreFile);

  const opened = withBytes(bytes, (pointer, size) =>
    engine.ccall('rz_open', 'number', ['number', 'number', 'string'], [pointer, size, name]));
  if (opened !== 1) {
    failures.push(`${name}: the engine does not open it: ${message()}`);
    return;
  }
  const scanText = engine.ccall('rz_scan', 'string', ['string', 'string', 'number'],
    [profile.profilesXml, profile.profileName, 0xF]);
  const scan = JSON.parse(scanText);
  if (scan.error) {
    failures.push(`${name}: the engine's scan failed: ${scan.error}`);
    return;
  }
  const nativeScan = JSON.parse(runRzacc(['scan', scoreFile, '--format', 'json', ...profile.args]));
  const engineScan = withoutNoteIndexes(JSON.parse(scanText));
  check(name, 'the scan JSON', JSON.stringify(engineScan) === JSON.stringify(nativeScan));
  check(name, 'the scan JSON\'s key order', JSON.stringify(Object.keys(engineScan)) ===
    JSON.stringify(Object.keys(nativeScan)));

  const choices = scan.findings.map((finding, index) => ({ index, parentheses: finding.parentheses }))
    .filter((choice) => scan.findings[choice.index].checked);
  const appliedName = `${stem}-accidentals${extension}`;
  const size = engine.ccall('rz_apply', 'number', ['string', 'number', 'string', 'string'],
    [JSON.stringify(choices), 0, '', appliedName]);
  if (size < 0) {
    failures.push(`${name}: the engine's apply failed: ${message()}`);
    return;
  }
  const applied = output();
  const nativeApplied = path.join(work, `native-${appliedName}`);
  runRzacc(['apply', scoreFile, '-o', nativeApplied, '--once', ...profile.args]);
  check(name, 'the applied file', applied.equals(fs.readFileSync(nativeApplied)),
    `${applied.length} bytes against ${fs.statSync(nativeApplied).size}`);

  const cleanName = `${stem}-clean${extension}`;
  const removed = withBytes(applied, (pointer, length) =>
    engine.ccall('rz_clean', 'number', ['number', 'number', 'string', 'string'],
      [pointer, length, appliedName, cleanName]));
  if (removed < 0) {
    failures.push(`${name}: the engine's clean failed: ${message()}`);
    return;
  }
  const nativeClean = path.join(work, `native-${cleanName}`);
  runRzacc(['clean', nativeApplied, '-o', nativeClean]);
  check(name, 'the cleaned file', output().equals(fs.readFileSync(nativeClean)));
}

// A UTF-16 copy and an .mxl copy of one example, made here.
function derivedScores() {
  const source = path.join(examples, 'key_change.musicxml');
  const text = fs.readFileSync(source, 'utf8').replace('encoding="UTF-8"', 'encoding="UTF-16"');
  const utf16 = path.join(work, 'key_change_utf16.musicxml');
  fs.writeFileSync(utf16, Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from(text, 'utf16le')]));
  const folder = fs.mkdtempSync(path.join(work, 'mxl-'));
  fs.mkdirSync(path.join(folder, 'META-INF'));
  fs.writeFileSync(path.join(folder, 'mimetype'), 'application/vnd.recordare.musicxml');
  fs.writeFileSync(path.join(folder, 'META-INF', 'container.xml'),
    '<?xml version="1.0" encoding="UTF-8"?>\n<container><rootfiles>' +
    '<rootfile full-path="score.musicxml" media-type="application/vnd.recordare.musicxml+xml"/>' +
    '</rootfiles></container>\n');
  fs.copyFileSync(source, path.join(folder, 'score.musicxml'));
  const mxl = path.join(work, 'key_change.mxl');
  execFileSync('zip', ['-q', '-X', '-0', mxl, 'mimetype'], { cwd: folder });
  execFileSync('zip', ['-q', '-X', '-r', mxl, 'META-INF', 'score.musicxml'], { cwd: folder });
  return [utf16, mxl];
}

const scores = fs.readdirSync(examples).filter((file) => file.endsWith('.musicxml')).sort();
for (const example of scores) compare(path.join(examples, example), profileArgs(example));
for (const derived of derivedScores()) compare(derived, profileArgs(null));
fs.rmSync(work, { recursive: true, force: true });

if (failures.length > 0) {
  for (const failure of failures) console.error(`engine_vs_rzacc: ${failure}`);
  process.exit(1);
}
console.log(`engine_vs_rzacc: the engine answers as rzacc on ${scores.length} examples, a UTF-16 copy and an .mxl`);
