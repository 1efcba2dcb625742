# Thin wrapper over the CMake presets; see README.md.
.PHONY: all setup build test test-host test-win32 run clean

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

test: test-host test-win32

run:
	@echo "make run arrives with the installer window; for now: make test"

clean:
	bash scripts/wine-stop.sh
	rm -rf build
