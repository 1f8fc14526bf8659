// A small static file server for the web version, for the browser tests, the
// benchmark and `make play-web`. Serves one folder on localhost (a secure
// context, so the service worker and IndexedDB work).
//   node server.mjs FOLDER [PORT]   prints the address and serves until stopped
import {createServer} from 'node:http';
import {createReadStream, statSync} from 'node:fs';
import {extname, join, normalize, resolve, sep} from 'node:path';
import {fileURLToPath} from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json', '.json': 'application/json',
};

// Resolves to {server, url} once listening.
export function serve(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer((req, res) => {
    let path = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    if (path.endsWith('/')) path += 'index.html';
    const file = normalize(join(root, path));
    let stat = null;
    try {
      stat = file.startsWith(root + sep) ? statSync(file) : null;
    } catch {
      stat = null;
    }
    if (!stat || !stat.isFile()) {
      res.writeHead(404, {'content-type': 'text/plain'});
      res.end('not found');
      return;
    }
    res.writeHead(200, {
      'content-type': TYPES[extname(file)] || 'application/octet-stream',
      'content-length': stat.size,
      'cache-control': 'no-cache',
    });
    server.bytesSent += stat.size;
    createReadStream(file).pipe(res);
  });
  server.bytesSent = 0;  // file bytes answered, for the benchmark
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => {
      done({server, url: `http://localhost:${server.address().port}/`});
    });
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [folder, port] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: node server.mjs FOLDER [PORT]');
    process.exit(2);
  }
  const {url} = await serve(folder, Number(port || 8080));
  console.log(`Nonogram is served at ${url} (Ctrl+C stops it)`);
}
