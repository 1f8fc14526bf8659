// The web version in Debian's chromium, driven like a phone: touch, a small
// viewport at device pixel ratio 2, rotation, keys, the browser's Back,
// storage across reloads, the in-page dialog and offline play. The game is
// checked through its pixels; the host's own event handling through the
// lines it prints with ?trace and through the probe module (build/web/probe),
// which prints what the module sees of each service.
import {describe, test} from 'node:test';
import assert from 'node:assert/strict';

import {boxOf, canvasPixels, canvasPrint, clearLines, openPage, PHONE, touch, waitForLine} from './browser.mjs';
import {useSite} from './site.mjs';
import {board, centre, gridSizes, loadPuzzle, mainMenu, puzzleList, sizeList} from './layout.mjs';

const LIGHT = [236, 240, 241, 255];  // the light theme's background
const DARK = [60, 74, 89, 255];      // the dark theme's background

const site = useSite();

const PANEL = [11, 165, 95, 255];   // the main menu's panel
const FRAME = [237, 177, 105, 255];  // and its frame

// The main menu at the canvas's size, by its layout: the theme's background
// where nothing covers it (the top-left margin, and between the panel and the
// promotion row, where no rate sign stands before five points), the panel's
// frame and its green beside the first tile.
async function expectMainMenu(page, background) {
  const {width: W, height: H} = await canvasPixels(page, []);
  const {panel, frame, tiles} = mainMenu(W, H);
  const bottom = panel.y + panel.h;
  const expected = [
    [[panel.x >> 1, panel.y >> 1], background],
    [[W >> 1, (bottom + H - 105) >> 1], background],
    [[panel.x + (frame >> 1), panel.y + (panel.h >> 1)], FRAME],
    [[W - panel.x - (frame >> 1), bottom - 1 - (frame >> 1)], FRAME],
    [[panel.x + frame + 4, tiles[0].y + 4], PANEL],
    [[tiles[0].x - 4, tiles[0].y + tiles[0].h - 4], PANEL],
  ];
  const {pixels} = await canvasPixels(page, expected.map(([p]) => p));
  pixels.forEach((p, i) => assert.deepEqual(p, expected[i][1], `at ${expected[i][0]} on ${W}x${H}`));
}

describe('the game', () => {
  test('draws its first frame over the whole phone screen and redraws when rotated', async () => {
    const context = await site.browser.newContext(PHONE);
    const page = await openPage(context);
    await page.goto(site.base + 'site/index.html?trace');
    await waitForLine(page, /^host frame 1 780x1688/);
    await expectMainMenu(page, LIGHT);
    // Every image decoded (stb_image here) and every shader built on WebGL.
    assert.deepEqual(page.lines.filter((l) => /^warning|^pageerror|^WebGL: INVALID/.test(l)), []);
    // The page itself neither scrolls nor zooms under a finger.
    const cdp = await context.newCDPSession(page);
    // (Between the panel and the promotion row, where a tap does nothing.)
    await touch(cdp, 'touchStart', [[170, 730], [220, 750]]);
    await touch(cdp, 'touchMove', [[150, 715], [240, 780]]);
    await touch(cdp, 'touchEnd', []);
    assert.deepEqual(await page.evaluate(() => [scrollX, scrollY, visualViewport.scale]), [0, 0, 1]);

    // Rotation: a new surface size, drawn at once, no old pixels left.
    clearLines(page);
    await page.setViewportSize({width: 844, height: 390});
    await waitForLine(page, /^host surface 1688x780/);
    await waitForLine(page, /^host frame \d+ 1688x780/);
    await expectMainMenu(page, LIGHT);
    // Where the portrait panel was green beside its second tile, the
    // landscape menu has nothing: the old frame is gone, not stretched.
    const before = mainMenu(780, 1688), tile = before.tiles[1], landscape = mainMenu(1688, 780).panel;
    const stale = [tile.x + tile.w + 10, (landscape.y + landscape.h + 780 - 105) >> 1];
    assert.ok(stale[0] < before.panel.x + before.panel.w - before.frame &&
              stale[1] > tile.y + tile.h && stale[1] < before.panel.y + before.panel.h);
    assert.deepEqual((await canvasPixels(page, [stale])).pixels[0], LIGHT);
    await context.close();
  });

  test('passes touches, keys and the browser Back to the services', async () => {
    const context = await site.browser.newContext(PHONE);
    const page = await openPage(context);
    await page.goto(site.base + 'site/index.html?trace');
    await waitForLine(page, /^host frame 1 /);
    // One finger, then two: slots 0 and 1 in surface pixels (CSS x 2). All
    // between the main menu's panel and its promotion row, where taps do nothing.
    await page.touchscreen.tap(195, 740);
    await waitForLine(page, /^host touch 0 down 390 1480/);
    await waitForLine(page, /^host touch 0 up 390 1480/);
    const cdp = await context.newCDPSession(page);
    await touch(cdp, 'touchStart', [[170, 730], [220, 750]]);
    await waitForLine(page, /^host touch 1 down 440 1500/);
    await touch(cdp, 'touchEnd', []);
    await waitForLine(page, /^host touch 1 up/);
    // A mouse press and drag; hovering alone is nothing.
    await page.mouse.move(20, 20);
    await page.mouse.down();
    await page.mouse.move(30, 40);
    await page.mouse.up();
    await waitForLine(page, /^host mouse down 40 40/);
    await waitForLine(page, /^host mouse move 60 80/);
    await waitForLine(page, /^host mouse up 60 80/);
    assert.equal(page.lines.filter((l) => l.startsWith('host mouse')).length, 3);

    // Each back key on the main menu asks "Quit?": answered "No" before the next.
    const no = async () => {
      await page.locator('#dialog.open button', {hasText: 'No'}).click();
      await waitForLine(page, /^host answer 1$/);
    };
    await page.keyboard.press('Escape');
    await waitForLine(page, /^host key 1 down/);
    await no();
    clearLines(page);
    await page.keyboard.press('Backspace');
    await waitForLine(page, /^host key 3 down/);
    await no();
    // Back twice: each becomes the device Back key, and the page stays.
    for (let i = 0; i < 2; ++i) {
      clearLines(page);
      await page.goBack({waitUntil: 'commit'}).catch(() => {});
      await waitForLine(page, /^host key 126 back/);
      await no();
    }
    assert.match(page.url(), /site\/index\.html\?trace$/);
    await page.waitForTimeout(200);
    assert.ok(page.lines.every((l) => !l.startsWith('pageerror')), page.lines.join('\n'));
    await context.close();
  });

  test('starts with the theme saved in the browser storage, after a reload, and nothing else', async () => {
    const context = await site.browser.newContext(PHONE);
    const page = await openPage(context);
    await page.goto(site.base + 'site/index.html?trace');
    await waitForLine(page, /^host frame 1 /);
    await expectMainMenu(page, LIGHT);
    // The settings file as the game writes it, put into IndexedDB, and beside
    // it a key outside the player's folder that would replace the game's font.
    await page.evaluate(() => new Promise((done, fail) => {
      Module.FS_writeFile('/Documents/conf/conf.cfg', 'color_schema=1\nrate_redirected=0\n');
      Module.FS_syncfs(false, (e) => {
        if (e) return fail(e);
        const open = indexedDB.open('/Documents');
        open.onerror = fail;
        open.onsuccess = () => {
          const put = open.result.transaction('FILE_DATA', 'readwrite').objectStore('FILE_DATA')
            .put({timestamp: new Date(), mode: 0o100644, contents: new Uint8Array([1, 2, 3])},
                 '/data/images/calibri_new.fnt');
          put.onsuccess = () => { open.result.close(); done(); };
          put.onerror = fail;
        };
      });
    }));
    clearLines(page);
    await page.reload();
    await waitForLine(page, /^host frame 1 /);
    await expectMainMenu(page, DARK);
    assert.ok(await page.evaluate(() => Module.FS_readFile('/data/images/calibri_new.fnt').length > 3));
    await context.close();
  });

  test('plays offline after the first visit', async () => {
    const context = await site.browser.newContext(PHONE);
    const page = await openPage(context);
    await page.goto(site.base + 'site/index.html');
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null || true);
    await context.setOffline(true);
    await page.reload();
    await page.waitForFunction(() => typeof Module != 'undefined' && Module.calledRun);
    await page.waitForTimeout(300);
    await expectMainMenu(page, LIGHT);
    const manifest = await page.evaluate(async () => (await fetch('manifest.webmanifest')).json());
    assert.equal(manifest.icons.length, 2);
    await context.close();
  });
});

describe('the host around the probe module', () => {
  test('keeps a save across reloads, answers the dialog between passes, reports the device', async () => {
    const context = await site.browser.newContext({
      ...PHONE,
      locale: 'ru-RU',
      userAgent: 'Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) ' +
                 'Chrome/126.0 Mobile Safari/537.36',
    });
    const page = await openPage(context);
    await page.goto(site.base + 'probe/index.html?trace');
    await waitForLine(page, /probe starts 1 saved 1/);
    await waitForLine(page, /probe device os=18 language=16/);
    await waitForLine(page, /probe extensions dialog=1 osexec=1 admob=0/);
    // A script address is not opened (1: error).
    await waitForLine(page, /probe script link 1/);

    // The box, its Windows-1251 texts readable; the game gets no keys meanwhile.
    const dialog = page.locator('#dialog.open');
    await dialog.waitFor();
    assert.equal(await dialog.locator('#dialog-message').textContent(), 'Выйти?');
    assert.deepEqual(await dialog.locator('button').allTextContents(), ['Да', 'Нет']);
    await page.keyboard.press('Backspace');
    await dialog.locator('button', {hasText: 'Нет'}).click();
    await waitForLine(page, /probe answer 7 1/);
    assert.ok(!page.lines.some((l) => /probe key 3/.test(l)), 'a key went past the dialog');

    // Keys and Back as the module sees them: pressed, then released.
    await page.keyboard.down('Escape');
    await waitForLine(page, /probe key 1 state 3/);
    await page.keyboard.up('Escape');
    await waitForLine(page, /probe key 1 state 4/);
    await page.goBack({waitUntil: 'commit'}).catch(() => {});
    await waitForLine(page, /probe key 126 state 6/);

    // A finger down shows at once; the surface follows it.
    const cdp = await context.newCDPSession(page);
    await touch(cdp, 'touchStart', [[50, 60]]);
    await waitForLine(page, /probe pointer state 3 at 100 120/);
    assert.deepEqual((await canvasPixels(page, [[5, 5]])).pixels[0], [0, 255, 0, 255]);
    await touch(cdp, 'touchEnd', []);
    await waitForLine(page, /probe pointer state 4 at 100 120/);
    assert.deepEqual((await canvasPixels(page, [[5, 5]])).pixels[0], [0, 0, 255, 255]);

    // A link opens in a new tab (0: success); the machine has no network.
    await context.route('https://example.org/**', (r) => r.fulfill({body: 'elsewhere'}));
    const popup = context.waitForEvent('page');
    await page.keyboard.press('Backspace');
    await waitForLine(page, /probe web link 0/);
    const tab = await popup;
    await tab.waitForLoadState();
    assert.equal(tab.url(), 'https://example.org/');
    await tab.close();

    // The save is in IndexedDB by the time it is synced: a reload right after keeps it.
    await waitForLine(page, /host storage synced$/);
    clearLines(page);
    await page.reload();
    await waitForLine(page, /probe starts 2 saved 1/);

    // Back dismisses the box (-1) and is not the game's; the next start asks again.
    await page.locator('#dialog.open').waitFor();
    await page.goBack({waitUntil: 'commit'}).catch(() => {});
    await waitForLine(page, /probe answer 7 -1/);
    assert.ok(!page.lines.some((l) => /probe key 126/.test(l)), 'Back went past the dialog');
    clearLines(page);
    await page.reload();
    await waitForLine(page, /probe starts 3 saved 1/);

    // The first button ends the module; with nowhere to go back to, a plain
    // page in the last frame's background colour offers to play again.
    await page.locator('#dialog.open button', {hasText: 'Да'}).click();
    await waitForLine(page, /probe answer 7 0/);
    await page.locator('#ended button', {hasText: 'Play again'}).waitFor();
    assert.deepEqual(await page.evaluate(() => [getComputedStyle(canvas).display,
                                                getComputedStyle(document.getElementById('ended')).backgroundColor]),
                     ['none', 'rgb(0, 0, 255)']);
    await context.close();
  });
});

describe('the device the host reports', () => {
  test('is Android, iOS or iPadOS, or the desktop, and Russian by the first language', async () => {
    const AGENTS = [
      ['Mozilla/5.0 (iPhone; CPU iPhone OS 17_5 like Mac OS X) AppleWebKit/605.1.15 Mobile/15E148', 5, 14],
      // iPadOS asks for desktop pages: a Mac with a touch screen.
      ['Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 Version/17.5 Safari/605.1.15', 5, 14],
      ['Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 Version/17.5 Safari/605.1.15', 0, 3],
      ['Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 Chrome/126.0 Safari/537.36', 0, 3],
    ];
    for (const [userAgent, touchPoints, os] of AGENTS) {
      for (const [locale, language] of [['en-GB', 2], ['ru', 16]]) {
        const context = await site.browser.newContext({viewport: {width: 400, height: 600}, userAgent, locale});
        const page = await openPage(context);
        const cdp = await context.newCDPSession(page);
        await cdp.send('Emulation.setTouchEmulationEnabled',
                       {enabled: touchPoints > 0, maxTouchPoints: Math.max(touchPoints, 1)});
        await page.goto(site.base + 'probe/index.html?trace');
        await waitForLine(page, new RegExp(`probe device os=${os} language=${language}$`));
        await context.close();
      }
    }
  });

  test('hands the start screen in the address to the game, and refuses unknown ones', async () => {
    const context = await site.browser.newContext(PHONE);
    const page = await openPage(context);
    await page.goto(site.base + 'probe/index.html?trace&screen=board&puzzle=0/3/7');
    await waitForLine(page, /probe start board 0\/3\/7$/);
    for (const query of ['screen=nowhere', 'screen=board&puzzle=0/x']) {
      clearLines(page);
      await page.goto(site.base + `probe/index.html?trace&${query}`);
      await waitForLine(page, /warning nonogram: the screen or puzzle in the address is not known/);
      await waitForLine(page, /probe device/);
      assert.ok(!page.lines.some((l) => l.includes('probe start ')), query);
    }
    await context.close();
  });
});

// Playing. Places come from the game's layout rules at the phone's surface
// (tests/web/layout.mjs); the page is given CSS pixels, half the surface's.
// Boards mostly open straight from the address (?screen=board&puzzle=C/G/I);
// one test walks there from the main menu by taps.
const [W, H] = [PHONE.viewport.width * 2, PHONE.viewport.height * 2];
const BAND = [200, 200, 200, 255];    // the clue bands
const FILLED = [30, 30, 30, 255];     // a filled cell

async function phonePage(query = '') {
  const context = await site.browser.newContext(PHONE);
  const page = await openPage(context);
  await page.goto(site.base + 'site/index.html?trace' + query);
  await waitForLine(page, /^host frame 1 /);
  return {context, page};
}

// Does something and waits for the frame it draws.
async function andDraw(page, action) {
  clearLines(page);
  await action();
  await waitForLine(page, /^host frame /);
}

const tap = (page, [x, y]) => andDraw(page, () => page.touchscreen.tap(x / 2, y / 2));

// One finger through the surface points, a drawn frame after each step.
async function drag(page, cdp, points) {
  const css = points.map(([x, y]) => [x / 2, y / 2]);
  await touch(cdp, 'touchStart', [css[0]]);
  for (const p of css.slice(1)) await andDraw(page, () => touch(cdp, 'touchMove', [p]));
  await touch(cdp, 'touchEnd', []);
}

// A cell's centre on the board as first shown.
const cellAt = (b, row, col) => [b.grid.x + col * b.cell + (b.cell >> 1), b.grid.y + row * b.cell + (b.cell >> 1)];

async function pixelsAt(page, points) {
  return (await canvasPixels(page, points)).pixels;
}

// The solution of a puzzle from its clues (rows then columns), by line
// solving: every line's possible fillings, narrowed until nothing changes.
function solve(rows, cols) {
  const R = rows.length, C = cols.length;
  const grid = Array.from({length: R}, () => Array(C).fill(-1));
  const fillings = (clue, n) => {
    const runs = clue.filter((v) => v > 0), out = [];
    const place = (i, start, line) => {
      if (i === runs.length) { out.push(line.concat(Array(n - line.length).fill(0))); return; }
      const rest = runs.slice(i + 1).reduce((a, b) => a + b + 1, 0);
      for (let s = start; s + runs[i] + rest <= n; ++s) {
        const next = line.concat(Array(s - line.length).fill(0), Array(runs[i]).fill(1));
        if (i + 1 < runs.length) next.push(0);
        place(i + 1, next.length, next);
      }
    };
    place(0, 0, []);
    return out;
  };
  const rowOptions = rows.map((c) => fillings(c, C));
  const colOptions = cols.map((c) => fillings(c, R));
  for (let changed = true; changed;) {
    changed = false;
    const narrow = (options, get, set) => options.forEach((opts, i) => {
      const fit = opts.filter((f) => f.every((v, j) => get(i, j) < 0 || get(i, j) === v));
      options[i] = fit;
      for (let j = 0; j < (fit[0] || []).length; ++j) {
        if (get(i, j) < 0 && fit.every((f) => f[j] === fit[0][j])) { set(i, j, fit[0][j]); changed = true; }
      }
    });
    narrow(rowOptions, (i, j) => grid[i][j], (i, j, v) => (grid[i][j] = v));
    narrow(colOptions, (i, j) => grid[j][i], (i, j, v) => (grid[j][i] = v));
  }
  assert.ok(grid.every((r) => r.every((v) => v >= 0)), 'the puzzle is line-solvable');
  return grid;
}

describe('playing on a phone', () => {
  const puzzle = loadPuzzle(0, 0, 0);
  const layout = board(W, H, puzzle);
  // The grid's cells as first shown: no clue text's edge can pass for a filled cell.
  const cells = {...layout.grid, w: puzzle.cols * layout.cell, h: puzzle.rows * layout.cell};

  test('tapping a tile, a grid size and a puzzle opens the board', async () => {
    const {context, page} = await phonePage();
    await tap(page, centre(mainMenu(W, H).tiles[0]));
    await tap(page, centre(sizeList(W, H, gridSizes(0).length)[0]));
    await tap(page, centre(puzzleList(W, H, gridSizes(0)[0].count)[0]));
    // The first puzzle's board: clue bands in the corner, empty cells, nothing filled.
    assert.deepEqual(await pixelsAt(page, [[layout.fit.x + 4, layout.fit.y + 4], cellAt(layout, 0, 0)]),
                     [BAND, LIGHT]);
    assert.equal(await boxOf(page, FILLED, cells), null);
    // The same picture as the board the address opens.
    const walked = await canvasPrint(page);
    const direct = await phonePage('&screen=board&puzzle=0/0/0');
    assert.equal(await canvasPrint(direct.page), walked);
    await direct.context.close();
    await context.close();
  });

  test('a puzzle opened before the puzzles arrive waits for them, and a failed download is tried again', async () => {
    // The puzzles' download held back, then failed once; no service worker.
    const context = await site.browser.newContext({...PHONE, serviceWorkers: 'block'});
    let release, asked = 0;
    const held = new Promise((done) => (release = done));
    await context.route('**/puzzles.bin', async (route) => {
      await held;
      return ++asked === 1 ? route.abort() : route.continue();
    });
    const page = await openPage(context);
    await page.goto(site.base + 'site/index.html?trace');
    await waitForLine(page, /^host frame 1 /);
    await tap(page, centre(mainMenu(W, H).tiles[0]));
    await tap(page, centre(sizeList(W, H, gridSizes(0).length)[0]));
    const list = await canvasPrint(page);
    await page.touchscreen.tap(...centre(puzzleList(W, H, gridSizes(0)[0].count)[0]).map((v) => v / 2));
    await page.locator('#status', {hasText: 'Loading the puzzles'}).waitFor();
    release();
    // The failed download leaves the list as it was, and the word goes.
    await page.locator('#status').waitFor({state: 'hidden'});
    assert.equal(await canvasPrint(page), list);
    await tap(page, centre(puzzleList(W, H, gridSizes(0)[0].count)[0]));
    assert.deepEqual(await pixelsAt(page, [[layout.fit.x + 4, layout.fit.y + 4], cellAt(layout, 0, 0)]),
                     [BAND, LIGHT]);
    assert.equal(asked, 2);
    assert.deepEqual(page.lines.filter((l) => /^pageerror/.test(l)), []);
    await context.close();
  });

  test('a finger drag paints a run of cells; a reload keeps them and the theme', async () => {
    const {context, page} = await phonePage();
    // The Themes sign's box: Dark.
    await tap(page, centre(mainMenu(W, H).themesSign));
    const dialog = page.locator('#dialog.open');
    await dialog.waitFor();
    assert.equal(await dialog.locator('#dialog-message').textContent(), 'Themes');
    await andDraw(page, () => dialog.locator('button', {hasText: 'Dark'}).click());
    await expectMainMenu(page, DARK);
    await waitForLine(page, /^host storage synced$/);

    await page.goto(site.base + 'site/index.html?trace&screen=board&puzzle=0/0/0');
    await waitForLine(page, /^host frame 1 /);
    const cdp = await context.newCDPSession(page);
    const run = [1, 2, 3, 4, 5, 6, 7, 8].map((c) => cellAt(layout, 3, c));
    clearLines(page);
    await drag(page, cdp, run);
    await waitForLine(page, /^host storage synced$/);
    const check = async () => {
      const pixels = await pixelsAt(page, [cellAt(layout, 3, 0), ...run, cellAt(layout, 3, 9)]);
      assert.deepEqual(pixels, [DARK, ...run.map(() => FILLED), DARK]);
      // The run's eight cells, less the grid lines over their left and top edges.
      const [x, y] = [run[0][0] - (layout.cell >> 1), run[0][1] - (layout.cell >> 1)];
      assert.deepEqual(await boxOf(page, FILLED, cells), {x: x + 1, y: y + 1, w: 8 * layout.cell - 1, h: layout.cell - 1});
    };
    await check();
    clearLines(page);
    await page.reload();
    await waitForLine(page, /^host frame 1 /);
    await check();
    await context.close();
  });

  test('in Scale & Move, two fingers zoom in and one finger pans', async () => {
    const {context, page} = await phonePage('&screen=board&puzzle=0/0/0');
    // A filled cell near the middle to measure by.
    await tap(page, cellAt(layout, 4, 3));
    const before = await boxOf(page, FILLED, cells);
    assert.ok(before && before.w <= layout.cell && before.w >= layout.cell - 2, JSON.stringify(before));
    await tap(page, centre(layout.buttons.moveScale));

    const cdp = await context.newCDPSession(page);
    const [cx, cy] = [W / 4, H / 4];  // the surface's centre in CSS pixels
    await touch(cdp, 'touchStart', [[cx - 20, cy], [cx + 20, cy]]);
    for (let d = 40; d <= 160; d += 20) {
      await touch(cdp, 'touchMove', [[cx - d, cy], [cx + d, cy]]);
      await page.waitForTimeout(40);
    }
    await touch(cdp, 'touchEnd', []);
    await page.waitForTimeout(200);
    const zoomed = await boxOf(page, FILLED, cells);
    assert.ok(zoomed.w > 1.5 * before.w && zoomed.h > 1.5 * before.h, `${JSON.stringify(zoomed)}`);

    // The board follows the finger by as much as it moved; nothing is painted.
    clearLines(page);
    await drag(page, cdp, [[W / 2, H / 2], [W / 2 + 40, H / 2 + 40], [W / 2 + 80, H / 2 + 80], [W / 2 + 100, H / 2 + 120]]);
    await page.waitForTimeout(100);
    // Zoomed this far the clues are pinned over the cells' top and left edges,
    // so the cell is measured by its lower right corner.
    const panned = await boxOf(page, FILLED, cells);
    const corner = (b) => [b.x + b.w, b.y + b.h];
    assert.deepEqual(corner(panned), [corner(zoomed)[0] + 100, corner(zoomed)[1] + 120]);
    await context.close();
  });

  test('solving a puzzle shows the badge and writes the point', async () => {
    const solution = solve(puzzle.rowClues, puzzle.colClues);
    const {context, page} = await phonePage('&screen=board&puzzle=0/0/0');
    // Near the middle of the clue bands' empty corner, off the grid lines.
    const corner = [layout.fit.x + (puzzle.bandCols * layout.cell >> 1) + (layout.cell >> 3),
                    layout.fit.y + (puzzle.bandRows * layout.cell >> 1) + (layout.cell >> 3)];
    assert.deepEqual(await pixelsAt(page, [corner]), [BAND], 'the clue bands\' corner before solving');
    assert.equal(await page.evaluate(() => {
      try { return Module.FS_readFile('/Documents/conf/points.pts') !== null; } catch (e) { return false; }
    }), false);
    const filled = [];
    solution.forEach((row, r) => row.forEach((v, c) => v && filled.push([r, c])));
    for (const [r, c] of filled) await tap(page, cellAt(layout, r, c));
    // The point is written in the pass that finds the board solved, before
    // that pass draws its frame and hands the page back.
    const readPoints = () => page.evaluate(() => {
      try { return Module.FS_readFile('/Documents/conf/points.pts', {encoding: 'utf8'}).trim(); } catch (e) { return null; }
    });
    // A loaded machine's software renderer can trail the taps by seconds.
    for (let i = 0; i < 750 && (await readPoints()) !== '1'; ++i) await page.waitForTimeout(20);
    assert.equal(await readPoints(), '1');
    const [badge] = await pixelsAt(page, [corner]);
    assert.notDeepEqual(badge, BAND, 'the badge covers the clue corner');
    await context.close();
  });

  test('Escape opens the "Quit?" box and "No" keeps playing', async () => {
    const {context, page} = await phonePage();
    await page.keyboard.press('Escape');
    const dialog = page.locator('#dialog.open');
    await dialog.waitFor();
    assert.equal(await dialog.locator('#dialog-message').textContent(), 'Quit?');
    assert.deepEqual(await dialog.locator('button').allTextContents(), ['Yes', 'No']);
    await dialog.locator('button', {hasText: 'No'}).click();
    await waitForLine(page, /^host answer 1$/);
    await expectMainMenu(page, LIGHT);
    // Escape was let go while the box was up: its next press asks again.
    clearLines(page);
    await page.keyboard.press('Escape');
    await dialog.waitFor();
    await dialog.locator('button', {hasText: 'No'}).click();
    await waitForLine(page, /^host answer 1$/);
    // Still playing: a tile opens its size list (the panel is gone).
    const menu = mainMenu(W, H);
    await tap(page, centre(menu.tiles[0]));
    assert.deepEqual(await pixelsAt(page, [[menu.panel.x + menu.frame + 4, menu.tiles[0].y + 4]]), [LIGHT]);
    assert.equal(await page.locator('#status button').count(), 0);
    await context.close();
  });
});
