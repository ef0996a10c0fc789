// The generator makes the same bytes on every run, and exactly the files the game loads.
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "asset_reader.h"

namespace {

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.insert(name);
  }
  closedir(dir);
  return names;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

TEST(Generator, MakesTheSameBytesOnASecondRun) {
  char folder_template[] = "/tmp/vork-assets-XXXXXX";
  const char* folder = mkdtemp(folder_template);
  ASSERT_NE(folder, nullptr);
  const std::string command = Quoted(VORK_ASSETGEN) + " " + Quoted(folder);
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  const std::set<std::string> fresh = FilesIn(folder);
  EXPECT_EQ(fresh.size(), 23u + 18u + 1u + 1u) << "23 pictures, 18 sounds, the palette and the tune";
  for (const std::string& name : fresh) {
    const std::string path = std::string(folder) + "/" + name;
    EXPECT_TRUE(ReadBytes(path) == ReadBytes(AssetPath(name))) << name << " differs between runs";
    unlink(path.c_str());
  }
  rmdir(folder);
}

TEST(Generator, WritesTheContactSheetAsAPng) {
  char folder_template[] = "/tmp/vork-preview-XXXXXX";
  const char* folder = mkdtemp(folder_template);
  ASSERT_NE(folder, nullptr);
  const std::string png = std::string(folder) + "/preview.png";
  const std::string command = Quoted(VORK_ASSETGEN) + " --preview " + Quoted(png) + " >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::vector<uint8_t> bytes = ReadBytes(png);
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
  const uint32_t width = bytes[16] << 24 | bytes[17] << 16 | bytes[18] << 8 | bytes[19];  // big-endian
  EXPECT_GE(width, 640u);
  unlink(png.c_str());
  rmdir(folder);
}

TEST(Generator, RefusesAMissingFolderWithAnError) {
  const std::string command = Quoted(VORK_ASSETGEN) + " /nonexistent/vork-assets 2>/dev/null";
  EXPECT_NE(std::system(command.c_str()), 0);
}

}  // namespace
