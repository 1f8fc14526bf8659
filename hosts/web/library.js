// The JavaScript half of the browser host: the yield that suspends the game
// module (ASYNCIFY) until an event or its time-out, the queue of page events
// the module reads when it wakes, device facts, persistent storage, the
// in-page dialog and links. Nothing here calls into the module: the page only
// queues events and wakes the sleeping loop, which reads them between passes.
// Closure minifies this with the runtime and renames dotted properties: what
// the page (shell.html) or the tests share with it is written Module['name'].
mergeInto(LibraryManager.library, {
  $WebHost__postset: 'WebHost.init();',
  $WebHost: {
    queue: [],        // [kind, value] pairs the module has not read yet
    wakeUp: null,     // resumes the suspended yield
    timer: 0,
    frame: 0,         // the animation frame a yield of 0 ms waits for
    syncing: false,   // a write to IndexedDB is in flight
    syncAgain: false, // the data changed again while it was
    trace: false,     // one console line per event, for tests (?trace)
    // The puzzle files come in one download after the first frame (or at
    // once, when a puzzle is opened before): puzzles maps each file's path
    // to its place in puzzleBytes; a file enters the file system when the
    // game first wants it.
    puzzles: null,
    puzzleBytes: null,
    puzzlesLoading: null,  // the download in flight (a promise)
    init: function() {
      if (typeof location != 'undefined') {
        WebHost.trace = new URLSearchParams(location.search).has('trace');
      }
    },
    push: function(kind, value) {
      WebHost.queue.push([kind, value | 0]);
      WebHost.wake();
    },
    // Never resumes inside the caller: the event handler that woke the loop
    // (possibly running module code itself) finishes first.
    wake: function() {
      var resume = WebHost.wakeUp;
      if (!resume) return;
      WebHost.wakeUp = null;
      clearTimeout(WebHost.timer);
      cancelAnimationFrame(WebHost.frame);
      Promise.resolve().then(function() { resume(); });
    },
    // Starts the puzzles' download unless they are here or on their way;
    // gives a promise of its end (either way), or null when they are here.
    fetchPuzzles: function() {
      if (WebHost.puzzles || WebHost.puzzlesLoading) return WebHost.puzzlesLoading;
      WebHost.puzzlesLoading = fetch('puzzles.bin').then(function(response) {
        if (!response.ok) throw new Error('HTTP ' + response.status);
        return response.arrayBuffer();
      }).then(function(buffer) {
        WebHost.unpackPuzzles(new Uint8Array(buffer));
      }).catch(function(error) {
        // Tried again when a puzzle is next opened.
        console.warn('nonogram: the puzzles cannot be downloaded', error);
      }).then(function() {
        WebHost.puzzlesLoading = null;
      });
      return WebHost.puzzlesLoading;
    },
    // "nonogram-puzzles N", N bytes of "path size" lines, then the contents.
    unpackPuzzles: function(bytes) {
      var head = bytes.indexOf(10);
      var m = head > 0 && /^nonogram-puzzles (\d+)$/.exec(
          new TextDecoder().decode(bytes.subarray(0, head)));
      if (!m) throw new Error('not a puzzle pack');
      var indexEnd = head + 1 + Number(m[1]);
      var at = indexEnd, map = new Map();
      new TextDecoder().decode(bytes.subarray(head + 1, indexEnd)).split('\n').forEach(function(line) {
        var space = line.lastIndexOf(' ');
        if (space <= 0) return;
        var size = Number(line.slice(space + 1));
        map.set('/data/tasks/' + line.slice(0, space), [at, size]);
        at += size;
      });
      if (at != bytes.length) throw new Error('a cut or damaged puzzle pack');
      WebHost.puzzleBytes = bytes;
      WebHost.puzzles = map;
    },
    placePuzzle: function(path) {
      var entry = WebHost.puzzles.get(path);
      if (!entry) return;
      WebHost.puzzles.delete(path);
      FS.mkdirTree(path.slice(0, path.lastIndexOf('/')));
      FS.writeFile(path, WebHost.puzzleBytes.subarray(entry[0], entry[0] + entry[1]));
    },
    sync: function() {
      if (WebHost.syncing) { WebHost.syncAgain = true; return; }
      WebHost.syncing = true;
      FS.syncfs(false, function(error) {
        WebHost.syncing = false;
        if (error) console.warn('nonogram: cannot save to the browser storage', error);
        if (WebHost.trace) console.log('host storage synced' + (error ? ' with error' : ''));
        if (WebHost.syncAgain) { WebHost.syncAgain = false; WebHost.sync(); }
      });
    },
  },

  web_wait__deps: ['$WebHost'],
  web_wait: function(ms) {
    return Asyncify.handleSleep(function(wakeUp) {
      WebHost.wakeUp = wakeUp;
      if (WebHost.queue.length) { WebHost.wake(); return; }
      // A yield that asks for no wait has a frame still to draw: it returns
      // at the browser's next frame, so that each frame shows one render
      // (and none is drawn while the page is hidden).
      if (ms <= 0) {
        WebHost.frame = requestAnimationFrame(WebHost.wake);
        return;
      }
      // setTimeout takes at most 2^31 - 1 ms.
      WebHost.timer = setTimeout(WebHost.wake, Math.min(ms, 0x7FFFFFFF));
    });
  },

  // A game data file is about to be read: a puzzle file that has not arrived
  // yet is waited for (the module sleeps), with a word on the page when that
  // takes long enough to notice. A failed download leaves the file missing.
  web_data_wanted__deps: ['$WebHost'],
  web_data_wanted: function(pathPtr) {
    var path = UTF8ToString(pathPtr);
    // Woken, the module calls in again to finish its sleep (rewinding).
    if (Asyncify.state == Asyncify.State.Normal) {
      if (path.lastIndexOf('/data/tasks/', 0) != 0) return;
      if (WebHost.puzzles) {
        WebHost.placePuzzle(path);
        return;
      }
    }
    return Asyncify.handleSleep(function(wakeUp) {
      var shown = setTimeout(function() {
        if (Module['showStatus']) Module['showStatus']('Loading the puzzles…');
      }, 150);
      WebHost.fetchPuzzles().then(function() {
        clearTimeout(shown);
        if (Module['showStatus']) Module['showStatus']('');
        if (WebHost.puzzles) WebHost.placePuzzle(path);
        wakeUp();
      });
    });
  },

  web_wake__deps: ['$WebHost'],
  web_wake: function() { WebHost.wake(); },

  // Writes the oldest queued event's value and gives its kind, or 0 when none.
  web_next_event__deps: ['$WebHost'],
  web_next_event: function(valuePtr) {
    var e = WebHost.queue.shift();
    if (!e) return 0;
    HEAP32[valuePtr >> 2] = e[1];
    return e[0];
  },

  web_trace_enabled__deps: ['$WebHost'],
  web_trace_enabled: function() { return WebHost.trace ? 1 : 0; },

  // Copies the page address's query value of name (at most size - 1 bytes)
  // and gives 1, or gives 0 when the address has none.
  web_query_value: function(name, out, size) {
    var value = new URLSearchParams(location.search).get(UTF8ToString(name));
    if (value === null) return 0;
    stringToUTF8(value, out, size);
    return 1;
  },

  // The page's session (this tab, across reloads) keeps the player's place.
  // Without storage (some private windows) nothing is kept.
  web_session_set: function(name, value) {
    try { window.sessionStorage.setItem('nonogram.' + UTF8ToString(name), UTF8ToString(value)); } catch (e) {}
  },

  // Copies the session's value of name (at most size - 1 bytes) and gives 1,
  // or gives 0 when it has none.
  web_session_get: function(name, out, size) {
    var value = null;
    try { value = window.sessionStorage.getItem('nonogram.' + UTF8ToString(name)); } catch (e) {}
    if (value === null) return 0;
    stringToUTF8(value, out, size);
    return 1;
  },

  // 1 when this page is the same one again: reloaded, come back to through
  // the history, or restored after the browser discarded it in the background.
  web_page_returned: function() {
    var entry = performance.getEntriesByType ? performance.getEntriesByType('navigation')[0] : null;
    var type = entry ? entry.type : '';
    return document['wasDiscarded'] || type == 'reload' || type == 'back_forward' ? 1 : 0;
  },

  web_log: function(kind, text) {
    var line = UTF8ToString(kind) + ' ' + UTF8ToString(text);
    if (UTF8ToString(kind) == 'warning') console.warn(line); else console.log(line);
  },

  // 18 Android, 14 iOS and iPadOS (which calls itself a Mac with a touch
  // screen), else 3.
  web_device_os: function() {
    var ua = navigator.userAgent || '';
    if (/Android/i.test(ua)) return 18;
    if (/iPhone|iPad|iPod/.test(ua) || (/Macintosh/.test(ua) && navigator.maxTouchPoints > 1)) {
      return 14;
    }
    return 3;
  },

  web_device_russian: function() {
    var first = (navigator.languages && navigator.languages[0]) || navigator.language || '';
    return /^ru\b/i.test(first) ? 1 : 0;
  },

  web_storage_sync__deps: ['$WebHost'],
  web_storage_sync: function() { WebHost.sync(); },

  // Only web and store addresses open: anything else (javascript:, data:)
  // would run in a page of our own origin.
  web_open_url: function(address) {
    var url = UTF8ToString(address);
    if (!/^(https?|market|itms|itms-apps|itms-appss):/i.test(url)) return 0;
    var opened = window.open(url, '_blank');
    if (opened) opened.opener = null;
    return opened ? 1 : 0;
  },

  // The box is shown until a button is pressed (value: its index) or it is
  // closed (-1); the answer arrives as event 2.
  web_show_dialog__deps: ['$WebHost'],
  web_show_dialog: function(title, message, buttons, count) {
    var labels = [];
    for (var i = 0; i < count; ++i) labels.push(UTF8ToString(HEAP32[(buttons >> 2) + i]));
    Module['showDialog'](UTF8ToString(title), UTF8ToString(message), labels, function(answer) {
      WebHost.push(2, answer);
    });
  },

  // When the first frame was drawn, in ms since the navigation began.
  // The puzzles start to download then, unless the page has none, and the
  // page fetches what can wait (its icon).
  web_first_frame__deps: ['$WebHost'],
  web_first_frame: function() {
    if (Module['firstFrameMs'] !== undefined) return;
    Module['firstFrameMs'] = performance.now();
    if (!Module['withoutPuzzles']) WebHost.fetchPuzzles();
    if (Module['firstFrame']) Module['firstFrame']();
  },

  web_game_ended: function(code) {
    if (Module['gameEnded']) Module['gameEnded'](code);
  },
});
