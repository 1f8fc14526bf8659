// Where things are on the game's screens, in surface pixels, by the same rules
// the game lays them out with (ui/main_menu.cpp, ui/size_list.cpp,
// ui/puzzle_list.cpp, ui/board_view.cpp), and the puzzles as the game reads
// them from the catalogue and the scrambled puzzle files. The browser tests
// tap at these places instead of guessed ones.
import {readFileSync} from 'node:fs';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';

const ROOT = join(dirname(fileURLToPath(import.meta.url)), '../..');
const div = (a, b) => Math.trunc(a / b);

// The main menu's panel and its five size class tiles (a rate sign changes neither).
export function mainMenu(W, H) {
  const m = {marginX: 20, marginTop: 20, tileGapX: 30, tileGapY: 0, panelPadX: 20, panelPadY: 20,
             tileW: 256, tileH: 256, frame: 10, signW: 200, signH: 100, signGap: 30, postBelow: 50,
             postAbove: 20, postW: 20, signBottom: 10, spare: 30};
  const portrait = W <= H;
  const avail = H - 105;
  const shrink = (keys) => {
    let fell = false;
    for (const k of keys) {
      const next = div(m[k] * 10, 11);
      fell = next !== m[k] || fell;
      m[k] = next;
    }
    return fell;
  };
  const shrinkTiles = () => {
    const fell = shrink(['marginX', 'marginTop', 'tileGapX', 'tileGapY', 'panelPadX', 'panelPadY',
                         'tileW', 'tileH']);
    const frame = m.frame;
    m.frame = Math.max(2, div(frame * 10, 11));
    return fell || m.frame !== frame;
  };
  const shrinkSigns = () => shrink(['signW', 'signH', 'signGap', 'postBelow', 'postAbove', 'postW',
                                    'signBottom', 'spare']);
  const tilesWidth = () => portrait ? 2 * (m.tileW + m.frame + m.panelPadX + m.marginX) + m.tileGapX
                                    : 3 * m.tileW + 2 * (m.frame + m.panelPadX + m.tileGapX + m.marginX);
  const panelHeight = (k) => portrait ? 3 * k.tileH + 2 * (k.frame + k.panelPadY + k.tileGapY)
                                      : k.tileGapY + 2 * (k.frame + k.tileH + k.panelPadY);
  const menuHeight = (k) => k.marginTop + panelHeight(k) + k.signBottom + k.postBelow + k.postAbove + k.signH;

  while (W < tilesWidth() && shrinkTiles()) {}
  while (W < 3 * m.signW + 2 * (m.signGap + m.marginX) && shrinkSigns()) {}
  while (avail < menuHeight(m)) {
    const a = shrinkTiles(), b = shrinkSigns();
    if (!a && !b) break;
  }
  if (menuHeight(m) < avail) {
    const spare = avail - menuHeight({...m, tileGapY: 0, panelPadY: 0});
    m.tileGapY = m.panelPadY = div(spare, portrait ? 4 : 3);
  }
  m.tileGapX = m.panelPadX = portrait ? div(W - 2 * (m.frame + m.marginX + m.tileW), 3)
                                      : div(W - 3 * m.tileW - 2 * (m.marginX + m.frame), 4);
  const hW = div(W, 2);
  const y0 = m.marginTop + m.frame + m.panelPadY;
  const step = m.tileH + m.tileGapY;
  const left = hW - div(m.tileGapX, 2) - m.tileW, right = hW + div(m.tileGapX, 2);
  const tile = (x, y) => ({x, y, w: m.tileW, h: m.tileH});
  const tiles = portrait
      ? [tile(left, y0), tile(right, y0), tile(left, y0 + step), tile(right, y0 + step),
         tile(hW - div(m.tileW, 2), y0 + 2 * step)]
      : [tile(hW - div(m.tileW, 2) - m.tileW - m.tileGapX, y0), tile(hW - div(m.tileW, 2), y0),
         tile(hW + div(m.tileW, 2) + m.tileGapX, y0), tile(left, y0 + step), tile(right, y0 + step)];
  const signY = avail - m.signH - m.postBelow - m.signBottom;
  return {themesSign: {x: m.marginX, y: signY, w: m.signW, h: m.signH}, frame: m.frame, panel: {x: m.marginX, y: m.marginTop, w: W - 2 * m.marginX, h: panelHeight(m)},
          tiles};
}

function footerHeight(H) {
  return Math.min(100, Math.trunc(H * 0.125));
}

// Both lists' back button, at the right of the footer.
export function listBack(W, H) {
  const side = footerHeight(H) - 4;
  return {x: W - side - 5, y: H - footerHeight(H) + 2, w: side, h: side};
}

// The size list's cells (unscrolled) for n grid sizes.
export function sizeList(W, H, n) {
  let cellW = 148, cellH = 68;
  if (W > 800 || H > 800) cellW = 222, cellH = 102;
  if (W > 1200 || H > 1200) cellW = 296, cellH = 136;
  if (W > 1500 || H > 1500) cellW = 370, cellH = 170;
  cellW = Math.max(1, Math.min(cellW, W));
  const cols = Math.max(1, div(W, cellW));
  const rows = div(n + cols - 1, cols);
  const spare = W - cols * cellW;
  const top = rows * cellH < H - footerHeight(H) - 40 ? div(H - rows * cellH - footerHeight(H), 2) : 20;
  return Array.from({length: n}, (_, i) => {
    const row = div(i, cols), col = i % cols;
    const k = Math.min(n - row * cols, cols);
    const x = row === rows - 1 ? div(W - k * cellW, 2) + col * cellW : div(spare, 2) + col * cellW;
    return {x, y: top + row * cellH, w: cellW, h: cellH};
  });
}

// The puzzle list's cells (unscrolled) for n puzzles.
export function puzzleList(W, H, n) {
  const cell = Math.max(1, Math.min(W, 100));
  const cols = Math.max(1, div(W - 20, cell));
  const rows = div(n + cols - 1, cols);
  const top = 100 * rows < H - footerHeight(H) - 20 ? div(H - 100 * rows - footerHeight(H), 2) : 10;
  const inRow = Math.min(n, cols);
  return Array.from({length: n}, (_, i) => {
    const row = div(i, cols), col = i % cols;
    const x = rows === 1 ? div(W - inRow * cell, 2) + col * cell : div(W - cols * cell - 20, 2) + 10 + col * cell;
    return {x, y: top + 100 * row, w: cell, h: 100};
  });
}

const TOOLBAR = ['draw', 'erase', 'cross', 'moveScale', 'undo', 'clearAll', 'legend', 'back'];

// The board screen as it first shows a puzzle: the fitted board, its cell size,
// the grid's corner (past the clue bands) and the toolbar's buttons.
export function board(W, H, puzzle) {
  const totalCols = puzzle.bandCols + puzzle.cols, totalRows = puzzle.bandRows + puzzle.rows;
  const T = Math.min(div(W, 8), div(H, 8), 100);
  const area = {w: W - 20, h: H - 20};
  const right = Math.min((W - 20 - T) / totalCols, (H - 20) / totalRows);
  const bottom = Math.min((W - 20) / totalCols, (H - 20 - T) / totalRows);
  const atRight = right > bottom;
  if (atRight) area.w -= T; else area.h -= T;
  const cell = Math.max(1, Math.min(div(area.h, totalRows), div(area.w, totalCols)));
  const fit = {x: 10 + div(area.w - cell * totalCols, 2), y: 10 + div(area.h - cell * totalRows, 2),
               w: cell * totalCols, h: cell * totalRows};
  const length = atRight ? H : W;
  let s = Math.max(T - 4, 0), g = 10, offset = div(length - 8 * s - 7 * g, 2);
  while (offset < 1 && (s > 0 || g > 0)) {
    s = div(s * 9, 10);
    g = div(g * 9, 10);
    offset = div(length - 8 * s - 7 * g, 2);
  }
  const buttons = {};
  TOOLBAR.forEach((name, i) => {
    const along = offset + i * (s + g);
    buttons[name] = atRight ? {x: W - s - 2, y: along, w: s, h: s} : {x: along, y: H - s - 2, w: s, h: s};
  });
  return {fit, cell, grid: {x: fit.x + puzzle.bandCols * cell, y: fit.y + puzzle.bandRows * cell},
          buttons};
}

export const centre = (r) => [r.x + r.w / 2, r.y + r.h / 2];

// The catalogue: grid sizes per size class, and the puzzles of a grid size.
function catalogue() {
  const grids = [...readFileSync(join(ROOT, 'puzzles/catalogue_grids.inc'), 'utf8')
                      .matchAll(/^\{(\d+), (\d+), (\d+), (\d+)\},/gm)]
      .map(([, c, w, h, n]) => ({sizeClass: +c, width: +w, height: +h, count: +n}));
  const puzzles = [...readFileSync(join(ROOT, 'puzzles/catalogue_puzzles.inc'), 'utf8')
                        .matchAll(/^\{"([^"]+)", (\d+), (\d+)\},/gm)]
      .map(([, stem, rows, cols]) => ({stem, rows: +rows, cols: +cols}));
  return {grids, puzzles};
}

export function gridSizes(sizeClass) {
  return catalogue().grids.filter((g) => g.sizeClass === sizeClass);
}

// A puzzle by its address: size, clue lines (rows, then columns) and the clue
// bands' depth, decoded from the shipped file through the game's clue table.
export function loadPuzzle(sizeClass, gridIndex, puzzleIndex) {
  const {grids, puzzles} = catalogue();
  const g = grids.findIndex((r) => r.sizeClass === sizeClass) + gridIndex;
  const first = grids.slice(0, g).reduce((sum, r) => sum + r.count, 0);
  const {stem, rows, cols} = puzzles[first + puzzleIndex];
  const grid = grids[g];
  const dir = String((grid.width / 5 - 2) * 15 + (grid.height / 5 - 2) + 1).padStart(3, '0');
  const table = readFileSync(join(ROOT, 'puzzles/clue_table.cpp'), 'utf8')
      .split('kClueByteValues[256] = {')[1].split('};')[0]
      .replace(/\/\/.*$/gm, '').split(',').map((v) => v.trim()).filter(Boolean).map(Number);
  const bytes = readFileSync(join(ROOT, `data/tasks/black/${dir}/${stem}.dmp`));
  const lines = bytes.toString('latin1').split('\n').map((l) => l.replace(/\r$/, ''))
      .slice(0, rows + cols)
      .map((l) => (l.length ? [...l].map((ch) => table[ch.charCodeAt(0)]) : [0]));
  const rowClues = lines.slice(0, rows), colClues = lines.slice(rows);
  return {rows, cols, rowClues, colClues,
          bandCols: Math.max(...rowClues.map((l) => l.length)),
          bandRows: Math.max(...colClues.map((l) => l.length))};
}
