// The test module's page: no service worker (it has nothing to keep offline)
// and no puzzles.
Module.withoutOffline = true;
Module.withoutPuzzles = true;
