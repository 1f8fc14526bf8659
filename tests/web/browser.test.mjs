// The web version in Debian's chromium, driven like a phone: touch, a small
// viewport at device pixel ratio 2, rotation, keys, the browser's Back,
// storage across reloads, the in-page dialog and offline play. The game is
// checked through its pixels; the host's own event handling through the
// lines it prints with ?trace and through the probe module (build/web/probe),
// which prints what the module sees of each service.
import {after, before, describe, test} from 'node:test';
import assert from 'node:assert/strict';

import {built, canvasPixels, clearLines, launch, openPage, PHONE, touch, waitForLine, BUILD} from './browser.mjs';
import {serve} from './server.mjs';

const LIGHT = [236, 240, 241, 255];  // the light theme's background
const DARK = [60, 74, 89, 255];      // the dark theme's background

let browser, server, base;

before(async () => {
  assert.ok(built(), `build the web version first (make web): nothing in ${BUILD}`);
  ({server, url: base} = await serve(BUILD));
  browser = await launch();
});

after(async () => {
  await browser?.close();
  server?.close();
});

// The corners and the middle of a width x height surface.
function spots(width, height) {
  return [[1, 1], [width - 2, 1], [1, height - 2], [width - 2, height - 2],
          [width >> 1, height >> 1]];
}

async function expectFilled(page, colour) {
  const {width, height} = await canvasPixels(page, []);
  const {pixels} = await canvasPixels(page, spots(width, height));
  for (const p of pixels) assert.deepEqual(p, colour);
}

describe('the game', () => {
  test('draws its first frame over the whole phone screen and redraws when rotated', async () => {
    const context = await browser.newContext(PHONE);
    const page = await openPage(context);
    await page.goto(base + 'site/index.html?trace');
    await waitForLine(page, /^host frame 1 780x1688/);
    await expectFilled(page, LIGHT);
    // Every image decoded (stb_image here) and every shader built on WebGL.
    assert.deepEqual(page.lines.filter((l) => /^warning|^pageerror/.test(l)), []);
    // The page itself neither scrolls nor zooms under a finger.
    const cdp = await context.newCDPSession(page);
    await touch(cdp, 'touchStart', [[100, 400], [200, 500]]);
    await touch(cdp, 'touchMove', [[60, 300], [260, 700]]);
    await touch(cdp, 'touchEnd', []);
    assert.deepEqual(await page.evaluate(() => [scrollX, scrollY, visualViewport.scale]), [0, 0, 1]);

    // Rotation: a new surface size, drawn at once, no old pixels left.
    clearLines(page);
    await page.setViewportSize({width: 844, height: 390});
    await waitForLine(page, /^host surface 1688x780/);
    await waitForLine(page, /^host frame \d+ 1688x780/);
    await expectFilled(page, LIGHT);
    await context.close();
  });

  test('passes touches, keys and the browser Back to the services', async () => {
    const context = await browser.newContext(PHONE);
    const page = await openPage(context);
    await page.goto(base + 'site/index.html?trace');
    await waitForLine(page, /^host frame 1 /);
    // One finger, then two: slots 0 and 1 in surface pixels (CSS x 2).
    await page.touchscreen.tap(100, 200);
    await waitForLine(page, /^host touch 0 down 200 400/);
    await waitForLine(page, /^host touch 0 up 200 400/);
    const cdp = await context.newCDPSession(page);
    await touch(cdp, 'touchStart', [[100, 300], [250, 500]]);
    await waitForLine(page, /^host touch 1 down 500 1000/);
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

    await page.keyboard.press('Escape');
    await waitForLine(page, /^host key 1 up/);
    await page.keyboard.press('Backspace');
    await waitForLine(page, /^host key 3 up/);
    // Back twice: each becomes the device Back key, and the page stays.
    for (let i = 0; i < 2; ++i) {
      clearLines(page);
      await page.goBack({waitUntil: 'commit'}).catch(() => {});
      await waitForLine(page, /^host key 126 back/);
    }
    assert.match(page.url(), /site\/index\.html\?trace$/);
    await page.waitForTimeout(200);
    assert.ok(page.lines.every((l) => !l.startsWith('pageerror')), page.lines.join('\n'));
    await context.close();
  });

  test('starts with the theme saved in the browser storage, after a reload', async () => {
    const context = await browser.newContext(PHONE);
    const page = await openPage(context);
    await page.goto(base + 'site/index.html?trace');
    await waitForLine(page, /^host frame 1 /);
    await expectFilled(page, LIGHT);
    // The settings file as the game writes it, put into IndexedDB.
    await page.evaluate(() => new Promise((done, fail) => {
      FS.writeFile('/Documents/conf/conf.cfg', 'color_schema=1\nrate_redirected=0\n');
      FS.syncfs(false, (e) => (e ? fail(e) : done()));
    }));
    clearLines(page);
    await page.reload();
    await waitForLine(page, /^host frame 1 /);
    await expectFilled(page, DARK);
    await context.close();
  });

  test('plays offline after the first visit', async () => {
    const context = await browser.newContext(PHONE);
    const page = await openPage(context);
    await page.goto(base + 'site/index.html');
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null || true);
    await context.setOffline(true);
    await page.reload();
    await page.waitForFunction(() => typeof Module != 'undefined' && Module.calledRun);
    await page.waitForTimeout(300);
    await expectFilled(page, LIGHT);
    const manifest = await page.evaluate(async () => (await fetch('manifest.webmanifest')).json());
    assert.equal(manifest.icons.length, 2);
    await context.close();
  });
});

describe('the host around the probe module', () => {
  test('keeps a save across reloads, answers the dialog between passes, reports the device', async () => {
    const context = await browser.newContext({
      ...PHONE,
      locale: 'ru-RU',
      userAgent: 'Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) ' +
                 'Chrome/126.0 Mobile Safari/537.36',
    });
    const page = await openPage(context);
    await page.goto(base + 'probe/index.html?trace');
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

    // The first button ends the module; the page offers to play again.
    await page.locator('#dialog.open button', {hasText: 'Да'}).click();
    await waitForLine(page, /probe answer 7 0/);
    await page.locator('#status button', {hasText: 'Play again'}).waitFor();
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
        const context = await browser.newContext({viewport: {width: 400, height: 600}, userAgent, locale});
        const page = await openPage(context);
        const cdp = await context.newCDPSession(page);
        await cdp.send('Emulation.setTouchEmulationEnabled',
                       {enabled: touchPoints > 0, maxTouchPoints: Math.max(touchPoints, 1)});
        await page.goto(base + 'probe/index.html?trace');
        await waitForLine(page, new RegExp(`probe device os=${os} language=${language}$`));
        await context.close();
      }
    }
  });

  test('hands the start screen in the address to the game, and refuses unknown ones', async () => {
    const context = await browser.newContext(PHONE);
    const page = await openPage(context);
    await page.goto(base + 'probe/index.html?trace&screen=board&puzzle=0/3/7');
    await waitForLine(page, /probe start board 0\/3\/7$/);
    for (const query of ['screen=nowhere', 'screen=board&puzzle=0/x']) {
      clearLines(page);
      await page.goto(base + `probe/index.html?trace&${query}`);
      await waitForLine(page, /warning nonogram: the screen or puzzle in the address is not known/);
      await waitForLine(page, /probe device/);
      assert.ok(!page.lines.some((l) => l.includes('probe start ')), query);
    }
    await context.close();
  });
});

// Playing, once the screens and their input land: written against the
// expected behaviour so they run as soon as the flow exists. Places are found
// by colour, not by fixed coordinates: the panel's green on the main menu, the
// grid's lines on the board. All coordinates given to the page are CSS pixels
// (the surface has twice as many).
const FLOW = {skip: 'waits for the screen flow (menus, board input, "Quit?")'};
const PANEL = [11, 165, 95];     // the main menu's panel
const GRID_LINE = [100, 100, 100];
const FILLED = [30, 30, 30];

// Bounding box (CSS pixels) of the canvas pixels of one colour, or null.
async function boxOf(page, rgb) {
  return page.evaluate((c) => {
    const canvas = document.getElementById('canvas');
    const copy = document.createElement('canvas');
    copy.width = canvas.width;
    copy.height = canvas.height;
    const g = copy.getContext('2d');
    g.drawImage(canvas, 0, 0);
    const {data, width, height} = g.getImageData(0, 0, copy.width, copy.height);
    let x0 = width, y0 = height, x1 = -1, y1 = -1;
    for (let y = 0; y < height; y += 2) {
      for (let x = 0; x < width; x += 2) {
        const o = (y * width + x) * 4;
        if (data[o] === c[0] && data[o + 1] === c[1] && data[o + 2] === c[2]) {
          x0 = Math.min(x0, x); y0 = Math.min(y0, y); x1 = Math.max(x1, x); y1 = Math.max(y1, y);
        }
      }
    }
    const r = devicePixelRatio;
    return x1 < 0 ? null : {x: x0 / r, y: y0 / r, w: (x1 - x0) / r, h: (y1 - y0) / r};
  }, rgb);
}

async function tapAndDraw(page, x, y) {
  clearLines(page);
  await page.touchscreen.tap(x, y);
  await waitForLine(page, /^host frame /);
}

// Main menu: the first size class (top-left tile of the panel); then the
// first entry of the size list and of the puzzle list (their top rows).
// Gives the grid's box.
async function openFirstBoard(page) {
  const panel = await boxOf(page, PANEL);
  assert.ok(panel, 'the main menu shows its panel');
  await tapAndDraw(page, panel.x + panel.w / 4, panel.y + panel.h / 6);
  await tapAndDraw(page, PHONE.viewport.width / 2, PHONE.viewport.height * 0.1);
  await tapAndDraw(page, PHONE.viewport.width / 2, PHONE.viewport.height * 0.1);
  const grid = await boxOf(page, GRID_LINE);
  assert.ok(grid, 'the board shows its grid');
  return grid;
}

async function phonePage() {
  const context = await browser.newContext(PHONE);
  const page = await openPage(context);
  await page.goto(base + 'site/index.html?trace');
  await waitForLine(page, /^host frame 1 /);
  return {context, page};
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

// The clues of the first puzzle of the first grid size, as the puzzle forge
// exports them (needs the native build: build/dev/bin/nonogram-forge).
async function firstPuzzleClues() {
  const {execFileSync} = await import('node:child_process');
  const {mkdtempSync, readdirSync, readFileSync} = await import('node:fs');
  const {tmpdir} = await import('node:os');
  const {join} = await import('node:path');
  const out = mkdtempSync(join(tmpdir(), 'nonogram-web-'));
  execFileSync(join(BUILD, '../dev/bin/nonogram-forge'),
               ['export', '--format', 'non', out, '--address', '0/0/0', '--data', join(BUILD, '../../data')]);
  const dir = join(out, readdirSync(out)[0]);
  const text = readFileSync(join(dir, readdirSync(dir)[0]), 'utf8');
  const section = (name) => text.split(`\n${name}\n`)[1].split('\n\n')[0].trim().split('\n')
      .map((l) => l.split(',').map(Number));
  return {rows: section('rows'), cols: section('columns')};
}

describe('playing on a phone', () => {
  test('tapping a tile, a grid size and a puzzle opens the board', FLOW, async () => {
    const {context, page} = await phonePage();
    const grid = await openFirstBoard(page);
    assert.ok(grid.w > 100 && grid.h > 100, 'the grid fills much of the screen');
    await context.close();
  });

  test('a finger drag paints a run of cells that a reload keeps', FLOW, async () => {
    const {context, page} = await phonePage();
    const grid = await openFirstBoard(page);
    assert.equal(await boxOf(page, FILLED), null);
    const y = grid.y + grid.h / 2;
    const cdp = await context.newCDPSession(page);
    await touch(cdp, 'touchStart', [[grid.x + grid.w * 0.1, y]]);
    for (let k = 2; k <= 9; ++k) await touch(cdp, 'touchMove', [[grid.x + grid.w * k / 10, y]]);
    await touch(cdp, 'touchEnd', []);
    const painted = await boxOf(page, FILLED);
    assert.ok(painted && painted.w > grid.w / 2, 'a run across the grid is filled');
    clearLines(page);
    await page.reload();
    await waitForLine(page, /^host frame 1 /);
    await openFirstBoard(page);
    assert.deepEqual(await boxOf(page, FILLED), painted);
    await context.close();
  });

  test('two fingers zoom in and one finger pans', FLOW, async () => {
    const {context, page} = await phonePage();
    const grid = await openFirstBoard(page);
    const cx = grid.x + grid.w / 2, cy = grid.y + grid.h / 2;
    const cdp = await context.newCDPSession(page);
    await touch(cdp, 'touchStart', [[cx - 20, cy], [cx + 20, cy]]);
    for (let d = 40; d <= 140; d += 20) await touch(cdp, 'touchMove', [[cx - d, cy], [cx + d, cy]]);
    await touch(cdp, 'touchEnd', []);
    const zoomed = await boxOf(page, GRID_LINE);
    assert.ok(zoomed.w > grid.w || zoomed.h > grid.h, 'the grid grew');
    await touch(cdp, 'touchStart', [[cx, cy]]);
    for (let d = 20; d <= 100; d += 20) await touch(cdp, 'touchMove', [[cx + d, cy + d]]);
    await touch(cdp, 'touchEnd', []);
    const panned = await boxOf(page, GRID_LINE);
    assert.notDeepEqual(panned, zoomed, 'the grid moved');
    await context.close();
  });

  test('solving a puzzle shows the badge and writes the point', FLOW, async () => {
    const {rows, cols} = await firstPuzzleClues();
    const solution = solve(rows, cols);
    const {context, page} = await phonePage();
    const grid = await openFirstBoard(page);
    const cellW = grid.w / cols.length, cellH = grid.h / rows.length;
    for (let r = 0; r < rows.length; ++r) {
      for (let c = 0; c < cols.length; ++c) {
        if (solution[r][c]) await page.touchscreen.tap(grid.x + (c + 0.5) * cellW, grid.y + (r + 0.5) * cellH);
      }
    }
    await page.waitForTimeout(500);
    const points = await page.evaluate(() => FS.readFile('/Documents/conf/points.pts', {encoding: 'utf8'}));
    assert.equal(points.trim(), '1');
    await context.close();
  });

  test('Escape opens the "Quit?" box and "No" keeps playing', FLOW, async () => {
    const {context, page} = await phonePage();
    await page.keyboard.press('Escape');
    const dialog = page.locator('#dialog.open');
    await dialog.waitFor();
    await dialog.locator('button').nth(1).click();
    await waitForLine(page, /^host answer 1/);
    await page.waitForTimeout(300);
    assert.equal(await page.locator('#status button').count(), 0, 'the game still runs');
    assert.ok(await boxOf(page, PANEL), 'the main menu is still shown');
    await context.close();
  });
});
