// The review page in Chromium against the native rzacc: the same findings,
// their notes coloured, the same written files, the same profiles.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {
  act, chooseSettings, click, examples, examplesDir, listedRows, openBrowser, openPage, openScore,
  outputDir, root, rzacc, rzaccRun, uploadTo,
} from './page_harness.mjs';

const COLUMNS = ['staff', 'location', 'note', 'info', 'accidental'];
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'rz-page-test-'));
let session;

before(async () => {
  session = await openBrowser();
});
after(async () => {
  await session?.close();
  fs.rmSync(scratch, { recursive: true, force: true });
});

function nativeScan(file, args = []) {
  return JSON.parse(rzacc('scan', file, '--format', 'json', ...args).toString('utf8'));
}

function columnsOf(findings) {
  return findings.map((finding) => COLUMNS.map((key) => finding[key]));
}

function writeScratch(name, bytes) {
  const file = path.join(scratch, name);
  fs.writeFileSync(file, bytes);
  return file;
}

// The pitch of every <note> of a MusicXML text in document order, spelt as
// the report spells it ("F#4", "Bb3"); "" for a rest.
function notePitches(text) {
  return text.split(/<note(?=[\s>\/])/).slice(1).map((note) => {
    const body = note.slice(0, note.indexOf('</note>'));
    const step = /<step>\s*([A-G])\s*<\/step>/.exec(body);
    if (!step || /<rest[\s>\/]/.test(body)) return '';
    const alter = Number((/<alter>\s*(-?\d+)\s*<\/alter>/.exec(note) || [0, 0])[1]);
    const octave = /<octave>\s*(\d+)\s*<\/octave>/.exec(note)[1];
    return step[1] + (alter > 0 ? '#'.repeat(alter) : 'b'.repeat(-alter)) + octave;
  });
}

// Scrolls through the score so that every page is drawn.
async function drawAllPages(page) {
  const count = await page.$$eval('.page', (pages) => pages.length);
  for (let number = 1; number <= count; number++) {
    await page.$eval(`.page[data-page="${number}"]`, (element) => element.scrollIntoView());
    await page.waitForSelector(`.page[data-page="${number}"].drawn`, { timeout: 60000 });
  }
}

async function colouredNotes(page) {
  return page.$$eval('g.note.rz-checked, g.note.rz-unchecked', (notes) =>
    notes.map((note) => ({
      id: note.id,
      finding: note.dataset.finding,
      checked: note.classList.contains('rz-checked'),
      fill: getComputedStyle(note.querySelector('.notehead')).fill,
    })),
  );
}

async function scoreOnPage(example) {
  const page = await openPage(session);
  await chooseSettings(page, example);
  await openScore(page, example.file);
  return page;
}

async function applyAndDownload(page) {
  await click(page, '#apply');
  return page.downloads.take(page, '#download');
}

// The <note> elements of a score's text, for comparing two written scores note by note.
function noteElements(text) {
  return text.split(/<note(?=[\s>\/])/).slice(1).map((note) => note.replace(/ id="rzacc-\d+"/g, ''));
}

test('every example lists the findings of rzacc scan and colours exactly their notes', async (t) => {
  for (const example of examples()) {
    await t.test(example.name, async () => {
      const page = await scoreOnPage(example);
      const native = nativeScan(example.name, example.args);
      const rows = await listedRows(page);
      assert.deepEqual(rows.map((row) => row.columns), columnsOf(native.findings));
      assert.deepEqual(rows.map((row) => row.checked), native.findings.map((finding) => finding.checked));

      await drawAllPages(page);
      const pitches = notePitches(fs.readFileSync(example.file, 'utf8'));
      const noteIds = await page.$$eval('#findings tbody tr', (trs) => trs.map((tr) => tr.dataset.note));
      const expected = new Map();
      noteIds.forEach((id, index) => {
        const finding = native.findings[index];
        assert.equal(pitches[Number(id.slice(4))], finding.writtenNote || finding.note, `finding ${index}'s note`);
        const seen = expected.get(id) || { finding: String(index), checked: false };
        seen.checked ||= rows[index].checked;
        expected.set(id, seen);
      });
      const coloured = await colouredNotes(page);
      assert.deepEqual(
        coloured.map((note) => [note.id, note.finding, note.checked]).sort(),
        [...expected].map(([id, seen]) => [id, seen.finding, seen.checked]).sort(),
      );
      for (const note of coloured) {
        assert.equal(note.fill, note.checked ? 'rgb(208, 2, 27)' : 'rgb(47, 111, 214)');
      }
      await page.screenshot({ path: path.join(outputDir, example.name.replace(/\.musicxml$/, '.png')) });
      await page.close();
    });
  }
});

test('the download of the checked findings equals rzacc apply --once, and its new findings are listed', async (t) => {
  const cases = examples().map((example) => ({ example, options: [] }));
  cases.push({ example: examples().find((example) => example.name === 'key_change.musicxml'), options: ['--brackets', '--color', '#D00000'] });
  for (const { example, options } of cases) {
    await t.test(example.name + ' ' + options.join(' '), async () => {
      const page = await scoreOnPage(example);
      if ((await listedRows(page)).every((row) => !row.checked)) return page.close();
      if (options.includes('--brackets')) await page.click('#brackets');
      if (options.includes('--color')) {
        await page.click('#use-color');
        await page.$eval('#color', (input, value) => (input.value = value.toLowerCase()), options[options.indexOf('--color') + 1]);
      }
      const download = await applyAndDownload(page);
      const nativeOut = path.join(scratch, 'native-' + example.name);
      rzacc('apply', example.name, '--once', ...example.args, ...options, '-o', nativeOut);
      assert.equal(download.name, example.name.replace(/\.musicxml$/, '-accidentals.musicxml'));
      assert.ok(download.bytes.equals(fs.readFileSync(nativeOut)), 'the download differs from rzacc apply --once');

      const after = nativeScan(nativeOut, example.args);
      assert.deepEqual((await listedRows(page)).map((row) => row.columns), columnsOf(after.findings));
      await page.close();
    });
  }
});

test('an unchecked finding is the one accidental the download lacks', async (t) => {
  for (const example of examples()) {
    await t.test(example.name, async () => {
      const page = await scoreOnPage(example);
      const rows = await listedRows(page);
      // With one finding unchecked, another is left to apply.
      if (rows.length < 2) return page.close();
      // Check All/None unchecks all when any row is checked, else checks all.
      await page.click('#check-all');
      if ((await listedRows(page)).some((row) => !row.checked)) await page.click('#check-all');
      assert.ok((await listedRows(page)).every((row) => row.checked));
      const left = Math.floor(rows.length / 2);
      await page.click(`#findings tr[data-finding="${left}"] input`);
      const leftNote = await page.$eval(`#findings tr[data-finding="${left}"]`, (tr) => Number(tr.dataset.note.slice(4)));
      const sharedNote = (await page.$$eval('#findings tbody tr', (trs) => trs.map((tr) => tr.dataset.note)))
        .filter((id) => id === 'rzn-' + leftNote).length > 1;

      const download = await applyAndDownload(page);
      const nativeOut = path.join(scratch, 'all-' + example.name);
      rzacc('apply', example.name, '--once', '--all', ...example.args, '-o', nativeOut);
      const ours = noteElements(download.bytes.toString('utf8'));
      const all = noteElements(fs.readFileSync(nativeOut, 'utf8'));
      const differing = all.map((note, index) => (note === ours[index] ? -1 : index)).filter((index) => index >= 0);
      assert.equal(ours.length, all.length);
      assert.deepEqual(differing, sharedNote ? differing.filter((index) => index === leftNote) : [leftNote]);
      if (!sharedNote) assert.match(all[leftNote], /<accidental/);
      await page.close();
    });
  }
});

test('a UTF-16 score and an .mxl round-trip through apply and clean as rzacc writes them', async (t) => {
  const plain = fs.readFileSync(path.join(examplesDir, 'key_change.musicxml'), 'utf8');
  const utf16 = Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from(plain.replace('encoding="UTF-8"', 'encoding="UTF-16"'), 'utf16le')]);
  const files = [
    writeScratch('key_change_utf16.musicxml', utf16),
    path.join(root, 'tests/fuzz/corpus/mxl/key_change.mxl'),
  ];
  for (const file of files) {
    await t.test(path.basename(file), async () => {
      const page = await openPage(session);
      await openScore(page, file);
      const { stem, ending } = /^(?<stem>.*?)(?<ending>\.[a-z]+)$/.exec(path.basename(file)).groups;
      assert.deepEqual((await listedRows(page)).map((row) => row.columns), columnsOf(nativeScan(file).findings));

      const applied = await applyAndDownload(page);
      const nativeApplied = path.join(scratch, 'native-' + stem + '-accidentals' + ending);
      rzacc('apply', file, '--once', '-o', nativeApplied);
      assert.equal(applied.name, stem + '-accidentals' + ending);
      assert.ok(applied.bytes.equals(fs.readFileSync(nativeApplied)), 'apply differs from rzacc');

      await click(page, '#clean');
      const cleaned = await page.downloads.take(page, '#download');
      const nativeCleaned = path.join(scratch, 'native-' + stem + '-clean' + ending);
      rzacc('clean', nativeApplied, '-o', nativeCleaned);
      assert.equal(cleaned.name, stem + '-clean' + ending);
      assert.ok(cleaned.bytes.equals(fs.readFileSync(nativeCleaned)), 'clean differs from rzacc');
      await page.close();
    });
  }
});

test('a broken or unreadable file shows why and leaves the page usable', async (t) => {
  const good = path.join(examplesDir, 'key_change.musicxml');
  const broken = [
    writeScratch('not_xml.musicxml', 'this is no score'),
    writeScratch('cut_short.musicxml', fs.readFileSync(good).subarray(0, 700)),
    writeScratch('not_a_zip.mxl', 'PK\u0003\u0004 broken'),
    writeScratch('empty.xml', ''),
  ];
  const page = await openPage(session);
  for (const file of broken) {
    await t.test(path.basename(file), async () => {
      await openScore(page, file);
      const native = rzaccRun('scan', file);
      assert.equal(native.status, 2);
      const shown = await page.$eval('#message', (element) => (element.hidden ? '' : element.textContent));
      assert.equal(shown, native.stderr.trim().replace(/^rzacc: /, '').replace(file, path.basename(file)));
      assert.equal((await listedRows(page)).length, 0);
      assert.equal(await page.$eval('#apply', (button) => button.disabled), true);
      // Nothing is left of the finding chosen in the score before.
      assert.equal(await page.$eval('#finding-detail', (element) => element.textContent), '');

      await openScore(page, good);
      assert.equal(await page.$eval('#message', (element) => element.hidden), true);
      assert.deepEqual((await listedRows(page)).map((row) => row.columns), columnsOf(nativeScan(good).findings));
      await page.click('#findings tbody tr td:nth-child(2)');
      assert.notEqual(await page.$eval('#finding-detail', (element) => element.textContent), '');
    });
  }
  await page.close();
});

test('the list answers clicks on notes, the arrow keys, space, Check All/None and ( ) Toggle', async () => {
  const example = examples().find((candidate) => nativeScan(candidate.name, candidate.args).findings.length >= 2);
  const page = await scoreOnPage(example);
  const selectedRow = () => page.$eval('#findings tr.selected', (tr) => Number(tr.dataset.finding));
  const noteClass = (index) => page.$eval(`#findings tr[data-finding="${index}"]`, (tr) => document.getElementById(tr.dataset.note).getAttribute('class'));
  // The score marks a chosen note once its page is drawn, after the list has
  // moved: wait for the mark, failing if it never comes.
  const markedAsChosen = (index) => page.waitForFunction(
    (finding) => {
      const tr = document.querySelector(`#findings tr[data-finding="${finding}"]`);
      return document.getElementById(tr.dataset.note).classList.contains('rz-selected');
    },
    { timeout: 10000 },
    index,
  );

  await page.$eval('g.note[data-finding="1"] .notehead', (head) => head.dispatchEvent(new MouseEvent('click', { bubbles: true })));
  assert.equal(await selectedRow(), 1);
  await markedAsChosen(1);
  await page.keyboard.press('ArrowUp');
  assert.equal(await selectedRow(), 0);
  await markedAsChosen(0);
  assert.doesNotMatch(await noteClass(1), /rz-selected/);

  const checkedBefore = (await listedRows(page))[0].checked;
  await page.keyboard.press('Space');
  assert.equal((await listedRows(page))[0].checked, !checkedBefore);
  assert.match(await noteClass(0), checkedBefore ? /rz-unchecked/ : /rz-checked/);

  await page.click('#check-all');
  const afterFirst = (await listedRows(page)).map((row) => row.checked);
  await page.click('#check-all');
  const afterSecond = (await listedRows(page)).map((row) => row.checked);
  assert.ok(afterFirst.every((checked) => checked === afterFirst[0]));
  assert.ok(afterSecond.every((checked) => checked === !afterFirst[0]));

  const accidental = async () => (await listedRows(page))[0].columns[4];
  const before = await accidental();
  await page.click('#toggle-parentheses');
  const toggled = await accidental();
  assert.equal(toggled, before.startsWith('(') ? before.replace(/^\((.*)\) \*$/, '$1 *') : before.replace(/^(.*) \*$/, '($1) *'));
  await page.click('#toggle-parentheses');
  assert.equal(await accidental(), before);
  await page.close();
});

test('a profile changed on the page and saved takes effect in rzacc', async () => {
  // The file is shared with other plug-ins of the family: what they keep in it stays.
  const shared = fs.readFileSync(path.join(examplesDir, 'rzpluginstorage.xml'), 'utf8');
  const otherPlugin = '<RZOtherPlugin Keep="1"/>';
  const profilesFile = writeScratch('shared-rzpluginstorage.xml', shared.replace('<RZPluginSettings>', '<RZPluginSettings>' + otherPlugin));
  const example = { file: path.join(examplesDir, 'key_change.musicxml'), profilesFile, profileName: 'Default Profile', layers: '1234' };
  const page = await openPage(session);
  await chooseSettings(page, example);
  await openScore(page, example.file);
  const before = nativeScan(example.file, ['--profiles', profilesFile, '--profile', example.profileName]);
  assert.ok(before.findings.length > 0);

  // Key signature changes restated: off.
  await page.$eval('details.options', (details) => (details.open = true));
  const box = await page.$('#options input[name="KeySigRestate"]');
  assert.equal(await box.evaluate((input) => input.checked), true);
  await box.click();
  const saved = await page.downloads.take(page, '#save-profiles');
  assert.equal(saved.name, 'rzpluginstorage.xml');
  const savedFile = writeScratch('saved-rzpluginstorage.xml', saved.bytes);
  assert.ok(saved.bytes.toString('utf8').includes(otherPlugin));

  const after = nativeScan(example.file, ['--profiles', savedFile, '--profile', example.profileName]);
  assert.notDeepEqual(columnsOf(after.findings), columnsOf(before.findings));
  await click(page, '#scan');
  assert.deepEqual((await listedRows(page)).map((row) => row.columns), columnsOf(after.findings));
  // Every other profile comes back as it was.
  const others = ['Ties over system breaks', 'Parentheses everywhere'];
  for (const name of others) {
    assert.deepEqual(
      nativeScan(example.file, ['--profiles', savedFile, '--profile', name]),
      nativeScan(example.file, ['--profiles', profilesFile, '--profile', name]),
    );
  }
  await page.close();
});

test('without a profiles file the page offers the presets, and Engraver finds what rzacc --preset Engraver finds', async () => {
  const file = path.join(root, 'tests/scenarios/other_octave_within_the_measure.musicxml');
  const page = await scoreOnPage({ file, profileName: 'Engraver', layers: '1234' });
  const offered = await page.$$eval('#profile option', (options) => options.map((option) => option.textContent));
  assert.deepEqual(offered, ['Default Profile', 'Engraver', 'Thorough', 'Sparing']);
  await page.$eval('details.options', (details) => (details.open = true));
  const headings = await page.$$eval('#options .option-group', (elements) => elements.map((element) => element.textContent));
  assert.deepEqual(headings, ['Options', 'Cautionary Parentheses', 'Engraving Rules', 'Settings']);
  assert.equal(await page.$eval('#options input[name="OtherOctaveSameMeasure"]', (input) => input.checked), true);
  const engraver = columnsOf(nativeScan(file, ['--preset', 'Engraver']).findings);
  assert.notDeepEqual(engraver, columnsOf(nativeScan(file).findings));
  assert.deepEqual((await listedRows(page)).map((row) => row.columns), engraver);
  await page.close();
});
