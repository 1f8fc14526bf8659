# The two set-up commands of a fresh Debian machine: `make play` and `make test`.
JOBS ?= $(shell nproc)

.PHONY: play test fuzz soak build web play-web test-web bench-web deps-play deps-test deps-web clean

# Emscripten's JavaScript optimiser loads Debian's acorn from here.
export NODE_PATH := /usr/share/nodejs
PORT ?= 8080

play: deps-play
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS) --target nonogram nonogram_module
	scripts/play.sh

test: deps-test
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)
	ctest --preset dev
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan
	$(MAKE) test-web

# The browser version: build/web/site is the page to serve.
web: deps-web
	cmake --preset web
	cmake --build --preset web -j $(JOBS)

play-web: web
	node tests/web/server.mjs build/web/site $(PORT)

# Browser tests in Debian's chromium (needs `make web`, which it runs).
test-web: web
	cd tests/web && npm test

# BASE=FOLDER: a site built before (a copy of build/web/site) measured in
# turns with this build's.
bench-web: web
	cd tests/web && npm run bench -- $(if $(BASE),$(abspath $(BASE)) $(CURDIR)/build/web/site)

# Every fuzz target for FUZZ_SECONDS (default 60) each; prints executions and findings.
fuzz:
	scripts/fuzz.sh

# The monkey soak: SOAK_EVENTS (default 10^5) seeded random events across every
# screen with the game's invariants checked after each pass; prints events per
# second and findings.
SOAK_EVENTS ?= 100000
SOAK_SEED ?= 1
soak: deps-test
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS) --target soak
	build/dev/bin/soak --events $(SOAK_EVENTS) --seed $(SOAK_SEED)

build:
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

deps-play:
	scripts/install-deps.sh play

deps-test:
	scripts/install-deps.sh test

deps-web:
	scripts/install-deps.sh web

clean:
	rm -rf build
