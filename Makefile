# Thin wrapper over the CMake presets; see README.md.
.PHONY: all setup build test test-host test-fuzz test-win32 test-win64 fuzz bench run clean

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
	@bash scripts/needs-ia32.sh true 2>/dev/null || $(MAKE) --no-print-directory test-win64

# Wine through its 64-bit loader only.
WINE64 = PATH="$(CURDIR)/scripts/wine64-loader:$$PATH" WINELOADER=/usr/lib/wine/wine64

# Where the kernel cannot run 32-bit programs, Wine cannot run the 32-bit
# build and its Wine tests are skipped: the same sources, built for 64-bit
# Windows, then run them in 64-bit prefixes through Wine's 64-bit loader.
test-win64: setup
	cmake --preset win64 >/dev/null
	cmake --build --preset win64
	$(WINE64) bash scripts/with-display.sh bash -c 'ctest --preset win64; rc=$$?; bash scripts/wine-stop.sh; exit $$rc'

# Each fuzz target for a few seconds from its seeds, with a fixed seed.
test-fuzz: setup
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	ctest --preset fuzz

test: test-host test-fuzz test-win32

# Long fuzz runs on corpora kept in build/fuzz-corpus/: FUZZ_RUNS executions
# per target (10 million unless told), or FUZZ_SECONDS each when set.
fuzz: setup
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	bash tests/fuzz/fuzz_long.sh build/fuzz build/fuzz-corpus build/fuzz-findings

# Every figure against its floor, in one table (see README.md): the handler
# from a host build without sanitizers, the size from the win32 build, the
# Wine figures from the win32 build, or from the win64 one where the kernel
# cannot run 32-bit programs (as for test-win64). Fails when a figure misses.
BENCH_WINE_PRESET = $(shell bash scripts/needs-ia32.sh true >/dev/null 2>&1 && echo win32 || echo win64)
bench: setup
	cmake --preset host -B build/bench -DCMAKE_BUILD_TYPE=Release -DINSTALLER_SANITIZE=OFF -DINSTALLER_BENCH=ON >/dev/null
	cmake --build build/bench --target handler_bench handler_callgrind
	cmake --preset win32 >/dev/null
	cmake --build --preset win32
	cmake --preset $(BENCH_WINE_PRESET) >/dev/null
	cmake --build --preset $(BENCH_WINE_PRESET)
	cmake --build --preset $(BENCH_WINE_PRESET) --target win32_bench
	$(if $(filter win64,$(BENCH_WINE_PRESET)),$(WINE64)) bash bench/figures.sh build/bench build/win32 build/bench/figures.txt build/$(BENCH_WINE_PRESET)

# The installer under Wine in a fresh demo prefix: a window to click through
# with a display, a scripted walk-through with screenshots without one.
run: build
	@if bash scripts/needs-ia32.sh true 2>/dev/null; then bash scripts/demo.sh; else \
	  echo "run: this machine cannot run 32-bit programs: showing the 64-bit build of the same sources"; \
	  cmake --preset win64 >/dev/null && cmake --build --preset win64 && \
	  $(WINE64) DEMO_BUILD=$(CURDIR)/build/win64 bash scripts/demo.sh; fi

clean:
	bash scripts/wine-stop.sh
	rm -rf build
