// The diagnostic log.
#include <filesystem>
#include <regex>
#include <string>

#include "display/error_log.h"
#include "test_support.h"

namespace {

using ErrorLogTest = FreshMachineTest;

TEST_F(ErrorLogTest, FileHoldsTheOpeningLineTheMessagesCutToSeventyNineAndTheClosingLine) {
  EXPECT_EQ(LogWrite("\nnot yet"), 0);
  EXPECT_EQ(CloseErrorLog(), 0);
  ASSERT_EQ(OpenErrorLog("err.txt", nullptr), 1);
  EXPECT_EQ(LogWrite("\npixel format = %d", 8), 1);
  LogWrite("\n%s", std::string(500, 'x').c_str());
  LogWrite("\n%s", "100% sure");
  EXPECT_EQ(CloseErrorLog(), 1);
  const std::string text = ReadTextFile("err.txt");
  const std::regex layout(
      "\nOpening Error Output File \\(err\\.txt\\) on [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\\d \\d\\d:\\d\\d:\\d\\d"
      "\\.[1-9]?\\d{0,2}, \\d{4}\n\n"
      "\npixel format = 8\nx{78}\n100% sure\nClosing Error Output File\\.");
  EXPECT_TRUE(std::regex_match(text, layout)) << text;
  ASSERT_EQ(OpenErrorLog("err.txt", nullptr), 1);  // reopening empties the file
  CloseErrorLog();
  EXPECT_EQ(ReadTextFile("err.txt").find("pixel"), std::string::npos);
}

// Open file descriptors of this process.
int OpenDescriptors() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) count += entry.exists() ? 1 : 0;
  return count;
}

// A second open lets go of the first log: a file it opened is closed, a stream the caller
// handed in (or the standard error stream) stays open; an open with neither a path nor a stream
// leaves the log closed.
TEST_F(ErrorLogTest, OpeningAgainLetsGoOfTheLogBefore) {
  const int descriptors = OpenDescriptors();
  ASSERT_EQ(OpenErrorLog("a.txt", nullptr), 1);
  ASSERT_EQ(OpenErrorLog("b.txt", nullptr), 1);
  EXPECT_EQ(OpenDescriptors(), descriptors + 1);
  EXPECT_EQ(OpenErrorLog(nullptr, nullptr), 0);
  EXPECT_EQ(OpenDescriptors(), descriptors);
  EXPECT_EQ(LogWrite("\nto nobody"), 0);
  ASSERT_EQ(OpenErrorLog("stderr", stderr), 1);
  EXPECT_EQ(CloseErrorLog(), 1);
  FILE* mine = std::fopen("mine.txt", "w");
  ASSERT_EQ(OpenErrorLog("mine.txt", mine), 1);
  ASSERT_EQ(OpenErrorLog("d.txt", nullptr), 1);
  EXPECT_GE(std::fputs("\nstill mine", mine), 0);
  EXPECT_EQ(std::fclose(mine), 0);
  EXPECT_EQ(OpenErrorLog("no/such/dir/e.txt", nullptr), 0);
  EXPECT_EQ(OpenDescriptors(), descriptors);
}

}  // namespace
