// The test module's page: no service worker (it has nothing to keep offline).
Module.withoutOffline = true;
