# Front end for building, running and testing on Debian. Every target that
# needs tools installs what is missing first (tools/install-deps.sh).
BUILD_DIR ?= build
TOOLCHAIN := cmake/toolchain-i686-mingw32.cmake
JOBS ?= $(shell nproc)

.PHONY: all build test run deps configure format clean

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

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR)
