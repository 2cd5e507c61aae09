// Times the review page in headless Chromium on the largest example, on a
// corpus score of about 1.3 MB and on a generated score of about 8 MB (a
// corpus score's measures repeated): from
// choosing the file to the first page drawn with its findings coloured, the
// engine's open and scan in the page against the native rzacc scan, and the
// longest task on the page's main thread meanwhile. Needs the built site
// (scripts/web --out build/web/site) and a native rzacc.
//   node bench/web_page.mjs [--megabytes 8] [--source SCORE] [--score SCORE]
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { examples, nativeRzacc, openBrowser, openPage, openScore } from '../tests/web/page_harness.mjs';

function option(name, fallback) {
  const at = process.argv.indexOf(name);
  return at >= 0 ? process.argv[at + 1] : fallback;
}

const megabytes = Number(option('--megabytes', '8'));
const corpus = '/work/shared/corpus/scores/';
const source = option('--source', corpus + 'orch_Bach_BWV1048-3_Allegro.musicxml');
const medium = option('--score', corpus + 'quartet_Mozart_K464-1_Allegro.musicxml');

// The score's measures repeated in every part until the file has about the
// size asked for; measures are numbered on.
function repeatedScore(text, bytesWanted) {
  const rounds = Math.max(1, Math.round(bytesWanted / Buffer.byteLength(text)));
  return text.replace(/(<part\s[^>]*>)([\s\S]*?)(<\/part>)/g, (whole, open, measures, close) => {
    const count = (measures.match(/<measure[\s>]/g) || []).length;
    let body = '';
    for (let round = 0; round < rounds; round++) {
      let number = round * count;
      body += measures.replace(/<measure(\s[^>]*?)number="[^"]*"/g, (tag, attributes) => `<measure${attributes}number="${++number}"`);
    }
    return open + body + close;
  });
}

function nativeScanMilliseconds(file) {
  let best = Infinity;
  for (let run = 0; run < 3; run++) {
    const started = process.hrtime.bigint();
    execFileSync(nativeRzacc(), ['scan', '--format', 'json', file], { maxBuffer: 1 << 28 });
    best = Math.min(best, Number(process.hrtime.bigint() - started) / 1e6);
  }
  return best;
}

async function measure(session, file) {
  const page = await openPage(session);
  await page.evaluate(() => {
    window.rzLongestTask = 0;
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) window.rzLongestTask = Math.max(window.rzLongestTask, entry.duration);
    }).observe({ type: 'longtask' });
  });
  await openScore(page, file);
  const figures = await page.evaluate(() => ({ ...window.rzTimings, longestTask: window.rzLongestTask, findings: document.querySelectorAll('#findings tbody tr').length, message: document.getElementById('message').textContent }));
  await page.close();
  return figures;
}

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'rz-bench-page-'));
const largest = examples().sort((a, b) => fs.statSync(b.file).size - fs.statSync(a.file).size)[0].file;
const generated = path.join(scratch, `generated_${megabytes}mb.musicxml`);
fs.writeFileSync(generated, repeatedScore(fs.readFileSync(source, 'utf8'), megabytes * 1e6));

const session = await openBrowser();
try {
  for (const file of [largest, medium, source, generated]) {
    const figures = await measure(session, file);
    const native = nativeScanMilliseconds(file);
    const megabytesOf = (fs.statSync(file).size / 1e6).toFixed(2);
    if (figures.message) console.log(`${path.basename(file)}: ${figures.message}`);
    console.log(
      `${path.basename(file)} (${megabytesOf} MB, ${figures.findings} findings): ` +
        `first page with findings ${(figures.firstPageWithFindings - figures.chosen).toFixed(0)} ms; ` +
        `engine open ${figures.openMilliseconds.toFixed(0)} ms + scan ${figures.scanMilliseconds.toFixed(0)} ms ` +
        `vs native rzacc scan ${native.toFixed(0)} ms (${((figures.openMilliseconds + figures.scanMilliseconds) / native).toFixed(2)}x); ` +
        `Verovio layout ${figures.layoutMilliseconds.toFixed(0)} ms; longest main-thread task ${figures.longestTask.toFixed(0)} ms`,
    );
  }
} finally {
  await session.close();
  fs.rmSync(scratch, { recursive: true, force: true });
}
