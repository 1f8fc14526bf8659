// Benchmark of the web version (prints numbers; `make bench-web`):
//   node bench.mjs [SITE [SITE]]   (default: build/web/site)
// Given two site folders (a baseline and a new build), it measures them in
// turns in the same browser, so both see the same machine load. Per site:
//   transfer size of the page's files, raw and compressed (gzip, brotli);
//   navigation to the first drawn frame on a first visit (empty cache) and on
//   a return visit (the service worker's cache), the bytes (brotli) of the
//   files asked for before that frame, and all bytes the server sent during
//   the first visit (the service worker's own downloads included);
//   renders per frame the browser shows, at start and for each tap;
//   memory the game adds to the browser (proportional set size of all its
//   processes), after the first frame, after idling and after 50 puzzles
//   opened and closed;
//   the page's processor time while the game sits idle.
import {readdirSync, readFileSync, statSync} from 'node:fs';
import {basename, join, resolve} from 'node:path';
import {brotliCompressSync, gzipSync, constants} from 'node:zlib';

import {BUILD, launch, PHONE} from './browser.mjs';
import {board, centre, gridSizes, loadPuzzle, mainMenu, puzzleList, sizeList} from './layout.mjs';
import {serve} from './server.mjs';

const RUNS = Number(process.env.RUNS || 5);
const IDLE_MS = 10000;
const OPENS = 50;
const [W, H] = [PHONE.viewport.width * PHONE.deviceScaleFactor,
                PHONE.viewport.height * PHONE.deviceScaleFactor];

const folders = process.argv.slice(2).map((f) => resolve(f));
if (!folders.length) folders.push(join(BUILD, 'site'));
for (const f of folders) {
  try {
    statSync(join(f, 'index.wasm'));
  } catch {
    console.error(`no web build in ${f} (make web builds one)`);
    process.exit(1);
  }
}
const label = (i) => folders.length > 1 ? `[${i ? 'new' : 'base'} ${basename(resolve(folders[i], '..'))}]` : '';

const kb = (n) => (n / 1024).toFixed(1).padStart(8);
const median = (xs) => [...xs].sort((a, b) => a - b)[xs.length >> 1];
const brotli = (bytes) =>
  brotliCompressSync(bytes, {params: {[constants.BROTLI_PARAM_QUALITY]: 11}}).length;

// Compressed sizes of a site's files, by name.
function sizes(folder) {
  const out = {};
  for (const name of readdirSync(folder).sort()) {
    const bytes = readFileSync(join(folder, name));
    out[name] = [bytes.length, gzipSync(bytes, {level: 9}).length, brotli(bytes)];
  }
  return out;
}

// Proportional set size (bytes) of every process this one started (the
// browser and all its children), from Linux's /proc.
function browserMemory() {
  const parent = new Map();
  for (const pid of readdirSync('/proc').filter((p) => /^\d+$/.test(p))) {
    try {
      const stat = readFileSync(`/proc/${pid}/stat`, 'utf8');
      parent.set(Number(pid), Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]));
    } catch { /* gone */ }
  }
  const ours = (pid) => {
    for (let p = parent.get(pid); p; p = parent.get(p)) if (p === process.pid) return true;
    return false;
  };
  let total = 0;
  for (const pid of parent.keys()) {
    if (!ours(pid)) continue;
    try {
      const m = readFileSync(`/proc/${pid}/smaps_rollup`, 'utf8').match(/^Pss:\s+(\d+) kB/m);
      if (m) total += Number(m[1]) * 1024;
    } catch { /* gone */ }
  }
  return total;
}

// Counts the game's renders (the ?trace frame lines) and the frames the
// browser shows with one of them new: a frame that shows two renders drew
// one in vain.
function countRenders() {
  window.bench = {renders: 0, shown: 0};
  const log = console.log;
  console.log = function(...args) {
    if (typeof args[0] == 'string' && args[0].startsWith('host frame ')) ++bench.renders;
    return log.apply(this, args);
  };
  let seen = 0;
  const tick = () => {
    if (bench.stop) return;
    if (bench.renders !== seen) { ++bench.shown; seen = bench.renders; }
    requestAnimationFrame(tick);
  };
  requestAnimationFrame(tick);
}

async function settle(page, ms = 400) {
  await page.waitForTimeout(ms);
  return page.evaluate(() => ({...bench}));
}

const sites = [];
for (const folder of folders) {
  const {server, url} = await serve(folder);
  sites.push({folder, server, url, sizes: sizes(folder), first: [], again: [], before: [],
              moved: [], start: [], taps: {}, memory: [], idle: null});
}

const browser = await launch();
try {
  // A visit for each site in turn, RUNS times.
  for (let run = 0; run < RUNS; ++run) {
    for (const site of sites) {
      const context = await browser.newContext(PHONE);
      const page = await context.newPage();
      const sent = site.server.bytesSent;
      await page.goto(site.url);
      await page.waitForFunction(() => Module.firstFrameMs !== undefined);
      const {at, names} = await page.evaluate(() => ({
        at: Module.firstFrameMs,
        names: performance.getEntriesByType('resource').filter((e) => e.startTime < Module.firstFrameMs)
            .map((e) => new URL(e.name).pathname.slice(1)),
      }));
      site.first.push(at);
      site.before.push(['index.html', ...new Set(names)]
          .reduce((sum, n) => sum + (site.sizes[n] ? site.sizes[n][2] : 0), 0));
      await page.evaluate(() => navigator.serviceWorker.ready);
      await page.waitForTimeout(1500);  // background downloads and the worker's install
      site.moved.push(site.server.bytesSent - sent);
      await page.reload();
      await page.waitForFunction(() => typeof Module != 'undefined' && Module.firstFrameMs !== undefined);
      site.again.push(await page.evaluate(() => Module.firstFrameMs));
      await context.close();
    }
  }

  // Renders per frame shown and memory, each site in turn.
  const puzzles = gridSizes(0)[0].count;
  for (const site of sites) {
    const context = await browser.newContext(PHONE);
    await context.addInitScript(countRenders);
    const page = await context.newPage();
    await page.goto('about:blank');
    await page.waitForTimeout(500);
    const blank = browserMemory();
    await page.goto(site.url + '?trace');
    await page.waitForFunction(() => Module.firstFrameMs !== undefined);
    site.start = await settle(page, 1500);
    const cdp = await context.newCDPSession(page);
    const memory = async () => {
      await cdp.send('HeapProfiler.collectGarbage');
      await page.waitForTimeout(300);
      return browserMemory() - blank;
    };
    const started = await memory();

    // One tap and what it drew.
    const tap = async (name, [x, y]) => {
      const before = await settle(page, 0);
      await page.touchscreen.tap(x / PHONE.deviceScaleFactor, y / PHONE.deviceScaleFactor);
      const after = await settle(page);
      (site.taps[name] ||= []).push([after.renders - before.renders, after.shown - before.shown]);
    };
    await tap('menu tile', centre(mainMenu(W, H).tiles[0]));
    await tap('grid size', centre(sizeList(W, H, gridSizes(0).length)[0]));
    const cells = puzzleList(W, H, puzzles);
    const puzzle = loadPuzzle(0, 0, 0), layout = board(W, H, puzzle);
    await tap('puzzle', centre(cells[0]));
    await tap('cell', [layout.grid.x + (layout.cell >> 1), layout.grid.y + (layout.cell >> 1)]);
    await tap('board back', centre(layout.buttons.back));

    await page.waitForTimeout(IDLE_MS);
    const idled = await memory();
    for (let i = 0; i < OPENS; ++i) {
      const n = i % Math.min(puzzles, 8);
      await tap('puzzle', centre(cells[n]));
      await tap('board back', centre(board(W, H, loadPuzzle(0, 0, n)).buttons.back));
    }
    const opened = await memory();
    site.memory = [started, idled, opened];

    // Processor time while idle.
    await cdp.send('Performance.enable');
    const metrics = async () => Object.fromEntries(
        (await cdp.send('Performance.getMetrics')).metrics.map((m) => [m.name, m.value]));
    await page.evaluate(() => { bench.stop = true; });
    await page.waitForTimeout(1000);
    const a = await metrics();
    await page.waitForTimeout(IDLE_MS);
    const b = await metrics();
    site.idle = {task: (b.TaskDuration - a.TaskDuration) * 1000,
                 script: (b.ScriptDuration - a.ScriptDuration) * 1000};
    await context.close();
  }
} finally {
  await browser.close();
  for (const s of sites) s.server.close();
}

const mib = (n) => (n / 1048576).toFixed(1);
const list = (xs) => xs.map((x) => x.toFixed(0)).join(' ');
sites.forEach((site, i) => {
  console.log(`${site.folder} ${label(i)}`);
  console.log('  transfer size (KiB)             raw     gzip   brotli');
  const total = [0, 0, 0];
  for (const [name, s] of Object.entries(site.sizes)) {
    s.forEach((x, k) => (total[k] += x));
    console.log(`    ${name.padEnd(24)}${s.map(kb).join(' ')}`);
  }
  console.log(`    ${'total'.padEnd(24)}${total.map(kb).join(' ')}`);
  console.log(`  navigation to first frame (ms, median of ${RUNS}): first visit ` +
              `${median(site.first).toFixed(0)} (${list(site.first)}), return visit ` +
              `${median(site.again).toFixed(0)} (${list(site.again)})`);
  console.log(`  before the first frame: ${(median(site.before) / 1024).toFixed(1)} KiB brotli; ` +
              `first visit moved ${(median(site.moved) / 1024).toFixed(0)} KiB raw in all`);
  const s = site.start;
  console.log(`  renders / frames shown: start ${s.renders}/${s.shown}; ` +
              Object.entries(site.taps).map(([name, xs]) => {
                const r = xs.reduce((a, x) => a + x[0], 0), f = xs.reduce((a, x) => a + x[1], 0);
                return `${name} ${(r / xs.length).toFixed(1)}/${(f / xs.length).toFixed(1)}`;
              }).join(', '));
  const [started, idled, opened] = site.memory;
  console.log(`  memory added (MiB): after the first frame ${mib(started)}, after ${IDLE_MS / 1000} s idle ` +
              `${mib(idled)}, after ${OPENS} puzzles opened and closed ${mib(opened)}`);
  console.log(`  idle ${IDLE_MS / 1000} s: page tasks ${site.idle.task.toFixed(1)} ms, script ` +
              `${site.idle.script.toFixed(1)} ms`);
});
