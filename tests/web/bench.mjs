// Benchmark of the web version (prints numbers; `make bench-web`):
//   transfer size of the page's files, raw and compressed (gzip, brotli);
//   time from navigation to the first drawn frame in headless chromium, on a
//   first visit (empty cache) and on a return visit (service worker's cache);
//   the page's processor time while the game sits idle for 10 s.
import {readFileSync} from 'node:fs';
import {join} from 'node:path';
import {brotliCompressSync, gzipSync, constants} from 'node:zlib';

import {BUILD, built, launch, PHONE} from './browser.mjs';
import {serve} from './server.mjs';

const RUNS = Number(process.env.RUNS || 5);
const IDLE_MS = 10000;

if (!built()) {
  console.error(`build the web version first (make web): nothing in ${BUILD}`);
  process.exit(1);
}

const kb = (n) => (n / 1024).toFixed(1).padStart(8);
console.log('transfer size (KiB)       raw     gzip   brotli');
const total = [0, 0, 0];
for (const name of ['index.html', 'index.js', 'index.wasm', 'index.data']) {
  const bytes = readFileSync(join(BUILD, 'site', name));
  const sizes = [bytes.length, gzipSync(bytes, {level: 9}).length,
                 brotliCompressSync(bytes, {params: {[constants.BROTLI_PARAM_QUALITY]: 11}}).length];
  sizes.forEach((s, i) => (total[i] += s));
  console.log(`  ${name.padEnd(18)}${sizes.map(kb).join(' ')}`);
}
console.log(`  ${'total'.padEnd(18)}${total.map(kb).join(' ')}`);

const median = (xs) => [...xs].sort((a, b) => a - b)[xs.length >> 1];
const {server, url} = await serve(join(BUILD, 'site'));
const browser = await launch();
try {
  const first = [], again = [];
  for (let i = 0; i < RUNS; ++i) {
    const context = await browser.newContext(PHONE);
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction(() => Module.firstFrameMs !== undefined);
    first.push(await page.evaluate(() => Module.firstFrameMs));
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.reload();
    await page.waitForFunction(() => typeof Module != 'undefined' && Module.firstFrameMs !== undefined);
    again.push(await page.evaluate(() => Module.firstFrameMs));
    await context.close();
  }
  console.log(`navigation to first frame (ms, median of ${RUNS}): first visit ` +
              `${median(first).toFixed(0)} (${first.map((x) => x.toFixed(0)).join(' ')}), ` +
              `return visit ${median(again).toFixed(0)} (${again.map((x) => x.toFixed(0)).join(' ')})`);

  const context = await browser.newContext(PHONE);
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction(() => Module.firstFrameMs !== undefined);
  await page.waitForTimeout(1000);  // the service worker settles
  const cdp = await context.newCDPSession(page);
  await cdp.send('Performance.enable');
  const metrics = async () => Object.fromEntries(
      (await cdp.send('Performance.getMetrics')).metrics.map((m) => [m.name, m.value]));
  const before = await metrics();
  await page.waitForTimeout(IDLE_MS);
  const after = await metrics();
  const ms = (name) => ((after[name] - before[name]) * 1000);
  console.log(`idle ${IDLE_MS / 1000} s: page tasks ${ms('TaskDuration').toFixed(1)} ms ` +
              `(${(ms('TaskDuration') / IDLE_MS * 100).toFixed(2)} % of a core), script ` +
              `${ms('ScriptDuration').toFixed(1)} ms, layouts ${after.LayoutCount - before.LayoutCount}, ` +
              `style recalcs ${after.RecalcStyleCount - before.RecalcStyleCount}`);
  await context.close();
} finally {
  await browser.close();
  server.close();
}
