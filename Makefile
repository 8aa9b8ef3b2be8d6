# Korventa: build, run and test from Linux (cross-built with mingw-w64, run under Wine).
BUILD   := build
CMAKE   := cmake
JOBS    ?= $(shell nproc)

.PHONY: all setup build run test bench clean

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

clean:
	rm -rf $(BUILD)
