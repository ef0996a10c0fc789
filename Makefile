# Thin front end over CMake. `make play` and `make test` work from a fresh clone.
RELEASE_DIR := build/release
TEST_DIR    := build/test
JOBS        ?= $(shell nproc)

.PHONY: all deps release play test assets assets-preview bench fuzz clean golden

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

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DVORK_FUZZ=ON
	cmake --build build/fuzz -j $(JOBS) --target palette_file_fuzz key_script_fuzz load_wav_fuzz

clean:
	rm -rf build
