// The diagnostic log.
#include <ctime>
#include <filesystem>
#include <regex>
#include <string>

#include "display/error_log.h"
#include "test_support.h"

namespace {

class ErrorLogTest : public FreshMachineTest {};

TEST_F(ErrorLogTest, WithoutALogNothingIsWritten) {
  EXPECT_EQ(LogWrite("\npixel format = %d", 8), 0);
  EXPECT_EQ(LogWrite(nullptr), 0);
  EXPECT_EQ(CloseErrorLog(), 0);
}

TEST_F(ErrorLogTest, FileHoldsTheOpeningLineTheMessagesAndTheClosingLine) {
  ASSERT_EQ(OpenErrorLog("err.txt", nullptr), 1);
  EXPECT_EQ(LogWrite("\npixel format = %d", 8), 1);
  LogWrite("\npixel format = 5.6.5");
  EXPECT_EQ(CloseErrorLog(), 1);
  const std::string text = ReadTextFile("err.txt");
  const std::regex layout(
      "\nOpening Error Output File \\(err\\.txt\\) on [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\\d \\d\\d:\\d\\d:\\d\\d"
      "\\.[1-9]?\\d{0,2}, \\d{4}\n\n"
      "\npixel format = 8\npixel format = 5\\.6\\.5\nClosing Error Output File\\.");
  EXPECT_TRUE(std::regex_match(text, layout)) << text;
}

TEST_F(ErrorLogTest, ReopeningEmptiesTheFileAndPercentSignsStayAsFormatted) {
  ASSERT_EQ(OpenErrorLog("err.txt", nullptr), 1);
  LogWrite("\nfirst");
  CloseErrorLog();
  ASSERT_EQ(OpenErrorLog("err.txt", nullptr), 1);
  LogWrite("\n%s", "100% sure");
  CloseErrorLog();
  const std::string text = ReadTextFile("err.txt");
  EXPECT_EQ(text.find("first"), std::string::npos);
  EXPECT_NE(text.find("\n100% sure"), std::string::npos);
}

TEST_F(ErrorLogTest, LongMessagesAreCutAtSeventyNineCharacters) {
  ASSERT_EQ(OpenErrorLog("e.txt", nullptr), 1);
  const std::string long_text(500, 'x');
  EXPECT_EQ(LogWrite("\n%s", long_text.c_str()), 1);
  CloseErrorLog();
  const std::string text = ReadTextFile("e.txt");
  EXPECT_NE(text.find("\n" + std::string(78, 'x') + "\nClosing"), std::string::npos);
  EXPECT_EQ(text.find(std::string(79, 'x')), std::string::npos);
}

TEST_F(ErrorLogTest, TheStandardErrorStreamStaysOpenAfterClosing) {
  ASSERT_EQ(OpenErrorLog("stderr", stderr), 1);
  EXPECT_EQ(error_log_file, stderr);
  EXPECT_EQ(CloseErrorLog(), 1);
  EXPECT_GE(std::fputs("\n", stderr), 0);
  EXPECT_EQ(OpenErrorLog("no/such/dir/e.txt", nullptr), 0);
  EXPECT_EQ(LogWrite("x"), 0);
}

// Open file descriptors of this process.
int OpenDescriptors() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) count += entry.exists() ? 1 : 0;
  return count;
}

// A second open lets go of the first log: a file it opened is closed, a stream the caller
// handed in stays open; an open with neither a path nor a stream leaves the log closed.
TEST_F(ErrorLogTest, OpeningAgainLetsGoOfTheLogBefore) {
  const int descriptors = OpenDescriptors();
  ASSERT_EQ(OpenErrorLog("a.txt", nullptr), 1);
  ASSERT_EQ(OpenErrorLog("b.txt", nullptr), 1);
  EXPECT_EQ(OpenDescriptors(), descriptors + 1);
  LogWrite("\nto b");
  EXPECT_NE(ReadTextFile("b.txt").find("\nto b"), std::string::npos);  // written through at once
  EXPECT_EQ(OpenErrorLog(nullptr, nullptr), 0);
  EXPECT_EQ(error_log_file, nullptr);
  EXPECT_EQ(OpenDescriptors(), descriptors);
  EXPECT_EQ(LogWrite("\nto nobody"), 0);
  EXPECT_EQ(CloseErrorLog(), 0);
  EXPECT_EQ(ReadTextFile("a.txt").find("to "), std::string::npos);
  const std::string b = ReadTextFile("b.txt");
  EXPECT_NE(b.find("\nto b"), std::string::npos);
  EXPECT_EQ(b.find("nobody"), std::string::npos);

  FILE* mine = std::fopen("mine.txt", "w");
  ASSERT_NE(mine, nullptr);
  ASSERT_EQ(OpenErrorLog("mine.txt", mine), 1);
  ASSERT_EQ(OpenErrorLog("c.txt", nullptr), 1);
  EXPECT_GE(std::fputs("\nstill mine", mine), 0);
  EXPECT_EQ(std::fclose(mine), 0);
  EXPECT_NE(ReadTextFile("mine.txt").find("\nstill mine"), std::string::npos);
  EXPECT_EQ(CloseErrorLog(), 1);
  EXPECT_EQ(OpenDescriptors(), descriptors);
}

}  // namespace

namespace {

// What the host C runtime's strftime writes for the same fields: the stamp's reference.
std::string StrftimeStamp(const tm& local, int milliseconds) {
  char date[32];
  std::strftime(date, sizeof date, "%a %b %e %H:%M:%S", &local);
  char year[16];
  std::strftime(year, sizeof year, "%Y", &local);
  return std::string(date) + "." + std::to_string(milliseconds) + ", " + year + "\n";
}

TEST(LogTimeStamp, ReadsAsTheRuntimesDateTextForEveryDayMonthAndDayOfTheMonth) {
  tm local{};
  local.tm_year = 2026 - 1900;
  char out[64];
  for (int month = 0; month < 12; ++month) {
    for (int day = 1; day <= 31; ++day) {
      local.tm_mon = month;
      local.tm_mday = day;
      local.tm_wday = (month + day) % 7;
      local.tm_hour = day % 24;
      local.tm_min = (day * 7) % 60;
      local.tm_sec = (day * 13) % 60;
      const int milliseconds = (day * 37) % 1000;
      FormatLogTimeStamp(local, milliseconds, out, sizeof out);
      ASSERT_EQ(std::string(out), StrftimeStamp(local, milliseconds)) << month << " " << day;
    }
  }
}

TEST(LogTimeStamp, PadsTheDayWithASpaceAndLeavesMillisecondsUnpadded) {
  tm local{};
  local.tm_year = 1999 - 1900;
  local.tm_mon = 11;
  local.tm_mday = 5;
  local.tm_wday = 0;
  local.tm_hour = 7;
  local.tm_min = 3;
  local.tm_sec = 9;
  char out[64];
  FormatLogTimeStamp(local, 7, out, sizeof out);
  EXPECT_STREQ(out, "Sun Dec  5 07:03:09.7, 1999\n");
  FormatLogTimeStamp(local, 999, out, 12);
  EXPECT_STREQ(out, "Sun Dec  5 ");
}

}  // namespace
