// A screenshot of the web version in headless chromium at a phone's size, for
// the README: node shot.mjs OUT.png [WxH[@RATIO]] [QUERY], such as
// node shot.mjs list.png 390x844@3 'screen=puzzles&puzzle=1/2'. The shot has
// the page's device pixels.
import {join} from 'node:path';

import {BUILD, built, launch, PHONE} from './browser.mjs';
import {serve} from './server.mjs';

const [out, size = '390x844', query = ''] = process.argv.slice(2);
const [, width, height, ratio = 1] = (size.match(/^(\d+)x(\d+)(?:@([\d.]+))?$/) || []).map(Number);
if (!out || !width || !height || !built()) {
  console.error('usage (after make web): node shot.mjs OUT.png [WxH[@RATIO]] [QUERY]');
  process.exit(2);
}
const {server, url} = await serve(join(BUILD, 'site'));
const browser = await launch();
try {
  const context = await browser.newContext({...PHONE, viewport: {width, height}, deviceScaleFactor: ratio});
  const page = await context.newPage();
  await page.goto(url + (query ? '?' + query : ''));
  await page.waitForFunction(() => Module.firstFrameMs !== undefined);
  await page.waitForTimeout(300);
  await page.screenshot({path: out});
  console.log(`${out}: ${width}x${height} at ${ratio}`);
} finally {
  await browser.close();
  server.close();
}
