# Korventa: build, run and test from Linux (cross-built with mingw-w64, run under Wine).
BUILD   := build
CMAKE   := cmake
JOBS    ?= $(shell nproc)

.PHONY: all setup build run test bench dist clean

all: build

setup:
	@cmake/install-deps.sh

$(BUILD)/CMakeCache.txt: | setup
	@$(CMAKE) -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null

build: setup $(BUILD)/CMakeCache.txt
	@$(CMAKE) --build $(BUILD) -j $(JOBS) -- --no-print-directory

run: build
	@cmake/run.sh $(BUILD)/Korventa.exe

test: build
	@cmake/session.sh ctest --test-dir $(BUILD) --output-on-failure

# Start-up, click, memory and size of the program, each against its baseline, in one run under
# Wine in a prefix of its own; prints a table and writes $(BUILD)/bench.json (docs/performance.md).
bench: build
	@$(CMAKE) --build $(BUILD) --target korventa_bench -- --no-print-directory
	@KORVENTA_BUILD_DIR=$(abspath $(BUILD)) WINEPREFIX=$(abspath $(BUILD))/wine-bench \
	  cmake/session.sh wine $(BUILD)/tests/bench/korventa_bench.exe $(abspath $(BUILD))/bench.json

# The portable dist/Korventa.exe and the installer dist/Korventa-<version>-setup.exe (NSIS).
dist: build
	@cmake/install-deps.sh nsis
	@$(CMAKE) -S . -B $(BUILD) >/dev/null
	@$(CMAKE) --build $(BUILD) --target dist -- --no-print-directory

clean:
	rm -rf $(BUILD)
