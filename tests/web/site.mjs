// What each browser test file shares: the built site served on localhost and
// one chromium, started before the file's tests and closed after them.
import {after, before} from 'node:test';
import assert from 'node:assert/strict';

import {BUILD, built, launch} from './browser.mjs';
import {serve} from './server.mjs';

// Gives {browser, base} (base: the server's address, ending in "/"), filled
// in before the first test runs.
export function useSite() {
  const site = {browser: null, base: '', server: null};
  before(async () => {
    assert.ok(built(), `build the web version first (make web): nothing in ${BUILD}`);
    ({server: site.server, url: site.base} = await serve(BUILD));
    site.browser = await launch();
  });
  after(async () => {
    await site.browser?.close();
    site.server?.close();
  });
  return site;
}
