# Thin wrapper over the CMake presets; see README.md.
.PHONY: all setup build test test-host test-fuzz test-win32 test-reproducible fuzz bench run clean

all: build

# INSTALLER_PACKAGE=path/to/plugin.msi: the package the installer carries,
# instead of the one built from res/package/plugin.wxs (README.md, "For
# release engineers"); a relative path is taken from this folder. Each call
# configures the win32 build with it, or without it when it is not given.
WIN32_CONFIGURE = cmake --preset win32 -DINSTALLER_PACKAGE="$(INSTALLER_PACKAGE)"

setup:
	@bash scripts/setup-debian.sh

build: setup
	cmake --preset host >/dev/null
	cmake --build --preset host
	$(WIN32_CONFIGURE) >/dev/null
	cmake --build --preset win32

test-host: setup
	cmake --preset host >/dev/null
	cmake --build --preset host
	ctest --preset host

# The shipped 32-bit build's Wine layer (static checks, Win32 suites, package
# installs, end-to-end scenarios) on one virtual display. Where the kernel
# runs no 32-bit code, all of it runs in the chroot of wine32-root.sh, with
# qemu-i386 emulating the 32-bit side (scripts/wine-layer.sh). Then each
# scenario's line, which ctest keeps to itself when the suite passes. The
# tests that build the installer again (label native_build) need the cross
# toolchain and run first, on the machine itself.
test-win32: setup
	$(WIN32_CONFIGURE) >/dev/null
	cmake --build --preset win32
	ctest --preset win32 -L native_build
	@bash scripts/wine-layer.sh bash scripts/with-display.sh bash -c 'ctest --preset win32 -LE native_build; rc=$$?; bash scripts/wine-stop.sh; exit $$rc'; \
	  rc=$$?; echo "End-to-end scenarios, by prefix kind (win64: WoW64; win32: 32-bit):"; \
	  grep -E '^(PASS|FAIL|SKIP)  |^ +FAIL line|^e2e: [0-9]+ s' build/win32/Testing/Temporary/LastTest.log; exit $$rc

# Wine through its 64-bit loader only: the bench's Wine figures where the
# 32-bit side would be emulated (emulation changes the times).
WINE64 = PATH="$(CURDIR)/scripts/wine64-loader:$$PATH" WINELOADER=/usr/lib/wine/wine64

# Each fuzz target for a few seconds from its seeds, with a fixed seed.
test-fuzz: setup
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	ctest --preset fuzz

# Two builds of the last commit in two folders give the same signed bytes.
test-reproducible: setup
	bash scripts/check-reproducible.sh

test: test-host test-fuzz test-win32 test-reproducible

# Long fuzz runs on corpora kept in build/fuzz-corpus/: FUZZ_RUNS executions
# per target (10 million unless told), or FUZZ_SECONDS each when set.
fuzz: setup
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	bash tests/fuzz/fuzz_long.sh build/fuzz build/fuzz-corpus build/fuzz-findings

# Every figure against its floor, in one table (see README.md): the handler
# from a host build without sanitizers, the size from the win32 build, the
# Wine figures from the win32 build, or from the win64 one where the kernel
# runs no 32-bit code and the 32-bit side would be emulated. Fails when a
# figure misses.
BENCH_WINE_PRESET = $(shell bash scripts/runs-ia32.sh && echo win32 || echo win64)
bench:
	@bash scripts/setup-debian.sh bench
	cmake --preset host -B build/bench -DCMAKE_BUILD_TYPE=Release -DINSTALLER_SANITIZE=OFF -DINSTALLER_BENCH=ON >/dev/null
	cmake --build build/bench --target handler_bench handler_callgrind
	$(WIN32_CONFIGURE) >/dev/null
	cmake --build --preset win32
	cmake --build --preset win32 --target bench_peer_size
	cmake --preset $(BENCH_WINE_PRESET) >/dev/null
	cmake --build --preset $(BENCH_WINE_PRESET)
	cmake --build --preset $(BENCH_WINE_PRESET) --target win32_bench
	$(if $(filter 0,$(BENCH_SCALE)),,cmake --build --preset $(BENCH_WINE_PRESET) --target win32_bench_scale)
	$(if $(filter win64,$(BENCH_WINE_PRESET)),$(WINE64)) bash bench/figures.sh build/bench build/win32 build/bench/figures.txt build/$(BENCH_WINE_PRESET)

# The installer under Wine in a fresh demo prefix: a window to click through
# with a display, a scripted walk-through with screenshots without one.
run: build
	@bash scripts/wine-layer.sh bash scripts/demo.sh

clean:
	bash scripts/wine-stop.sh
	rm -rf build
