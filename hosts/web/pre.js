// Runs before the module: the player's data ("Documents") lives in the
// browser's IndexedDB and is loaded into the file system before the game
// starts; the browser's Back (or Android's back gesture) becomes the device
// Back key through a history entry the page keeps on top.
// Closure minifies this with the runtime and renames dotted properties: what
// the page or the history keeps across builds is written ['name'].

// "/Documents" or a path below it without empty, "." or ".." steps.
function inPlayersFolder(path) {
  var parts = String(path).split('/');
  if (parts[0] !== '' || parts[1] !== 'Documents') return false;
  for (var i = 2; i < parts.length; ++i) {
    if (parts[i] === '' || parts[i] === '.' || parts[i] === '..') return false;
  }
  return true;
}

// In preRun, not earlier: files written into the file system need the
// module's memory, which exists only once the wasm is instantiated. The page
// has read the store (Module['saved']) while the wasm downloaded.
Module['preRun'] = [].concat(Module['preRun'] || []);
Module['preRun'].push(function() {
  // Ask the browser not to evict the saved games when space runs short.
  if (typeof navigator != 'undefined' && navigator.storage && navigator.storage.persist) {
    navigator.storage.persist().catch(function() {});
  }
  FS.mkdir('/Documents');
  FS.mount(IDBFS, {}, '/Documents');
  addRunDependency('documents');
  Module['saved'].then(function(saved) {
    var error = IDBFS.DB_VERSION != 21 ? 'not the database the page read' : saved['error'];
    if (!error) {
      // Later syncs write to the database the page opened.
      IDBFS.dbs['/Documents'] = saved['db'];
      // The store is the browser's, not ours: anything can have been put into
      // it. Only the player's folder is loaded, so a stored key elsewhere (the
      // game's own data under /data, say) never reaches the file system; the
      // next save's sync then drops such keys from the store. Folders come
      // before the files in them.
      var values = new Map();
      saved['keys'].forEach(function(key, i) {
        var value = saved['values'][i];
        if (typeof key == 'string' && inPlayersFolder(key) && value &&
            value['timestamp'] instanceof Date) {
          values.set(key, value);
        }
      });
      Array.from(values.keys()).sort().forEach(function(path) {
        IDBFS.storeLocalEntry(path, values.get(path), function(e) { error = error || e; });
      });
    }
    // Without IndexedDB (a private window in some browsers) the game still
    // runs; what it saves lasts until the page closes.
    if (error) console.warn('nonogram: the saved games cannot be read', error);
    removeRunDependency('documents');
  });
});

if (typeof window != 'undefined') {
  (function() {
    function trap() { history.pushState({'nonogram': 'trap'}, ''); }
    if (!history.state || history.state['nonogram'] != 'trap') {
      history.replaceState({'nonogram': 'base'}, '');
      trap();
    }
    window.addEventListener('popstate', function(event) {
      if (Module['ended'] || !event.state || event.state['nonogram'] != 'base') return;
      trap();
      // Back closes an open box first; else it is the game's. WebHost exists
      // once the module's code has run.
      if (Module['cancelDialog'] && Module['cancelDialog']()) return;
      if (typeof WebHost != 'undefined') WebHost.push(1, 0);
    });
    // A closed or hidden tab gets what the last save wrote, even when the
    // sync after it is still waiting for the next pass.
    document.addEventListener('visibilitychange', function() {
      if (document.visibilityState == 'hidden' && typeof WebHost != 'undefined' &&
          Module['calledRun']) {
        WebHost.sync();
      }
    });
  })();
}
