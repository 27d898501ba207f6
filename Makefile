# Tapvox: the commands a developer needs are `make run`, `make test`, `make dist` and
# `make installer`.
# Each build kind lives in its own folder under $(BUILD); CMake does the real work.

BUILD ?= build
DIST := $(BUILD)/dist/Tapvox
CMAKE_GEN := -G Ninja
FUZZ_SECONDS ?= 600
SOAK_SECONDS ?= 600

.PHONY: all setup dist installer run test bench soak fuzz clean win32 win64 host native fuzzers

all: dist

setup:
	@bash scripts/setup.sh

win32: setup
	cmake -S . -B $(BUILD)/win32 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)/win32

win64: setup
	cmake -S . -B $(BUILD)/win64 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DTAPVOX_TESTS=OFF
	cmake --build $(BUILD)/win64

# Release build of the native tools: the scheme generator and the benchmarks.
host: setup
	cmake -S . -B $(BUILD)/host $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTAPVOX_TESTS=OFF -DTAPVOX_BENCH=ON
	cmake --build $(BUILD)/host

dist: win32 win64 host
	bash scripts/stage-dist.sh $(BUILD)

# The setup program, from the staged folder: $(BUILD)/installer/Tapvox-<version>-setup.exe.
installer: dist
	python3 scripts/build-installer.py $(DIST) $(BUILD)/installer

# Where the kernel runs no 32-bit programs, Wine runs the 64-bit build of the same sources.
run: dist
	bash scripts/wine-test-build.sh $(BUILD)
	bash scripts/run.sh $(BUILD)

# Native tests under AddressSanitizer and UBSan; ctest there also runs the Wine and end-to-end tests.
native: installer fuzzers
	bash scripts/wine-test-build.sh $(BUILD)
	cmake -S . -B $(BUILD)/native $(CMAKE_GEN) -C $(BUILD)/wine-tests.cmake -DCMAKE_BUILD_TYPE=Debug \
	  -DTAPVOX_SANITIZE=ON -DTAPVOX_BUILD_ROOT=$(abspath $(BUILD))
	cmake --build $(BUILD)/native

fuzzers: setup
	cmake -S . -B $(BUILD)/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAPVOX_FUZZ=ON -DTAPVOX_TESTS=OFF \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(BUILD)/fuzz

test: native
	ctest --test-dir $(BUILD)/native --output-on-failure -j2

bench: dist
	bash scripts/bench.sh $(BUILD)

# Typing at 15 keys a second for SOAK_SECONDS of typing; prints counts and latency as they go.
soak: dist
	bash scripts/soak.sh $(BUILD) $(SOAK_SECONDS)

# Long fuzzing sessions: FUZZ_SECONDS per target.
fuzz: fuzzers
	bash scripts/fuzz.sh $(BUILD)/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
