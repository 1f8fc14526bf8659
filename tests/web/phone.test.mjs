// The web version on a phone of today, 390 x 844 CSS pixels at device pixel
// ratio 3, played end to end: what a thumb has to hit, and a reload that
// comes back to the open puzzle. Places come from the game's layout rules
// (tests/web/layout.mjs) at the surface size the host reports.
import {test} from 'node:test';
import assert from 'node:assert/strict';

import {boxOf, canvasPixels, canvasPrint, clearLines, openPage, touch, waitForLine} from './browser.mjs';
import {useSite} from './site.mjs';
import {board, centre, gridSizes, listBack, loadPuzzle, mainMenu, puzzleList, sizeList} from './layout.mjs';

const PHONE3 = {viewport: {width: 390, height: 844}, deviceScaleFactor: 3, hasTouch: true, isMobile: true};
const THUMB = 44;  // CSS pixels a touch target needs on its shorter side
const FILLED = [30, 30, 30, 255];  // a filled cell
const BAND = [200, 200, 200];      // the clue bands
const SHOTS = process.env.PHONE_SHOTS;  // a folder for screenshots of the phone, when set

const site = useSite();

test('phone play', async () => {
  const context = await site.browser.newContext(PHONE3);
  const page = await openPage(context);
  // Come to by a link, so that quitting goes back.
  await page.goto(site.base + 'site/index.html?trace', {referer: site.base + 'links.html'});
  const [W, H, CW, CH] = (await waitForLine(page, /^host surface (\d+)x(\d+) canvas (\d+)x(\d+)/)).slice(1).map(Number);
  await waitForLine(page, /^host frame 1 /);
  // Laid out at its own density, drawn at the device's full resolution.
  assert.deepEqual([CW, CH], [1170, 2532]);
  const density = W / 390;  // surface pixels per CSS pixel
  const device = ([x, y]) => [Math.floor(x * CW / W), Math.floor(y * CH / H)];
  const tapAt = async ([x, y]) => {
    clearLines(page);
    await page.touchscreen.tap(x / density, y / density);
    await waitForLine(page, /^host frame /);
  };
  // A target's shorter side in CSS pixels; a tap just inside its corner hits it.
  const side = (r) => Math.min(r.w, r.h) / density;
  const corner = (r) => [r.x + 2 * density, r.y + 2 * density];

  // The main menu fits: the Themes sign stands below the panel, where the layout puts it.
  const menu = mainMenu(W, H);
  assert.ok(menu.panel.y + menu.panel.h < menu.themesSign.y);
  assert.deepEqual((await canvasPixels(page, [device(corner(menu.themesSign))])).pixels[0], [218, 84, 78, 255]);

  await tapAt(corner(menu.tiles[0]));
  const sizes = sizeList(W, H, gridSizes(0).length);
  assert.ok(sizes.every((r) => side(r) >= THUMB) && side(listBack(W, H)) >= THUMB);
  await tapAt(corner(sizes[0]));
  const puzzles = puzzleList(W, H, gridSizes(0)[0].count);
  assert.ok(puzzles.every((r) => side(r) >= THUMB) && side(listBack(W, H)) >= THUMB, `${side(puzzles[0])}`);
  // The entries' grid lines as drawn: a cell apart, in CSS pixels.
  const lineY = device([0, puzzles[0].y + 50])[1];
  const lines = (await boxesAcross(page, [21, 126, 251], lineY)).map((x) => x / 3);
  assert.ok(lines[2] - lines[1] >= THUMB, `${lines}`);
  await tapAt(corner(puzzles[0]));

  // The board: every toolbar button, Back among them, a thumb's size; the
  // Drawing tool's frame drawn around the layout's button.
  const layout = board(W, H, loadPuzzle(0, 0, 0));
  assert.ok(Object.values(layout.buttons).every((r) => side(r) >= THUMB), JSON.stringify(layout.buttons));
  const draw = layout.buttons.draw;
  const [nearX, nearY] = device([draw.x - 8, draw.y - 8]);
  const frame = await boxOf(page, [0, 0, 0, 255], {x: nearX, y: nearY, w: device([draw.w + 16, 0])[0], h: CH});
  const [fx, fy] = device([draw.x - 1, draw.y - 1]);
  assert.ok(Math.abs(frame.x - fx) <= 1 && Math.abs(frame.y - fy) <= 1 && frame.w >= device([draw.w, 0])[0], JSON.stringify(frame));

  // A reload (as a phone does with a tab it dropped) comes back to the open puzzle.
  const open = await canvasPrint(page);
  clearLines(page);
  await page.reload();
  await waitForLine(page, /^host start screen board 0\/0\/0 \(session\)/);
  await waitForLine(page, /^host frame 2 /);
  assert.equal(await canvasPrint(page), open);

  // Back, back, back, and "Quit?" answered Yes: the browser goes back to where the page came from.
  await tapAt(corner(layout.buttons.back));
  for (let i = 0; i < 2; ++i) {
    clearLines(page);
    await page.keyboard.press('Escape');
    await waitForLine(page, /^host frame /);
  }
  await page.keyboard.press('Escape');
  await page.locator('#dialog.open button', {hasText: 'Yes'}).click();
  await page.waitForURL('about:blank');
  await context.close();
});

test('phone strokes, Scale & Move and pinned clues', async () => {
  const context = await site.browser.newContext(PHONE3);
  const page = await openPage(context);
  await page.goto(site.base + 'site/index.html?trace&screen=board&puzzle=0/0/0');
  const [W, H, CW, CH] = (await waitForLine(page, /^host surface (\d+)x(\d+) canvas (\d+)x(\d+)/)).slice(1).map(Number);
  await waitForLine(page, /^host frame 1 /);
  const density = W / 390;
  const css = ([x, y]) => [x / density, y / density];
  const device = ([x, y]) => [Math.floor(x * CW / W), Math.floor(y * CH / H)];
  const cdp = await context.newCDPSession(page);
  const andDraw = async (action) => {
    clearLines(page);
    await action();
    await waitForLine(page, /^host frame /);
  };
  const tapAt = (p) => andDraw(() => page.touchscreen.tap(...css(p)));

  // A fast swipe: ten cells of a row in three touch moves paints all ten.
  const puzzle = loadPuzzle(0, 0, 0);
  const layout = board(W, H, puzzle);
  const cellAt = (row, col) => [layout.grid.x + col * layout.cell + layout.cell / 2, layout.grid.y + row * layout.cell + layout.cell / 2];
  assert.ok(puzzle.cols >= 10);
  await touch(cdp, 'touchStart', [css(cellAt(2, 0))]);
  for (const col of [3, 6, 9]) await andDraw(() => touch(cdp, 'touchMove', [css(cellAt(2, col))]));
  await andDraw(() => touch(cdp, 'touchEnd', []));
  const row = Array.from({length: 10}, (_, col) => device(cellAt(2, col)));
  assert.deepEqual((await canvasPixels(page, row)).pixels, Array(10).fill(FILLED));

  // Scale & Move: a tap on a cell changes nothing, nor does a pan that comes
  // back to where it started.
  await tapAt(centre(layout.buttons.moveScale));
  const still = await canvasPrint(page);
  await tapAt(cellAt(5, 5));
  assert.equal(await canvasPrint(page), still);
  const [sx, sy] = cellAt(5, 5);
  await touch(cdp, 'touchStart', [css([sx, sy])]);
  for (const d of [30, 60, 20, 0]) await touch(cdp, 'touchMove', [css([sx + d, sy + d])]);
  await andDraw(() => touch(cdp, 'touchEnd', []));
  assert.equal(await canvasPrint(page), still);
  if (SHOTS) await page.screenshot({path: `${SHOTS}/phone-board-fit.png`});

  // A 35 x 35 board zoomed in far: the clues of the rows and columns in view
  // stay pinned along the top and left edges, and a tap strikes one out and
  // back.
  const big = [0, 1, 2, 3].flatMap((c) => gridSizes(c).map((g, i) => ({c, i, g}))).find(({g}) => g.width === 35 && g.height === 35);
  assert.ok(big, 'a 35 x 35 grid size');
  await page.goto(site.base + `site/index.html?trace&screen=board&puzzle=${big.c}/${big.i}/0`);
  await waitForLine(page, /^host frame 1 /);
  const bigLayout = board(W, H, loadPuzzle(big.c, big.i, 0));
  await tapAt(centre(bigLayout.buttons.moveScale));
  const [cx, cy] = css(centre(bigLayout.fit));
  await touch(cdp, 'touchStart', [[cx - 10, cy], [cx + 10, cy]]);
  for (let d = 30; d <= 170; d += 20) {
    await andDraw(() => touch(cdp, 'touchMove', [[cx - d, cy], [cx + d, cy]]));
  }
  // Lifting the fingers changes nothing, so it draws nothing.
  await touch(cdp, 'touchEnd', []);
  await page.waitForTimeout(200);
  const pins = await page.evaluate(async ([band]) => {
    const {data, width, height} = await readCanvas();
    const at = (x, y) => data.subarray((y * width + x) * 4, (y * width + x) * 4 + 3);
    const isBand = (p) => p[0] === band[0] && p[1] === band[1] && p[2] === band[2];
    const isWhite = (p) => p[0] > 230 && p[1] > 230 && p[2] > 230;  // an empty cell
    // Down a column, and across a row, from the edge to the first run of empty cells.
    const depth = (step, limit) => {
      let last = -1, white = 0;
      for (let i = 0; white < 6 && i < limit; ++i) {
        const p = step(i);
        if (isBand(p)) last = i;
        white = isWhite(p) ? white + 1 : 0;
      }
      return last;
    };
    // The row is taken below the column clues, however deep a picture's
    // clues make them.
    const x0 = Math.floor(width * 0.55);
    const top = depth((y) => at(x0, y), height);
    const y0 = Math.floor((Math.max(top, 0) + height) / 2);
    // A row that falls on a line between cells crosses no band: look a few
    // pixels further down.
    let left = -1;
    for (let k = 0; left < 0 && k < 4; ++k) left = depth((x) => at(x, y0 + 9 * k), width);
    let digits = 0;
    for (let y = 0; y < top; ++y)
      for (let x = left + 1; x < width; ++x) if (at(x, y).every((v) => v === 0)) ++digits;
    return {x0, top, left, digits};
  }, [BAND]);
  if (SHOTS) await page.screenshot({path: `${SHOTS}/phone-board-35-zoomed.png`});
  assert.ok(pins.top > 0 && pins.left > 0 && pins.digits > 0, JSON.stringify(pins));
  // In Scale & Move a tap on a cell changes nothing, so what changes is the clue.
  const unstruck = await canvasPrint(page);
  const onClue = [pins.x0 * W / CW, (pins.top - 6) * H / CH];
  await tapAt(onClue);
  const struck = await canvasPrint(page);
  assert.notEqual(struck, unstruck);
  await tapAt(onClue);
  assert.equal(await canvasPrint(page), unstruck);
  await context.close();
});

// The x (canvas pixels) of every run of one colour across a canvas row.
async function boxesAcross(page, rgb, y) {
  return page.evaluate(async ([c, row]) => {
    const {data, width} = await readCanvas();
    const starts = [];
    let inside = false;
    for (let x = 0; x < width; ++x) {
      const o = (row * width + x) * 4;
      const match = data[o] === c[0] && data[o + 1] === c[1] && data[o + 2] === c[2];
      if (match && !inside) starts.push(x);
      inside = match;
    }
    return starts;
  }, [rgb, y]);
}
