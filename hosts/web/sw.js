// The service worker: keeps the game's files so that it starts and plays
// offline after the first visit. The cache is named after the build, so a
// new build replaces the old files as a whole.
const CACHE = 'nonogram-@SITE_VERSION@';
// This build's files and the SHA-256 of each.
const FILES = {@SITE_FILES@
};

const hex = (buffer) => Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, '0')).join('');

// The file as this build has it, or null.
async function fetchChecked(name, mode) {
  const response = await fetch(name, {cache: mode}).catch(() => null);
  if (!response || !response.ok) return null;
  const bytes = await response.clone().arrayBuffer();
  return hex(await crypto.subtle.digest('SHA-256', bytes)) === FILES[name] ? response : null;
}

// The page has just downloaded most of these files, so they come from the
// browser's HTTP cache when it still holds this build's bytes (whatever it
// thinks of their freshness), and from the network otherwise.
async function keep(cache, name) {
  const response = (await fetchChecked(name, 'force-cache')) || (await fetchChecked(name, 'reload'));
  if (!response) throw new Error(`${name} is not this build's`);
  if (name === 'index.html') await cache.put('./', response.clone());
  await cache.put(name, response);
}

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((c) => Promise.all(Object.keys(FILES).map((name) => keep(c, name))))
    .then(() => self.skipWaiting()));
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
