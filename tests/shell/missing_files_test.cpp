// The game started in a folder without its files, or with one file missing or damaged: it runs
// from the title to Escape without a crash, with blank pictures and silence in their place.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shell/game_shell.h"
#include "soft/direct_draw.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> GameFiles() { return GameDataFiles(VORK_ASSET_DIR); }

// Runs the program with Escape held from the start; its exit code, or -1 if it did not end.
int RunTitleToEscape() {
  HeadlessKeepFrames(FrameKeeping::None);
  HeadlessScheduleKey(0, VK_ESCAPE, true);
  HeadlessSetDeadline(60000);
  ::testing::internal::CaptureStderr();
  int exit_code = -1;
  try {
    exit_code = WinMain(nullptr, nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
  } catch (const HeadlessDeadline&) {
  }
  ::testing::internal::GetCapturedStderr();
  display = DisplayState{};
  return exit_code;
}

// The game's folder with one file left out (or, when damaged, cut down to its first bytes).
void MakeFolderWithout(const std::string& left_out, bool damaged) {
  for (const std::string& name : GameFiles()) {
    const fs::path source = fs::path(VORK_ASSET_DIR) / name;
    if (name != left_out) {
      fs::create_symlink(source, name);
    } else if (damaged) {
      std::ifstream in(source, std::ios::binary);
      std::string head(60, '\0');
      in.read(&head[0], static_cast<std::streamsize>(head.size()));
      std::ofstream(name, std::ios::binary) << head;
    }
  }
}

TEST(MissingFiles, TheGameRunsFromAnEmptyFolder) {
  StartFreshMachine();
  EXPECT_EQ(RunTitleToEscape(), 0);
  EXPECT_GT(HeadlessFrameCount(), 0);
  EXPECT_EQ(SoftLiveObjectCount(), 0);
}

// Runs the game once for each of its files, missing or damaged in turn, each in a fresh folder.
void RunWithEachFileGone(bool damaged) {
  const std::vector<std::string> names = GameFiles();
  ASSERT_EQ(names.size(), 42u);
  for (const std::string& name : names) {
    StartFreshMachine();
    fs::remove_all("case");
    fs::create_directory("case");
    ASSERT_EQ(chdir("case"), 0);
    MakeFolderWithout(name, damaged);
    EXPECT_EQ(RunTitleToEscape(), 0) << name;
    EXPECT_GT(HeadlessFrameCount(), 0) << name;
    EXPECT_EQ(SoftLiveObjectCount(), 0) << name;
    ASSERT_EQ(chdir(".."), 0);
  }
  fs::remove_all("case");
}

TEST(MissingFiles, TheGameRunsWithEachFileMissingInTurn) { RunWithEachFileGone(false); }

TEST(MissingFiles, TheGameRunsWithEachFileDamagedInTurn) { RunWithEachFileGone(true); }

}  // namespace
