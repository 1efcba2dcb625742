# Thin wrapper over the CMake presets; see README.md.
.PHONY: all setup build test test-host test-fuzz test-win32 fuzz bench run clean

all: build

setup:
	@bash scripts/setup-debian.sh

build: setup
	cmake --preset host >/dev/null
	cmake --build --preset host
	cmake --preset win32 >/dev/null
	cmake --build --preset win32

test-host: setup
	cmake --preset host >/dev/null
	cmake --build --preset host
	ctest --preset host

test-win32: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32
	# One virtual display (with a window manager) for every Wine test.
	bash scripts/with-display.sh bash -c 'ctest --preset win32; rc=$$?; bash scripts/wine-stop.sh; exit $$rc'

# Each fuzz target for a few seconds from its seeds, with a fixed seed.
test-fuzz: setup
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	ctest --preset fuzz

test: test-host test-fuzz test-win32

# Long fuzz runs on corpora kept in build/fuzz-corpus/ (FUZZ_SECONDS each).
FUZZ_SECONDS ?= 600
FUZZ_TARGETS = fuzz_progress_parser:progress fuzz_common_data_parser:common_data fuzz_message_handler:handler
fuzz: setup
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	@for t in $(FUZZ_TARGETS); do \
	  target=$${t%%:*}; seeds=$${t#*:}; corpus=build/fuzz-corpus/$$target; \
	  mkdir -p $$corpus; \
	  build/fuzz/tests/fuzz/$$target $$corpus build/fuzz/tests/fuzz/seeds/$$seeds \
	    -dict=tests/fuzz/progress.dict -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 || exit 1; \
	done

# The handler's figures, from a build without sanitizers.
bench: setup
	cmake --preset host -B build/bench -DCMAKE_BUILD_TYPE=Release -DINSTALLER_SANITIZE=OFF -DINSTALLER_BENCH=ON >/dev/null
	cmake --build build/bench --target handler_bench handler_callgrind
	bash bench/figures.sh build/bench

# The installer under Wine in a fresh demo prefix: a window to click through
# with a display, a scripted walk-through with screenshots without one.
run: build
	@bash scripts/demo.sh

clean:
	bash scripts/wine-stop.sh
	rm -rf build
