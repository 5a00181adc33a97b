# The two commands a newcomer needs: `make run` and `make test`. Both install what is
# missing first (scripts/install-deps), then configure and build out of source under build/
# (scripts/configure-tree says what each tree is). `make test` is scripts/run-tests: four trees
# built, then every test, with a timed line per phase.
# `make soak` runs the HUD on a private X server for SOAK_MINUTES at the fastest interval,
# summoning it and opening cards, and fails when its memory, descriptors or threads keep growing.
# `make package` builds the Debian package build/glintdeck_VERSION_ARCH.deb from an optimised tree.
# `make fuzz` fuzzes every parser for FUZZ_SECONDS each (FUZZ_TARGETS="preferences ..." picks
# some), keeping what it finds in build/fuzz-corpus.
BUILD      := build
# Not build/bench: the main tree writes its bench folder there, and two trees in one folder
# overwrite each other's test lists.
BENCH      := build/release
FUZZ       := build/fuzz
PACKAGE    := build/package
FUZZ_SECONDS ?= 300
FUZZ_TARGETS ?=
SOAK_MINUTES ?= 10
FOLDERS     = $(wildcard core samplers platform presentation settings views shell settings_window \
                app cli tests bench fuzz)
SOURCES     = $(shell find $(FOLDERS) \( -name '*.h' -o -name '*.cpp' \) -not -path 'tests/fixtures/*')

.PHONY: all deps configure build test run package bench fuzz soak format

all: build

deps:
	@scripts/install-deps $(DEPS_OPTIONS)

# What only the tests need serves these too: X servers, a window manager, clang's libFuzzer.
bench fuzz soak: DEPS_OPTIONS := --tests

configure: deps
	@scripts/configure-tree main

build: configure
	@cmake --build $(BUILD)

# Installs the test-only packages too, and stops itself at TEST_MINUTES (75).
test:
	@scripts/run-tests

run: configure
	@cmake --build $(BUILD) --target glintdeck glintdeck-stats
	@scripts/run-glintdeck $(BUILD)

# An optimised tree of its own, only what the package holds, and the .deb in build/.
package: deps
	@scripts/configure-tree package
	@cmake --build $(PACKAGE) --target glintdeck_package_contents
	@cd $(PACKAGE) && cpack -B $(CURDIR)/$(BUILD)

# Optimised build, then the micro-benchmarks and the table against the peers (bench/run says
# what it measures; BENCH_QUICK=1 for a two-minute trial).
bench: deps
	@scripts/configure-tree release
	@cmake --build $(BENCH) --target glintdeck_bench_programs
	@bench/run

fuzz: deps
	@scripts/configure-tree fuzz
	@cmake --build $(FUZZ)
	@scripts/run-fuzzers $(FUZZ) $(FUZZ_SECONDS) build/fuzz-corpus $(FUZZ_TARGETS)

soak: configure
	@cmake --build $(BUILD) --target glintdeck
	@tests/e2e/x11-session --wm openbox -- tests/e2e/soak-run \
	    --seconds $$(( $(SOAK_MINUTES) * 60 )) $(BUILD)/app/glintdeck

format:
	@clang-format -i $(SOURCES)
