# Everything a newcomer needs on a fresh Debian machine: `make demo` and `make test`.

SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
WINDOWS := build/windows
WINDOWS64 := build/windows64
SANITIZE := build/sanitize
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build build-native build-windows build-windows64 build-sanitize test test-native test-windows test-windows-binary test-windows64 test-sanitize test-kit demo bench fuzz dist clean

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

build-windows64: deps $(WINDOWS64)/CMakeCache.txt
	cmake --build $(WINDOWS64) -j $(JOBS)

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
	@scripts/wine-tests.sh $(WINDOWS) "windows (32-bit, $$(scripts/wine32.sh --way 2>/dev/null | sed 's/^native$$/native Wine/'))"

# What needs no Wine: the checks of the built DLL's file.
test-windows-binary: build-windows
	cd $(WINDOWS) && ctest --output-on-failure -j 1 -R '^check_dll'

# Every Windows suite, built for 64-bit Windows and run against the 64-bit DLL
# under wine64, which runs wherever the kernel runs 64-bit programs.
test-windows64: build-windows64
	@scripts/wine-tests.sh $(WINDOWS64) "windows64 (64-bit, wine64)"

# The release kit's checks, cheaply: the version rules, signing with a
# throwaway certificate, and the win64 kit with every check of make dist but
# its second build.
test-kit: build-native build-windows64
	@JOBS=$(JOBS) tests/kit/kit-test.sh

test: deps
	@scripts/run-tests.sh

# Under Wine through the 32-bit DLL, or the 64-bit one where 32-bit programs
# cannot run; the script builds what it needs in that tree.
demo: build $(WINDOWS64)/CMakeCache.txt
	@JOBS=$(JOBS) scripts/shop-demo.sh

bench: build-native
	@scripts/bench.sh

fuzz: deps
	@scripts/fuzz.sh

# The kits for host vendors and shops, build/dist/IWVestra-<version>-win32.zip
# and -win64.zip, checked and proven reproducible by a second build in a
# temporary folder. Signed when given a certificate and its key, as make
# variables or in the environment (scripts/sign.sh):
#   make dist IWV_SIGN_CERT=cert.pem IWV_SIGN_KEY=key.pem IWV_TIMESTAMP_URL=http://timestamp.example
SIGNING := IWV_SIGN_CERT IWV_SIGN_KEY IWV_SIGN_PASS_FILE IWV_TIMESTAMP_URL IWV_SIGN_CA IWV_TIMESTAMP_CA
export $(SIGNING)
dist: deps $(NATIVE)/CMakeCache.txt $(WINDOWS)/CMakeCache.txt $(WINDOWS64)/CMakeCache.txt
	@JOBS=$(JOBS) scripts/dist.sh

clean:
	rm -rf build
