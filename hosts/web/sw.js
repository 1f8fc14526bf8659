// The service worker: keeps the game's files so that it starts and plays
// offline after the first visit. The cache is named after the build, so a
// new build replaces the old files as a whole.
const CACHE = 'nonogram-@SITE_VERSION@';
const FILES = ['./', 'index.html', 'index.js', 'index.wasm', 'index.data', 'puzzles.bin',
               'manifest.webmanifest', 'icon-192.png', 'icon-512.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((c) => c.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('nonogram-') && k !== CACHE)
      .map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  // The game's own files come from the cache (a query such as ?trace does not
  // make a new file); anything else goes to the network.
  event.respondWith(caches.open(CACHE)
    .then((c) => c.match(event.request, {ignoreSearch: true}))
    .then((hit) => hit || fetch(event.request)));
});
