// The page's worker: the engine (rzengine.wasm) and Verovio run here, so that
// the page stays responsive while a large score is read, laid out and scanned.
// Requests come as {id, op, args}; each answers {id, result} or {id, error};
// {progress} messages say what is happening meanwhile.
/* global importScripts, verovio, createRzEngine */
'use strict';

importScripts('verovio-toolkit-wasm.js', 'rzengine.js');

const PAGE_WIDTH = 2100;
const PAGE_HEIGHT = 2970;
const SCALE = 55;

let engine = null;
let toolkit = null;
const encoder = new TextEncoder();

function reportProgress(text) {
  self.postMessage({ progress: text });
}

// Verovio's runtime starts after its wasm compiles, which is always later than
// this script's own run: the callback set here cannot miss it.
const verovioReady = new Promise((resolve) => {
  verovio.module.onRuntimeInitialized = resolve;
});

const engineReady = createRzEngine({
  locateFile: (file) => file,
}).then((module) => {
  engine = module;
});

const ready = Promise.all([verovioReady, engineReady]).then(() => {
  toolkit = new verovio.toolkit();
  toolkit.setOptions({
    inputFrom: 'xml',
    pageWidth: PAGE_WIDTH,
    pageHeight: PAGE_HEIGHT,
    scale: SCALE,
    adjustPageHeight: true,
    breaks: 'auto',
    svgViewBox: true,
    footer: 'none',
  });
});

// Copies bytes into the engine's memory; the caller frees the pointer.
function copyIn(bytes) {
  const pointer = engine._malloc(bytes.length + 1);
  engine.HEAPU8.set(bytes, pointer);
  engine.HEAPU8[pointer + bytes.length] = 0;
  return pointer;
}

// Calls an engine function with arguments that are strings, byte arrays or
// numbers; strings and bytes go through the heap, not the small stack that
// ccall would use, since a score or a profiles file can be megabytes.
function callEngine(name, ...args) {
  const pointers = [];
  const values = args.map((value) => {
    if (typeof value === 'number') return value;
    const bytes = typeof value === 'string' ? encoder.encode(value) : value;
    const pointer = copyIn(bytes);
    pointers.push(pointer);
    return pointer;
  });
  try {
    return engine['_' + name](...values);
  } finally {
    pointers.forEach((pointer) => engine._free(pointer));
  }
}

function engineText(name, ...args) {
  return engine.UTF8ToString(callEngine(name, ...args));
}

function engineMessage() {
  return engine.UTF8ToString(engine._rz_message());
}

function engineOutput() {
  const pointer = engine._rz_output();
  const size = engine._rz_output_size();
  return engine.HEAPU8.slice(pointer, pointer + size);
}

function drawScore() {
  reportProgress('Laying out the pages');
  const text = engine.UTF8ToString(engine._rz_score_text());
  if (!toolkit.loadData(text)) {
    throw new Error('The score was read, but it could not be drawn.');
  }
  return toolkit.getPageCount();
}

function openScore({ bytes, name }) {
  reportProgress('Reading ' + name);
  const started = performance.now();
  if (!callEngine('rz_open', bytes, bytes.length, name)) {
    throw new Error(engineMessage());
  }
  const openMilliseconds = performance.now() - started;
  const warnings = JSON.parse(engine.UTF8ToString(engine._rz_warnings()) || '[]');
  const pageCount = drawScore();
  return { pageCount, warnings, openMilliseconds, layoutMilliseconds: performance.now() - started - openMilliseconds };
}

// The page that shows a note, 0 when none does. Verovio looks the note up
// through the whole layout, so this is asked for one chosen finding at a time.
function pageOfNote({ noteIndex }) {
  if (noteIndex < 0) return 0;
  return toolkit.getPageWithElement('rzn-' + noteIndex);
}

function scan({ profilesXml, profileName, layerMask }) {
  reportProgress('Scanning');
  const started = performance.now();
  const text = engineText('rz_scan', profilesXml, profileName, layerMask);
  const scanMilliseconds = performance.now() - started;
  const report = JSON.parse(text);
  if (report.error !== undefined) throw new Error(report.error);
  report.scanMilliseconds = scanMilliseconds;
  return report;
}

function apply({ choices, brackets, color, outputName }) {
  reportProgress('Writing the accidentals');
  const size = callEngine('rz_apply', JSON.stringify(choices), brackets ? 1 : 0, color, outputName);
  if (size < 0) throw new Error(engineMessage());
  return engineOutput();
}

function clean({ bytes, name, outputName }) {
  reportProgress('Taking out the added accidentals');
  const count = callEngine('rz_clean', bytes, bytes.length, name, outputName);
  if (count < 0) throw new Error(engineMessage());
  return { count, bytes: engineOutput() };
}

function readProfiles({ text }) {
  return JSON.parse(engineText('rz_profiles_read', text));
}

// base: the text of the profiles file the profiles came from, so that what
// other plug-ins keep in it is written back too; '' for a new file.
function writeProfiles({ profiles, base = '' }) {
  const text = engineText('rz_profiles_write', JSON.stringify({ profiles }), base);
  if (text === '') throw new Error(engineMessage());
  return text;
}

const operations = {
  options: () => JSON.parse(engine.UTF8ToString(engine._rz_options())),
  open: openScore,
  render: ({ page }) => toolkit.renderToSVG(page),
  pageOfNote,
  scan,
  apply,
  clean,
  readProfiles,
  writeProfiles,
};

self.onmessage = async (event) => {
  const { id, op, args } = event.data;
  try {
    await ready;
    const result = operations[op](args || {});
    const transfer = result && result.buffer instanceof ArrayBuffer ? [result.buffer] : [];
    self.postMessage({ id, result }, transfer);
  } catch (error) {
    self.postMessage({ id, error: String((error && error.message) || error) });
  }
};
