# The front door: `make run` and `make test` set up, build and go. CMake does the real work.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all setup build run test bench clean

all: build

setup:
	@./scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/korvid4

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Benchmarks want an optimised build of their own.
bench: setup
	cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build build-release -j $(JOBS) --target korvid_bench
	QT_QPA_PLATFORM=offscreen ./build-release/bench/korvid_bench

clean:
	rm -rf $(BUILD)
