# The front door: `make run` and `make test` set up, build and go. CMake does the real work.
BUILD ?= build
SANITIZE_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 60

# Any report of AddressSanitizer, LeakSanitizer or UndefinedBehaviorSanitizer fails the test that made it.
# The programs the end-to-end test starts inherit these. tests/lsan.supp says which leaks of system
# libraries are let pass, and why.
SANITIZER_ENV = \
	ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# The Windows build's compiler, to check that the sources, the Windows-only ones included, still
# compile for Windows. Qt's own headers serve for both: they choose the platform's parts themselves.
# The POSIX thread model, as Windows builds of Qt use: it has std::thread.
WINDOWS_CXX ?= x86_64-w64-mingw32-g++-posix
QT_HEADERS ?= $(shell qtpaths6 --query QT_INSTALL_HEADERS 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)
WINDOWS_SOURCES = $(filter-out src/association/FreedesktopRegistry.cpp src/association/DesktopRegistration.cpp,\
	$(sort $(wildcard src/*/*.cpp))) main.cpp

# Korvid for Windows, built here and run under Wine. Qt for Windows comes from scripts/windows-qt.sh
# (cached under ~/.cache/korvid/, else unpacked from ../shared/tools/, else built from Debian's source).
WINDOWS_BUILD ?= build-windows
WINDOWS_PREFIX = $(CURDIR)/$(WINDOWS_BUILD)/wine-prefix

.PHONY: all setup build run test test-sanitize check-windows bench package fuzz clean \
	setup-windows windows test-windows bench-windows

all: build

setup:
	@./scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/korvid4

# The whole suite, then the whole suite again built with the sanitizers, then the Windows check.
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-sanitize
	$(MAKE) --no-print-directory check-windows

test-sanitize: setup
	cmake -S . -B $(SANITIZE_BUILD) -DKORVID_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen \
		ctest --output-on-failure -j $(JOBS)

# Every source compiled for Windows, without linking: no Windows Qt is needed to see that it still compiles.
check-windows: setup
	printf '%s\n' $(WINDOWS_SOURCES) | xargs -P $(JOBS) -n 1 $(WINDOWS_CXX) -std=c++20 -fsyntax-only \
		-Wall -Wextra -Wpedantic -Werror -Wno-attributes -Isrc \
		-I$(QT_HEADERS) -I$(QT_HEADERS)/QtCore -I$(QT_HEADERS)/QtGui -I$(QT_HEADERS)/QtWidgets
	@echo "All $(words $(WINDOWS_SOURCES)) sources compile for Windows."

# Wine and the rest that only the Windows build needs, apart so that `make test` does without them.
setup-windows: setup
	@./scripts/setup.sh windows

# The program, the test programs and the benchmark for Windows, then the zip a user unzips and runs:
# $(WINDOWS_BUILD)/Korvid-<version>-windows-x64.zip.
windows: setup-windows
	qt=$$(./scripts/windows-qt.sh) && cmake -G Ninja -S . -B $(WINDOWS_BUILD) -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/scripts/mingw-toolchain.cmake -DCMAKE_PREFIX_PATH="$$qt" \
		-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
		"-DCMAKE_CROSSCOMPILING_EMULATOR=env;KORVID_QT_WINDOWS=$$qt;WINEPREFIX=$(WINDOWS_PREFIX);$(CURDIR)/scripts/wine-run.sh" \
		$(CMAKE_FLAGS)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	cd $(WINDOWS_BUILD) && cpack -G ZIP

# Every test program as a Windows program under Wine, offscreen, with an X server for Wine itself;
# then the zip end to end in a fresh Wine (scripts/windows-endtoend.sh), its screens left beside it.
test-windows: windows
	cd $(WINDOWS_BUILD) && QT_QPA_PLATFORM=offscreen \
		xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j $(JOBS)
	./scripts/windows-endtoend.sh $(WINDOWS_BUILD)/Korvid-*-windows-x64.zip

# The benchmark's figures under Wine, beside those of `make bench` on the same machine.
bench-windows: windows
	cd $(WINDOWS_BUILD) && WINEPREFIX=$(WINDOWS_PREFIX) QT_QPA_PLATFORM=offscreen \
		$(CURDIR)/scripts/wine-run.sh korvid_bench.exe

# Benchmarks want an optimised build of their own.
bench: setup
	cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build build-release -j $(JOBS) --target korvid_bench korvid_bench_mod
	QT_QPA_PLATFORM=offscreen ./build-release/bench/korvid_bench
	./build-release/bench/korvid_bench_mod

# A Debian package in $(BUILD): sudo apt-get install ./$(BUILD)/korvid4_*.deb
package: build
	cd $(BUILD) && cpack -G DEB

# The reader and writer under libFuzzer for FUZZ_SECONDS, from the test fixtures. New inputs that
# reach new code go to $(FUZZ_BUILD)/corpus; an input that breaks a check is written to $(FUZZ_BUILD)/.
fuzz: setup
	cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	mkdir -p $(FUZZ_BUILD)/corpus
	$(FUZZ_BUILD)/fuzz_fbi -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/ \
		$(FUZZ_BUILD)/corpus tests/data

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) build-release $(WINDOWS_BUILD)
