// Shared by the tests: every test starts on a fresh headless machine with the game's globals
// as at program start.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>
#include <algorithm>

#include "display/display.h"
#include "hosts/headless/headless_host.h"

// Installs a fresh headless host (clock at start_ms) and resets the display, the game globals
// and the platform's windows, messages, keys and faults.
void StartFreshMachine(uint32_t start_ms = 0);
// Creates a plain window for tests of the library alone and stores it in main_window.
HWND CreateTestWindow(int x = 0, int y = 0);
// Writes `text` to a file in the current directory.
void WriteTextFile(const std::string& path, const std::string& text);
// Reads a whole file; empty when it does not exist.
std::string ReadTextFile(const std::string& path);
// The RGB bytes of a PNG file, top row first, and its width; empty when it cannot be read.
std::vector<uint8_t> ReadPngRgb(const std::string& path, int* width = nullptr);

// DisplayShutdown, then the display record as before DisplayInit, so nothing is released twice.
void ShutDisplay();

// Base fixture: a fresh machine before each test, a shut display after it.
class FreshMachineTest : public ::testing::Test {
 protected:
  void SetUp() override { StartFreshMachine(); }
  void TearDown() override;
};

// The game's data files in an assets folder (pictures, sounds, palette; not the tune), sorted.
std::vector<std::string> GameDataFiles(const std::string& folder);
