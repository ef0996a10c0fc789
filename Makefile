# Thin front end over CMake. `make play` and `make test` work from a fresh clone.
# Each build flavour is a preset in CMakePresets.json (flags, folder); the folders here match.
RELEASE_DIR := build/release
TEST_DIR    := build/test
JOBS        ?= $(shell nproc)

# $(call configure,PRESET[,extra cmake arguments]), $(call build,PRESET[,targets]), $(call run_tests,PRESET)
configure = cmake --preset $(1)$(if $(2), $(2))
build     = cmake --build --preset $(1) -j $(JOBS)$(if $(2), --target $(2))
run_tests = ctest --preset $(1) -j $(JOBS)

.PHONY: all deps release play test assets assets-preview bench fuzz clean golden windows windows-check
.PHONY: web web-serve web-check desktop-check

all: release

deps:
	@scripts/install-deps

release: deps
	$(call configure,release)
	$(call build,release)

assets: release
	$(call build,release,assets)

# Builds only the game and its assets, then runs it with the assets folder as working directory.
play: deps
	$(call configure,release)
	$(call build,release,vork assets)
	cd $(RELEASE_DIR)/assets && ../vork

assets-preview: release
	$(call build,release,assets-preview)

# Tests build with AddressSanitizer and UndefinedBehaviorSanitizer.
test: deps
	$(call configure,test)
	$(call build,test)
	$(call run_tests,test)

# Rewrites the golden runs' expected logs (tests/golden/*.log) after a deliberate change.
golden: deps
	$(call configure,test)
	$(call build,test,golden-update)

bench: release
	$(RELEASE_DIR)/bench/vork-bench

# Every fuzz target for FUZZ_SECONDS each (default 60; FUZZ_TARGETS picks some): see scripts/run-fuzzers.
# The fuzz preset builds them all (fuzz/CMakeLists.txt lists them) and the seed writer.
fuzz: deps
	$(call configure,fuzz)
	$(call build,fuzz)
	scripts/run-fuzzers build/fuzz/fuzz

# Windows: vork.exe cross-built with mingw-w64 over the system's Win32 and DirectX, and a folder
# to copy to a Windows PC (the exe, the assets made on this machine, a README).
WINDOWS_DIR := build/windows
windows: deps
	$(call configure,release)
	$(call build,release,assets)
	$(call configure,windows)
	$(call build,windows)
	rm -rf $(WINDOWS_DIR)/dist && mkdir -p $(WINDOWS_DIR)/dist
	cp $(WINDOWS_DIR)/vork.exe $(RELEASE_DIR)/assets/* $(WINDOWS_DIR)/dist/
	sed 's/$$/\r/' src/win/README.txt > $(WINDOWS_DIR)/dist/README.txt

# Runs the Windows build under Wine in a virtual X server: see scripts/windows-check.
windows-check: windows
	scripts/install-deps windows-check
	$(call build,release,vork-replay)
	timeout 1200 scripts/windows-check $(WINDOWS_DIR)

# A web browser: build/web holds index.html (with .js, .wasm and .data) for any static web
# server, and vork-offline.html, one file that also opens from the disk. Built with Debian's
# emscripten (the web preset, in build/web-build, packing build/release/assets); the preset's
# NODE_PATH lets its tools find their modules when another Node.js comes first.
WEB_DIR      := build/web
WEB_PORT     ?= 8000
web: deps
	scripts/install-deps web
	$(call configure,release)
	$(call build,release,assets)
	$(call configure,web)
	$(call build,web)

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
	$(call build,release,vork-replay)
	timeout 600 scripts/web-check $(WEB_DIR) $(RELEASE_DIR)

# A whole game in headless Chromium, played by vork-replay's autopilot in a test build of the
# page (build/web-pilot, never shipped) with real key events: about four minutes.
.PHONY: web-play-check
WEB_PILOT_DIR := build/web-pilot
web-play-check: web
	scripts/install-deps web-check
	$(call build,release,vork-replay)
	$(call build,web,vork_web_pilot)
	timeout 900 scripts/web-check --play $(WEB_PILOT_DIR) $(RELEASE_DIR)

clean:
	rm -rf build

# Transcribes the spoken prompts with an independent recogniser: a measurement, not a test.
.PHONY: speech-check
speech-check: assets
	scripts/speech-check $(RELEASE_DIR)/assets

# Plays the generated tune on the SDL host under Xvfb into SDL's disk audio file and checks the
# stream against the headless render, sample for sample: see scripts/check-music-audio.
.PHONY: music-check
music-check: deps
	scripts/install-deps desktop-check
	$(call configure,release)
	$(call build,release,vork-tune assets)
	timeout 300 scripts/check-music-audio $(RELEASE_DIR)

# Installing: `make install PREFIX=/usr/local DESTDIR=` puts the game, its data, launcher, desktop
# entry, metadata and icons under DESTDIR/PREFIX and lists every file it wrote, DESTDIR included,
# in INSTALLED (its own copy of the manifest, which test installs cannot overwrite);
# `make uninstall` removes exactly those files. `make deb` builds build/release/vork_*.deb.
PREFIX    ?= /usr/local
DESTDIR   ?=
INSTALLED := $(RELEASE_DIR)/installed-files.txt

.PHONY: install uninstall deb deb-check

install: deps
	$(call configure,release,-DCMAKE_INSTALL_PREFIX=$(PREFIX))
	$(call build,release)
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
	$(call configure,test)
	$(call build,test,test_hardening)
	cd $(TEST_DIR)/tests/work/test_hardening && VORK_HARDENING_FULL=1 \
	    ../../test_hardening --gtest_filter='FaultSweep.*:DamagedAssets.*'

# The same suite built as users get it: Release, optimised, with the C++ library's assertions on,
# since optimisation exposes faults a debug build hides. `.ci/run` runs it after `make test`.
.PHONY: test-release
test-release: deps
	$(call configure,test-release)
	$(call build,test-release)
	$(call run_tests,test-release)

# Line and branch coverage of src/ (the library, the game and the platform layers built on this
# machine) under the whole suite, without sanitizers: a summary here and an HTML report in
# build/coverage/coverage.html (source paths recorded whole, -fprofile-abs-path, so gcov finds them
# from any directory). Branches the compiler adds for exceptions are left out. The report
# is written even when a test fails; the target then fails too.
COVERAGE_DIR := build/coverage
.PHONY: coverage
coverage: deps
	scripts/install-deps coverage
	$(call configure,coverage)
	$(call build,coverage)
	find $(COVERAGE_DIR) -name '*.gcda' -delete
	$(call run_tests,coverage); status=$$?; \
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
	$(call configure,release)
	$(call build,release,test_monkey vork-soak assets)
	cd $(RELEASE_DIR)/tests/work/test_monkey && VORK_MONKEY_GAMES=$(SOAK_MONKEY_GAMES) \
	    VORK_MONKEY_MINUTES=$(SOAK_MONKEY_MINUTES) ../../test_monkey --gtest_filter='MonkeyTest.*'
	$(RELEASE_DIR)/tests/vork-soak --assets $(RELEASE_DIR)/assets --hours $(SOAK_HOURS)

# The library's API reference from the public headers' comments, in build/docs/html; any doxygen
# warning (a public declaration without its comment, a broken quote of the example) fails it.
.PHONY: docs
docs:
	scripts/install-deps docs
	rm -rf build/docs/html && mkdir -p build/docs
	doxygen docs/Doxyfile
