# The two set-up commands of a fresh Debian machine: `make play` and `make test`.
JOBS ?= $(shell nproc)

.PHONY: play test fuzz build deps-play deps-test clean

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

# Every fuzz target for FUZZ_SECONDS (default 60) each; prints executions and findings.
fuzz:
	scripts/fuzz.sh

build:
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

deps-play:
	scripts/install-deps.sh play

deps-test:
	scripts/install-deps.sh test

clean:
	rm -rf build
