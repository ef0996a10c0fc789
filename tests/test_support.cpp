#include "test_support.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "display/error_log.h"
#include "display/frame.h"
#include "input/keyboard.h"
#include "gameplay/game_world.h"
#include "shell/game_shell.h"
#include "sound/sound_table.h"

namespace {

// Tests of one binary run in parallel in one folder; each works in a folder of its own so that
// the files it writes (the palette file above all) never meet another test's.
void EnterTestDirectory() {
  static const std::string base = std::filesystem::current_path().string();
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  if (test == nullptr) return;
  const std::string dir = base + "/" + test->test_suite_name() + "." + test->name();
  mkdir(dir.c_str(), 0755);
  if (chdir(dir.c_str()) != 0) ADD_FAILURE() << "cannot enter " << dir;
}

}  // namespace

void StartFreshMachine(uint32_t start_ms) {
  EnterTestDirectory();
  HeadlessStart(start_ms);
  display = DisplayState{};
  frame_clock = FrameClock{};
  main_window = nullptr;
  app_instance = nullptr;
  game_state = StateTitle;
  show_title = 1;
  prompt_pending = 1;
  ResetSceneIntros();
  game_over_shown = 0;
  quit_requested = 0;
  keyboard_device = nullptr;  // each test is a new program: nothing left from an earlier one
  input_object = nullptr;
  sound_first_call = 1;
  direct_sound = nullptr;
  for (SoundSlot& slot : sound_table) slot = SoundSlot{};
  for (uint8_t& present : life_bot_present) present = 1;
  for (uint8_t& found : letter_found) found = 0;
  DestroyBitmapImage(&backdrop);
  UnloadBitmapFile(&work_bitmap);
  std::memset(KeyboardState, 0, sizeof KeyboardState);
  if (error_log_file) CloseErrorLog();
}

HWND CreateTestWindow(int x, int y) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.lpszClassName = "TESTCLASS";
  RegisterClassA(&window_class);
  main_window = CreateWindowExA(0, "TESTCLASS", "test", WS_POPUP | WS_VISIBLE, x, y, 320, 240, nullptr, nullptr,
                                nullptr, nullptr);
  return main_window;
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> ReadPngRgb(const std::string& path, int* width) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
  if (width) *width = static_cast<int>(image.width);
  return rgb;
}

void ShutDisplay() {
  DisplayShutdown();
  display = DisplayState{};
}

void FreshMachineTest::TearDown() {
  ShutDisplay();
  std::remove(PALETTE_FILE);
}

std::vector<std::string> GameDataFiles(const std::string& folder) {
  std::vector<std::string> names;
  for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".mid") continue;  // the library's tune: the game plays no music
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}
