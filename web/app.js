// The review page: open a score, scan it with a profile, see the findings on
// the engraved pages, choose, apply, and download the corrected file.
import { EngineClient } from './engine-client.js';
import { FindingsList } from './findings-list.js';
import { ScoreView } from './score-view.js';
import { ProfilesPanel } from './profiles-panel.js';

const $ = (id) => document.getElementById(id);
const SCORE_ENDINGS = ['.musicxml', '.xml', '.mxl'];
// Opening a score is reading it, laying out its pages and scanning it.
const OPEN_STEPS = 3;

// Timings for whoever measures the page (the browser tests print them).
const timings = (window.rzTimings = {});

const state = {
  original: null, // {stem, ending} of the file the user opened
  current: null, // {name, bytes} of the score now drawn and scanned
  output: null, // {name, bytes} that Download gives
  busy: false,
  findings: [],
  profilesFile: '', // the text of the profiles file the user opened
};

const engine = new EngineClient((text) => showProgress(text));
const list = new FindingsList($('findings'), {
  onSelect: (index) => selectFinding(index),
  onCheck: () => view.setFindings(state.findings, list.rows),
  onChange: () => updateButtons(),
});
const view = new ScoreView($('pages'), engine, {
  onNoteClicked: (index) => list.select(index),
});
let profiles = null;

function setStatus(text, working = false) {
  $('status').textContent = text;
  $('progress').hidden = !working;
}

// The steps the worker reports for the action that runs, counted against
// the number the action takes.
const progress = { step: 0, steps: 0 };

function showProgress(text) {
  progress.step++;
  const counted = progress.steps > 1 ? ` (step ${Math.min(progress.step, progress.steps)} of ${progress.steps})` : '';
  setStatus(text + '…' + counted, true);
  $('progress').max = Math.max(progress.steps, 1);
  $('progress').value = Math.min(progress.step, progress.steps);
}

function showMessage(text) {
  $('message').textContent = text;
  $('message').hidden = !text;
}

function updateButtons() {
  const idle = !state.busy;
  $('scan').disabled = !idle || !state.current;
  $('apply').disabled = !idle || !list.rows.some((row) => row.checked);
  $('download').disabled = !idle || !state.output;
  $('clean').disabled = !idle || !state.current;
  $('open-score').disabled = !idle;
  $('check-all').disabled = !idle || list.rows.length === 0;
  $('toggle-parentheses').disabled = !idle || list.selected < 0;
  $('finding-count').textContent = state.current ? countText(list.rows.length) : '';
}

function countText(count) {
  return count === 0 ? 'Nothing to Report' : count === 1 ? '1 finding' : count + ' findings';
}

// Runs one user action: the buttons wait while it works, and a failure is
// shown on the page, which stays usable.
async function run(action, steps = 1) {
  if (state.busy) return;
  state.busy = true;
  progress.step = 0;
  progress.steps = steps;
  showMessage('');
  updateButtons();
  try {
    await action();
  } catch (error) {
    showMessage(error.message);
    setStatus(state.current ? 'Ready.' : 'No score open.');
  } finally {
    state.busy = false;
    updateButtons();
    // Counts finished actions, for scripts that wait for one.
    document.body.dataset.actions = String(Number(document.body.dataset.actions || 0) + 1);
  }
}

function splitName(name) {
  const lower = name.toLowerCase();
  const ending = SCORE_ENDINGS.find((candidate) => lower.endsWith(candidate)) || '';
  return { stem: name.slice(0, name.length - ending.length), ending };
}

function layerMask() {
  let mask = 0;
  for (const box of document.querySelectorAll('input[name=layer]')) {
    if (box.checked) mask |= 1 << (Number(box.value) - 1);
  }
  return mask;
}

// A new list has no finding chosen, so the line about the chosen one goes too.
function showFindings(findings) {
  list.show(findings);
  $('finding-detail').textContent = '';
}

// Opens bytes in the engine and draws the first page; the findings of an
// earlier scan no longer belong to what is shown.
async function openBytes(name, bytes) {
  const opened = await engine.request('open', { bytes, name });
  timings.openMilliseconds = opened.openMilliseconds;
  timings.layoutMilliseconds = opened.layoutMilliseconds;
  state.current = { name, bytes };
  state.findings = [];
  showFindings([]);
  view.reset(opened.pageCount);
  await view.draw(1);
  return opened;
}

async function scan() {
  const profile = profiles.chosen();
  const profilesXml = await engine.request('writeProfiles', { profiles: profiles.profiles });
  const report = await engine.request('scan', {
    profilesXml,
    profileName: profile.name,
    layerMask: layerMask(),
  });
  timings.scanMilliseconds = report.scanMilliseconds;
  state.findings = report.findings;
  showFindings(report.findings);
  view.setFindings(report.findings, list.rows);
  return report.findings.length;
}

async function openScore(file) {
  timings.chosen = performance.now();
  const { stem, ending } = splitName(file.name);
  setStatus('Reading ' + file.name, true);
  const bytes = new Uint8Array(await file.arrayBuffer());
  state.current = null;
  state.output = null;
  state.original = null;
  $('score-name').textContent = file.name;
  let opened;
  try {
    opened = await openBytes(file.name, bytes);
  } catch (error) {
    showFindings([]);
    view.reset(0);
    $('score-name').textContent = 'No score open: choose one or drop it on the page.';
    throw error;
  }
  state.original = { stem, ending };
  const count = await scan();
  timings.firstPageWithFindings = performance.now();
  const warnings = opened.warnings.length ? ' ' + opened.warnings.join(' ') : '';
  setStatus(file.name + ': ' + pagesText(opened.pageCount) + ', ' + countText(count).toLowerCase() + '.' + warnings);
}

function pagesText(count) {
  return count === 1 ? '1 page' : count + ' pages';
}

async function rescan() {
  const count = await scan();
  setStatus('Scanned with "' + profiles.chosen().name + '": ' + countText(count).toLowerCase() + '.');
}

// Writes the checked findings, then opens what was written and scans it, so
// that findings which only appear now (a note after a new accidental on a
// grace note) are listed for review instead of being applied unseen.
async function apply() {
  const choices = list.choices();
  const outputName = state.original.stem + '-accidentals' + state.original.ending;
  const color = $('use-color').checked ? $('color').value.toUpperCase() : '';
  let bytes;
  try {
    bytes = await engine.request('apply', { choices, brackets: $('brackets').checked, color, outputName });
  } catch (error) {
    // Apply spends the open score: open it again so that the page goes on as before.
    await openBytes(state.current.name, state.current.bytes.slice());
    await scan();
    throw error;
  }
  state.output = { name: outputName, bytes };
  await openBytes(outputName, bytes.slice());
  const count = await scan();
  const written = choices.length === 1 ? '1 accidental' : choices.length + ' accidentals';
  const more = count ? ' The written score has ' + countText(count).toLowerCase() + ' to review.' : '';
  setStatus('Wrote ' + written + ' into ' + outputName + '.' + more);
}

async function clean() {
  const outputName = state.original.stem + '-clean' + state.original.ending;
  const cleaned = await engine.request('clean', {
    bytes: state.current.bytes,
    name: state.current.name,
    outputName,
  });
  state.output = { name: outputName, bytes: cleaned.bytes };
  await openBytes(outputName, cleaned.bytes.slice());
  await scan();
  const taken = cleaned.count === 1 ? '1 added accidental' : cleaned.count + ' added accidentals';
  setStatus('Took out ' + taken + '; ' + outputName + ' is ready to download.');
}

function download() {
  const blob = new Blob([state.output.bytes], { type: 'application/octet-stream' });
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = state.output.name;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

async function openProfiles(file) {
  const text = await file.text();
  const read = await engine.request('readProfiles', { text });
  if (read.error) throw new Error(file.name + ': ' + read.error);
  profiles.setProfiles(read.profiles);
  state.profilesFile = text;
  setStatus('Profiles of ' + file.name + ' opened.');
}

async function saveProfiles() {
  const text = await engine.request('writeProfiles', { profiles: profiles.profiles, base: state.profilesFile });
  state.profilesDownload = text;
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([text], { type: 'application/xml' }));
  link.download = 'rzpluginstorage.xml';
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

function selectFinding(index) {
  const finding = state.findings[index];
  $('finding-detail').textContent = finding
    ? finding.locationText + (finding.relatedLocationText ? '  (reference: ' + finding.relatedLocationText + ')' : '')
    : '';
  view.select(index);
}

function wireFileInput(button, input, open, steps) {
  $(button).addEventListener('click', () => $(input).click());
  $(input).addEventListener('change', () => {
    const file = $(input).files[0];
    $(input).value = '';
    if (file) run(() => open(file), steps);
  });
}

function wireDrop() {
  let depth = 0;
  document.addEventListener('dragenter', (event) => {
    event.preventDefault();
    depth++;
    $('drop-hint').hidden = false;
  });
  document.addEventListener('dragleave', () => {
    depth = Math.max(0, depth - 1);
    if (depth === 0) $('drop-hint').hidden = true;
  });
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    depth = 0;
    $('drop-hint').hidden = true;
    const file = event.dataTransfer.files[0];
    if (file) run(() => openScore(file), OPEN_STEPS);
  });
}

async function start() {
  const optionTable = await engine.request('options');
  profiles = new ProfilesPanel($('profile'), $('options'), optionTable);
  const read = await engine.request('readProfiles', { text: '' });
  profiles.setProfiles(read.profiles);
  wireFileInput('open-score', 'score-file', openScore, OPEN_STEPS);
  wireFileInput('open-profiles', 'profiles-file', openProfiles, 1);
  wireDrop();
  $('scan').addEventListener('click', () => run(rescan));
  $('apply').addEventListener('click', () => run(apply, OPEN_STEPS + 1));
  $('clean').addEventListener('click', () => run(clean, OPEN_STEPS + 1));
  $('download').addEventListener('click', download);
  $('save-profiles').addEventListener('click', () => run(saveProfiles));
  $('check-all').addEventListener('click', () => list.checkAllOrNone());
  $('toggle-parentheses').addEventListener('click', () => list.toggleParentheses());
  setStatus('Ready: open a score.');
  document.body.dataset.ready = 'true';
  updateButtons();
}

start().catch((error) => {
  showMessage('The engine could not be started: ' + error.message);
  setStatus('Not ready.');
});
