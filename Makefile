# make run: set up, build and start the editor on a generated sample game.
# make test: set up, build and run every test.
# make fuzz: build the fuzz targets with clang and run each for FUZZ_SECONDS (60).
# make run-home: the editor on a generated home folder with the game in every place.
# make windows: adultify.exe, adultify-cli.exe and the tests for Windows (MinGW), dist/*-windows.zip.
# make windows-test: the same, then the Windows tests under Wine.
# make package: the Debian package, written to dist/.
# make screenshots-windows: each window of adultify.exe under Wine, PNG in build-windows/screenshots.
BUILD ?= build
ASAN_BUILD ?= build-asan
# Optimised, with line tables: a backtrace names each line, a heavy file compiles in about 30 %
# less time than with full debug information, and the package strips both anyway. For a
# debugger's view of the variables: make CMAKE_FLAGS=-DCMAKE_BUILD_TYPE=Debug.
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"

.PHONY: all setup build test run run-home sanitize fuzz bench screenshots package windows \
	windows-test screenshots-windows clean

all: build

setup:
	@sh scripts/setup-debian.sh

build: setup
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

run: build
	@sh scripts/run-sample.sh $(BUILD)

run-home: build
	@sh scripts/run-sample.sh $(BUILD) home

sanitize: setup
	@sh scripts/configure-instrumented.sh $(ASAN_BUILD)
	cmake --build $(ASAN_BUILD)
	# The 200 kills test processes, not memory: it runs once, in the plain build.
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j2 -E cli_killed_during_adultify

fuzz:
	@sh scripts/fuzz.sh

screenshots: build
	for scale in 100 150 200; do \
		QT_QPA_PLATFORM=offscreen $(BUILD)/adultify-screenshots $(BUILD)/screenshots/$$scale \
			--scale $$scale || exit 1; \
	done

package: build
	@sh scripts/setup-debian.sh dpkg-dev
	rm -f $(BUILD)/cpack/*.deb
	cd $(BUILD) && cpack -B cpack
	mkdir -p dist
	cp $(BUILD)/cpack/*.deb dist/

windows:
	@sh scripts/build-windows.sh

# The Linux build too: the Windows CLI is compared with it.
windows-test: windows build
	@ADULTIFY_HOST_BUILD=$(CURDIR)/$(BUILD) sh scripts/windows-tests.sh

screenshots-windows: windows
	@sh scripts/screenshots-windows.sh build-windows

bench: build
	@sh scripts/run-benchmarks.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-windows dist
