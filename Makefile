# Front end for building, running and testing on Debian. Every target that
# needs tools installs what is missing first (tools/install-deps.sh).
BUILD_DIR ?= build
TOOLCHAIN := cmake/toolchain-i686-mingw32.cmake
JOBS ?= $(shell nproc)

.PHONY: all build test run dist bench deps configure format clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD_DIR)/CMakeCache.txt ]; then \
	  cmake -S . -B $(BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN) -DCMAKE_BUILD_TYPE=Release; \
	fi

build: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS)

# Every test (unit, in-process GUI, end to end) under Wine on a virtual
# display of its own; the summary of ctest comes last.
test: build
	@tools/with-xvfb.sh --prefix $(BUILD_DIR)/wineprefix \
	  ctest --test-dir $(BUILD_DIR) --output-on-failure

# The program in a Wine desktop window, on the simulated line.
run: build
	@tools/run.sh $(BUILD_DIR)

# The Windows installer and a zip of ADSL.EXE with the README.
dist: build
	@ls -1 $(BUILD_DIR)/dist/*.exe $(BUILD_DIR)/dist/*.zip

# Benchmarks: ratios against a plain Win32 program, idle CPU, repaint time
# and the dial soak (tools/bench/run.sh).
bench: build
	@tools/bench/run.sh $(BUILD_DIR)

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR)
