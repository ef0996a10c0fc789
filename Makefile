# Thin front end over CMake. `make play` and `make test` work from a fresh clone.
RELEASE_DIR := build/release
TEST_DIR    := build/test
JOBS        ?= $(shell nproc)

.PHONY: all deps release play test assets assets-preview bench fuzz clean golden windows windows-check
.PHONY: web web-serve web-check desktop-check

all: release

deps:
	@scripts/install-deps

release: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j $(JOBS)

assets: release
	cmake --build $(RELEASE_DIR) --target assets

# Builds only the game and its assets, then runs it with the assets folder as working directory.
play: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target vork assets
	cd $(RELEASE_DIR)/assets && ../vork

assets-preview: release
	cmake --build $(RELEASE_DIR) --target assets-preview

# Tests build with AddressSanitizer and UndefinedBehaviorSanitizer.
test: deps
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DVORK_SANITIZE=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	ctest --test-dir $(TEST_DIR) --output-on-failure -j $(JOBS)

# Rewrites the golden runs' expected logs (tests/golden/*.log) after a deliberate change.
golden: deps
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DVORK_SANITIZE=ON
	cmake --build $(TEST_DIR) -j $(JOBS) --target golden-update

bench: release
	$(RELEASE_DIR)/bench/vork-bench

# Every fuzz target for FUZZ_SECONDS each (default 60; FUZZ_TARGETS picks some): see scripts/run-fuzzers.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DVORK_FUZZ=ON
	cmake --build build/fuzz -j $(JOBS) --target palette_file_fuzz key_script_fuzz vector_fuzz bitmap_file_fuzz load_wav_fuzz load_midi_fuzz bitmap_seed_writer
	scripts/run-fuzzers build/fuzz/fuzz

# Windows: vork.exe cross-built with mingw-w64 over the system's Win32 and DirectX, and a folder
# to copy to a Windows PC (the exe, the assets made on this machine, a README).
WINDOWS_DIR := build/windows
windows: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target assets
	cmake -S . -B $(WINDOWS_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build $(WINDOWS_DIR) -j $(JOBS)
	rm -rf $(WINDOWS_DIR)/dist && mkdir -p $(WINDOWS_DIR)/dist
	cp $(WINDOWS_DIR)/vork.exe $(RELEASE_DIR)/assets/* $(WINDOWS_DIR)/dist/
	sed 's/$$/\r/' src/win/README.txt > $(WINDOWS_DIR)/dist/README.txt

# Runs the Windows build under Wine in a virtual X server: see scripts/windows-check.
windows-check: windows
	scripts/install-deps windows-check
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target vork-replay
	timeout 1200 scripts/windows-check $(WINDOWS_DIR)

# A web browser: build/web holds index.html (with .js, .wasm and .data) for any static web
# server, and vork-offline.html, one file that also opens from the disk. Built with Debian's
# emscripten; NODE_PATH lets its tools find their modules when another Node.js comes first.
WEB_DIR      := build/web
WEB_BUILD    := build/web-build
WEB_PORT     ?= 8000
web: deps
	scripts/install-deps web
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target assets
	NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
	    -DVORK_WEB_ASSETS=$(abspath $(RELEASE_DIR)/assets) -DVORK_WEB_OUT=$(abspath $(WEB_DIR))
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD) -j $(JOBS)

# Serves the page at http://127.0.0.1:$(WEB_PORT)/ for a person to play.
web-serve: web
	@echo "Open http://127.0.0.1:$(WEB_PORT)/ in a web browser (Ctrl+C stops the server)"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory $(WEB_DIR)

# Plays the desktop game in virtual X servers under openbox, twm and no window manager: hidden in
# play, a keyboard grab, a second start, no sound, screen size changes. See scripts/desktop-check.
desktop-check: release
	scripts/install-deps desktop-check
	timeout 600 scripts/desktop-check $(RELEASE_DIR)

# Plays the page in headless Chromium and checks what it shows and plays: see scripts/web-check.
web-check: web
	scripts/install-deps web-check
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target vork-replay
	timeout 600 scripts/web-check $(WEB_DIR) $(RELEASE_DIR)

# A whole game in headless Chromium, played by vork-replay's autopilot in a test build of the
# page (build/web-pilot, never shipped) with real key events: about four minutes.
.PHONY: web-play-check
WEB_PILOT_DIR := build/web-pilot
web-play-check: web
	scripts/install-deps web-check
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target vork-replay
	NODE_PATH=/usr/share/nodejs cmake -S . -B $(WEB_BUILD) -DVORK_WEB_PILOT_OUT=$(abspath $(WEB_PILOT_DIR))
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD) -j $(JOBS) --target vork_web_pilot
	timeout 900 scripts/web-check --play $(WEB_PILOT_DIR) $(RELEASE_DIR)

clean:
	rm -rf build

# Transcribes the spoken prompts with an independent recogniser: a measurement, not a test.
.PHONY: speech-check
speech-check: assets
	scripts/speech-check $(RELEASE_DIR)/assets

# Installing: `make install PREFIX=/usr/local DESTDIR=` puts the game, its data, launcher, desktop
# entry, metadata and icons under DESTDIR/PREFIX and lists every file it wrote, DESTDIR included,
# in INSTALLED (its own copy of the manifest, which test installs cannot overwrite);
# `make uninstall` removes exactly those files. `make deb` builds build/release/vork_*.deb.
PREFIX    ?= /usr/local
DESTDIR   ?=
INSTALLED := $(RELEASE_DIR)/installed-files.txt

.PHONY: install uninstall deb deb-check

install: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	DESTDIR=$(DESTDIR) cmake --install $(RELEASE_DIR)
	sed 's|^|$(DESTDIR)|' $(RELEASE_DIR)/install_manifest.txt > $(INSTALLED)

uninstall:
	DESTDIR= cmake -DMANIFEST=$(CURDIR)/$(INSTALLED) -P packaging/uninstall.cmake
	rm -f $(INSTALLED)

deb: release
	cd $(RELEASE_DIR) && cpack -G DEB

# Lintian, the package's file list against the install, install and removal in a scratch root.
deb-check: deb
	tests/install/deb_check.sh $(RELEASE_DIR) .

# The fault sweep and the damaged-file runs over every platform call and every damaged file,
# rather than the even sample `make test` runs (tests/hardening; long: see the README).
.PHONY: hardening-full
hardening-full: deps
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DVORK_SANITIZE=ON
	cmake --build $(TEST_DIR) -j $(JOBS) --target test_hardening
	cd $(TEST_DIR)/tests/work/test_hardening && VORK_HARDENING_FULL=1 \
	    ../../test_hardening --gtest_filter='FaultSweep.*:DamagedAssets.*'

# The same suite built as users get it: Release, optimised, with the C++ library's assertions on,
# since optimisation exposes faults a debug build hides. `.ci/run` runs it after `make test`.
TEST_RELEASE_DIR := build/test-release
.PHONY: test-release
test-release: deps
	cmake -S . -B $(TEST_RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS
	cmake --build $(TEST_RELEASE_DIR) -j $(JOBS)
	ctest --test-dir $(TEST_RELEASE_DIR) --output-on-failure -j $(JOBS)

# Line and branch coverage of src/ (the library, the game and the platform layers built on this
# machine) under the whole suite, without sanitizers: a summary here and an HTML report in
# build/coverage/coverage.html (source paths recorded whole, -fprofile-abs-path, so gcov finds them
# from any directory). Branches the compiler adds for exceptions are left out. The report
# is written even when a test fails; the target then fails too.
COVERAGE_DIR := build/coverage
.PHONY: coverage
coverage: deps
	scripts/install-deps coverage
	cmake -S . -B $(COVERAGE_DIR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="--coverage -fprofile-abs-path" \
	    -DCMAKE_C_FLAGS="--coverage -fprofile-abs-path" -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage
	cmake --build $(COVERAGE_DIR) -j $(JOBS)
	find $(COVERAGE_DIR) -name '*.gcda' -delete
	ctest --test-dir $(COVERAGE_DIR) --output-on-failure -j $(JOBS); status=$$?; \
	gcovr --root . --object-directory $(COVERAGE_DIR) --filter 'src/' \
	    --exclude-throw-branches --exclude-unreachable-branches -j $(JOBS) \
	    --html-details $(COVERAGE_DIR)/coverage.html --txt $(COVERAGE_DIR)/coverage.txt \
	    --print-summary && exit $$status

# Long runs headless in the Release build: the monkey test over SOAK_MONKEY_GAMES games of
# SOAK_MONKEY_MINUTES virtual minutes, then the autopilot playing game after game for SOAK_HOURS
# virtual hours with the process's memory printed at the start and at the end (must stay flat).
SOAK_HOURS          ?= 8
SOAK_MONKEY_GAMES   ?= 100
SOAK_MONKEY_MINUTES ?= 10
.PHONY: soak
soak: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target test_monkey vork-soak assets
	cd $(RELEASE_DIR)/tests/work/test_monkey && VORK_MONKEY_GAMES=$(SOAK_MONKEY_GAMES) \
	    VORK_MONKEY_MINUTES=$(SOAK_MONKEY_MINUTES) ../../test_monkey --gtest_filter='MonkeyTest.*'
	$(RELEASE_DIR)/tests/vork-soak --assets $(RELEASE_DIR)/assets --hours $(SOAK_HOURS)
