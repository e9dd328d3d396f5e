# Everything a newcomer needs on a fresh Debian machine: `make demo` and `make test`.

SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
WINDOWS := build/windows
WINDOWS64 := build/windows64
SANITIZE := build/sanitize
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build build-native build-windows build-sanitize test test-native test-windows test-windows-binary test-windows64 test-sanitize demo bench fuzz dist clean

all: build

# Installs what is missing; does nothing when everything is there.
deps:
	@scripts/install-deps.sh

$(NATIVE)/CMakeCache.txt: | deps
	cmake -S . -B $(NATIVE) $(CMAKE_FLAGS)

$(WINDOWS)/CMakeCache.txt: | deps
	cmake -S . -B $(WINDOWS) $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake

$(WINDOWS64)/CMakeCache.txt: | deps
	cmake -S . -B $(WINDOWS64) $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake

$(SANITIZE)/CMakeCache.txt: | deps
	cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DIWV_SANITIZE=address,undefined

build-native: deps $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

build-windows: deps $(WINDOWS)/CMakeCache.txt
	cmake --build $(WINDOWS) -j $(JOBS)

build-sanitize: deps $(SANITIZE)/CMakeCache.txt
	cmake --build $(SANITIZE) -j $(JOBS)

build: build-native build-windows

test-native: build-native
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)

test-sanitize: build-sanitize
	cd $(SANITIZE) && ctest --output-on-failure -j $(JOBS)

# Wine tests run one at a time: they share one prefix and one wineserver,
# kept running for the whole run. Where the kernel runs no 32-bit programs,
# they run under qemu-i386 (scripts/wine32.sh).
test-windows: build-windows
	cd $(WINDOWS) && ./wine-run.sh --session ctest --output-on-failure -j 1

# What needs no Wine: the checks of the built DLL's file.
test-windows-binary: build-windows
	cd $(WINDOWS) && ctest --output-on-failure -j 1 -R '^check_dll'

# The Windows code below the 32-bit host interface (files, processes, the
# conversions), built for 64-bit Windows and run under wine64: what Wine can
# still test where the kernel runs no 32-bit programs.
WINDOWS64_TESTS := file_system_test process_test line_file_test words_test journal_test \
  driver_settings_test driver_runner_test lookup_converter_test count_converter_test
empty :=
space := $(empty) $(empty)
test-windows64: deps $(WINDOWS64)/CMakeCache.txt
	cmake --build $(WINDOWS64) -j $(JOBS) --target $(WINDOWS64_TESTS)
	cd $(WINDOWS64) && ./wine-run.sh --session ctest --output-on-failure -j 1 -R '^($(subst $(space),|,$(strip $(WINDOWS64_TESTS))))$$'

test: deps
	@scripts/run-tests.sh

demo: build
	@scripts/shop-demo.sh

bench: build-native
	@scripts/bench.sh

fuzz: deps
	@scripts/fuzz.sh

# The kit for host vendors and shops, build/dist/IWVestra-<version>-win32.zip,
# checked and proven reproducible by a second build in a temporary folder.
dist: deps $(WINDOWS)/CMakeCache.txt
	@JOBS=$(JOBS) scripts/dist.sh

clean:
	rm -rf build
