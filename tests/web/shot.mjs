// A screenshot of the web version in headless chromium at a phone's size, for
// the README: node shot.mjs OUT.png [WxH]
import {join} from 'node:path';

import {BUILD, built, launch, PHONE} from './browser.mjs';
import {serve} from './server.mjs';

const [out, size = '390x844'] = process.argv.slice(2);
const [width, height] = size.split('x').map(Number);
if (!out || !width || !height || !built()) {
  console.error('usage (after make web): node shot.mjs OUT.png [WxH]');
  process.exit(2);
}
const {server, url} = await serve(join(BUILD, 'site'));
const browser = await launch();
try {
  const context = await browser.newContext({...PHONE, viewport: {width, height}, deviceScaleFactor: 1});
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction(() => Module.firstFrameMs !== undefined);
  await page.waitForTimeout(300);
  await page.screenshot({path: out});
  console.log(`${out}: ${width}x${height}`);
} finally {
  await browser.close();
  server.close();
}
