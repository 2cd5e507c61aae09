// What the browser tests share: the built site served on the loopback
// address, Debian's Chromium driven headless with no network, the page's
// controls, downloads, and the native rzacc the page is compared with.
import { createRequire } from 'node:module';
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { startServer } from '../../web/tools/serve.mjs';

const require = createRequire(new URL('../../web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const examplesDir = path.join(root, 'examples');
export const outputDir = path.join(root, 'build/web/test-output');
const siteDir = path.join(root, 'build/web/site');

export function nativeRzacc() {
  for (const build of ['native', 'release']) {
    const candidate = path.join(root, 'build', build, 'cli/rzacc');
    if (fs.existsSync(candidate)) return candidate;
  }
  throw new Error('no native rzacc: build the native or release preset first');
}

// rzacc's standard output as bytes; a run that fails throws with its error text.
export function rzacc(...args) {
  return execFileSync(nativeRzacc(), args, { cwd: examplesDir, maxBuffer: 1 << 28 });
}

export function rzaccRun(...args) {
  return spawnSync(nativeRzacc(), args, { cwd: examplesDir, encoding: 'utf8' });
}

// Every example score with the extra arguments of its .args file.
export function examples() {
  return fs
    .readdirSync(examplesDir)
    .filter((name) => name.endsWith('.musicxml'))
    .sort()
    .map((name) => {
      const argsFile = path.join(examplesDir, name.replace(/\.musicxml$/, '.args'));
      const args = fs.existsSync(argsFile) ? fs.readFileSync(argsFile, 'utf8').split('\n').filter(Boolean) : [];
      return { name, file: path.join(examplesDir, name), args, ...settingsOf(args) };
    });
}

function settingsOf(args) {
  const value = (option) => {
    const at = args.indexOf(option);
    return at >= 0 ? args[at + 1] : null;
  };
  const profiles = value('--profiles');
  return {
    profilesFile: profiles ? path.join(examplesDir, profiles) : null,
    profileName: value('--profile'),
    layers: value('--layers') || '1234',
  };
}

// The site, served once for every test of a file, and a browser with a fresh profile.
export async function openBrowser() {
  if (!fs.existsSync(path.join(siteDir, 'index.html'))) {
    throw new Error('no site in build/web/site: run scripts/web --out build/web/site first');
  }
  fs.mkdirSync(outputDir, { recursive: true });
  const server = await startServer(siteDir, 0);
  const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'rz-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: [
      '--headless',
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      `--user-data-dir=${userDataDir}`,
    ],
  });
  const url = `http://127.0.0.1:${server.address().port}/`;
  const downloads = new Downloads(await browser.target().createCDPSession());
  await downloads.start();
  return {
    browser,
    url,
    downloads,
    async close() {
      await browser.close();
      server.close();
      fs.rmSync(userDataDir, { recursive: true, force: true });
      fs.rmSync(downloads.folder, { recursive: true, force: true });
    },
  };
}

// A new tab on the page, ready to use; page.downloads takes what it downloads.
export async function openPage(session) {
  const page = await session.browser.newPage();
  await page.setViewport({ width: 1400, height: 900 });
  page.downloads = session.downloads;
  await page.goto(session.url);
  await page.waitForSelector('body[data-ready="true"]', { timeout: 60000 });
  return page;
}

// Downloads named by the browser with their id (allowAndName), so that two
// downloads of one name both stay; each is awaited until it completes.
class Downloads {
  constructor(cdp) {
    this.cdp = cdp;
    this.folder = fs.mkdtempSync(path.join(os.tmpdir(), 'rz-downloads-'));
    this.begun = new Map();
    this.waiters = [];
  }

  async start() {
    await this.cdp.send('Browser.setDownloadBehavior', {
      behavior: 'allowAndName',
      downloadPath: this.folder,
      eventsEnabled: true,
    });
    this.cdp.on('Browser.downloadWillBegin', (event) => this.begun.set(event.guid, event.suggestedFilename));
    this.cdp.on('Browser.downloadProgress', (event) => {
      if (event.state !== 'completed') return;
      const done = { name: this.begun.get(event.guid), bytes: fs.readFileSync(path.join(this.folder, event.guid)) };
      this.waiters.shift()?.(done);
    });
  }

  // Clicks a control and answers the download it starts: {name, bytes}.
  async take(page, selector) {
    const done = new Promise((resolve) => this.waiters.push(resolve));
    await page.click(selector);
    return done;
  }
}

export async function uploadTo(page, inputSelector, file) {
  const input = await page.$(inputSelector);
  await input.uploadFile(file);
}

// Runs what starts one of the page's actions and waits until it has finished.
export async function act(page, start) {
  const before = await page.evaluate(() => Number(document.body.dataset.actions || 0));
  await start();
  await page.waitForFunction((count) => Number(document.body.dataset.actions || 0) > count, { timeout: 60000, polling: 50 }, before);
}

// Opens a score by the page's file input and waits until its scan is listed
// or its message shown.
export function openScore(page, file) {
  return act(page, () => uploadTo(page, '#score-file', file));
}

export function click(page, selector) {
  return act(page, () => page.click(selector));
}

export async function chooseSettings(page, example) {
  if (example.profilesFile) {
    await act(page, () => uploadTo(page, '#profiles-file', example.profilesFile));
    await page.waitForFunction((name) => [...document.querySelectorAll('#profile option')].some((o) => o.textContent === name), {}, example.profileName);
  }
  if (example.profileName) {
    await page.evaluate((name) => {
      const select = document.getElementById('profile');
      select.value = [...select.options].find((option) => option.textContent === name).value;
      select.dispatchEvent(new Event('change'));
    }, example.profileName);
  }
  await page.evaluate((layers) => {
    for (const box of document.querySelectorAll('input[name=layer]')) box.checked = layers.includes(box.value);
  }, example.layers);
}

// The rows as the page lists them: the five columns and the check box.
export function listedRows(page) {
  return page.$$eval('#findings tbody tr', (rows) =>
    rows.map((row) => {
      const cells = [...row.cells].map((cell) => cell.textContent);
      return {
        finding: row.dataset.finding,
        checked: row.querySelector('input').checked,
        columns: cells.slice(1),
      };
    }),
  );
}
