# The two commands a newcomer needs: `make run` and `make test`. Both install what is
# missing first (scripts/install-deps), then configure and build out of source under build/.
BUILD      := build
BENCH      := build/bench
LAUNCHER   := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache,)
CONFIGURE  := cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGLINTDECK_WERROR=ON \
              -DGLINTDECK_SANITIZER_BUILDS=ON $(LAUNCHER)
FOLDERS     = $(wildcard core samplers platform presentation settings views shell settings_window \
                cli tests bench)
SOURCES     = $(shell find $(FOLDERS) \( -name '*.h' -o -name '*.cpp' \) -not -path 'tests/fixtures/*')

.PHONY: all deps configure build test run bench format

all: build

deps:
	@scripts/install-deps

configure: deps
	@$(CONFIGURE) >/dev/null

build: configure
	@cmake --build $(BUILD)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j2

run: configure
	@cmake --build $(BUILD) --target glintdeck-stats
	@$(BUILD)/cli/glintdeck-stats --watch

# Optimised build, then the micro-benchmarks and the table against the peers (bench/run says
# what it measures; BENCH_QUICK=1 for a two-minute trial).
bench: deps
	@cmake -S . -B $(BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release $(LAUNCHER) >/dev/null
	@cmake --build $(BENCH) --target glintdeck_bench_programs
	@bench/run

format:
	@clang-format -i $(SOURCES)
