// Driving Debian's chromium for the web tests and the benchmark: a phone-like
// page (viewport, touch, device pixel ratio), the console lines the host
// prints with ?trace, and pixels read back from the game's canvas.
import {chromium} from 'playwright-core';
import {existsSync} from 'node:fs';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';

export const BUILD = join(dirname(fileURLToPath(import.meta.url)), '../../build/web');
export const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';

export const PHONE = {
  viewport: {width: 390, height: 844},
  deviceScaleFactor: 2,
  hasTouch: true,
  isMobile: true,
};

export function built() {
  return existsSync(join(BUILD, 'site/index.wasm')) && existsSync(join(BUILD, 'probe/index.wasm'));
}

export async function launch() {
  const args = ['--mute-audio', '--disable-gpu-sandbox'];
  if (process.getuid && process.getuid() === 0) args.push('--no-sandbox');
  return chromium.launch({executablePath: CHROMIUM, headless: true, args});
}

// A page whose console lines are kept in page.lines.
export async function openPage(context) {
  const page = await context.newPage();
  page.lines = [];
  page.on('console', (m) => page.lines.push(m.text()));
  page.on('pageerror', (e) => page.lines.push('pageerror ' + e.message));
  await page.addInitScript(() => {
    // The game canvas's ImageData. A WebGL canvas read as an image gives what
    // the page last presented, so the read waits until the game's last drawn
    // frame has been through the browser's next two animation frames.
    window.readCanvas = async () => {
      await new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));
      const canvas = document.getElementById('canvas');
      const copy = document.createElement('canvas');
      copy.width = canvas.width;
      copy.height = canvas.height;
      const g = copy.getContext('2d');
      g.drawImage(canvas, 0, 0);
      return g.getImageData(0, 0, copy.width, copy.height);
    };
  });
  return page;
}

// Waits until a console line matches; gives the match.
export async function waitForLine(page, pattern, timeout = 10000) {
  const end = Date.now() + timeout;
  for (;;) {
    for (const line of page.lines) {
      const m = line.match(pattern);
      if (m) return m;
    }
    if (Date.now() > end) {
      throw new Error(`no console line like ${pattern} in:\n${page.lines.join('\n')}`);
    }
    await page.waitForTimeout(25);
  }
}

// Forgets the lines seen so far.
export function clearLines(page) {
  page.lines.length = 0;
}

// RGBA of canvas pixels at surface (device pixel) coordinates, top-left origin
// (transparent black outside the canvas), and the canvas's pixel size; for
// pages made by openPage.
export async function canvasPixels(page, points) {
  return page.evaluate(async (pts) => {
    const {data, width, height} = await readCanvas();
    const at = (x, y) => x >= 0 && y >= 0 && x < width && y < height
      ? Array.from(data.subarray((y * width + x) * 4, (y * width + x) * 4 + 4)) : [0, 0, 0, 0];
    return {width, height, pixels: pts.map(([x, y]) => at(x, y))};
  }, points);
}

// Bounding box (canvas pixels) of the canvas pixels of one colour within a
// rectangle, or null.
export async function boxOf(page, rgba, within) {
  return page.evaluate(async ([c, r]) => {
    const {data, width, height} = await readCanvas();
    let x0 = width, y0 = height, x1 = -1, y1 = -1;
    for (let y = r.y; y < r.y + r.h && y < height; ++y) {
      for (let x = r.x; x < r.x + r.w && x < width; ++x) {
        const o = (y * width + x) * 4;
        if (data[o] === c[0] && data[o + 1] === c[1] && data[o + 2] === c[2]) {
          x0 = Math.min(x0, x); y0 = Math.min(y0, y); x1 = Math.max(x1, x); y1 = Math.max(y1, y);
        }
      }
    }
    return x1 < 0 ? null : {x: x0, y: y0, w: x1 - x0 + 1, h: y1 - y0 + 1};
  }, [rgba, within]);
}

// A fingerprint of the whole canvas.
export async function canvasPrint(page) {
  return page.evaluate(async () => {
    const words = new Uint32Array((await readCanvas()).data.buffer);
    let h = 2166136261;
    for (const w of words) h = Math.imul(h ^ w, 16777619) >>> 0;
    return h;
  });
}

// Touch points through the DevTools protocol (several fingers at once).
export async function touch(cdp, type, points) {
  await cdp.send('Input.dispatchTouchEvent', {
    type,
    touchPoints: points.map(([x, y], id) => ({x, y, id, radiusX: 4, radiusY: 4, force: 1})),
  });
}
