// The picture reader's file calls: opening for reading only, reads, seeks, the table of open
// files, and the error codes each failure reports.
#include "soft/faults.h"
#include "soft/files.h"
#include "test_support.h"

namespace {

TEST(Files, OpenReadSeekAndCloseWithTheirErrors) {
  StartFreshMachine();
  WriteTextFile("f.bin", "abcdef");
  OFSTRUCT info{};
  const struct {
    const char* name;
    UINT style;
    WORD error;
  } refused[] = {{"f.bin", OF_WRITE, 5}, {"f.bin", OF_READWRITE, 5}, {nullptr, OF_READ, 5}, {"none", OF_READ, 2}};
  for (const auto& row : refused) {
    EXPECT_EQ(OpenFile(row.name, &info, row.style), HFILE_ERROR) << row.style;
    EXPECT_EQ(info.nErrCode, row.error) << row.style;
  }
  const HFILE file = OpenFile("f.bin", &info, OF_READ);
  EXPECT_EQ(file, 3);  // above the standard streams
  EXPECT_EQ(info.nErrCode, 0);
  EXPECT_STREQ(info.szPathName, "f.bin");
  char text[8] = {};
  EXPECT_EQ(_lread(file, text, 4), 4u);
  EXPECT_EQ(std::string(text), "abcd");
  const LONG seeks[][3] = {{-1, FILE_END, 5}, {1, FILE_BEGIN, 1}, {2, FILE_CURRENT, 3}, {0, 3, HFILE_ERROR},
                           {-1, FILE_BEGIN, HFILE_ERROR}, {0, -1, HFILE_ERROR}};
  for (const auto& seek : seeks) EXPECT_EQ(_llseek(file, seek[0], static_cast<int>(seek[1])), seek[2]) << seek[1];
  EXPECT_EQ(_lread(file, text, 8), 3u);  // what is left from 3
  InjectFault(PlatformCall::FileRead, 1);
  EXPECT_EQ(_lread(file, text, 1), static_cast<UINT>(HFILE_ERROR));
  std::vector<HFILE> more;
  for (int i = 1; i < 16; ++i) more.push_back(OpenFile("f.bin", &info, OF_READ));
  EXPECT_EQ(more.back(), 18);
  EXPECT_EQ(SoftOpenFileCount(), 16);
  EXPECT_EQ(OpenFile("f.bin", &info, OF_READ), HFILE_ERROR);
  EXPECT_EQ(info.nErrCode, 4);
  for (HFILE opened : more) EXPECT_EQ(_lclose(opened), 0);
  EXPECT_EQ(_lclose(file), 0);
  EXPECT_EQ(SoftOpenFileCount(), 0);
  for (HFILE closed : {file, 2, 19}) {
    EXPECT_EQ(_lclose(closed), HFILE_ERROR);
    EXPECT_EQ(_lread(closed, text, 1), static_cast<UINT>(HFILE_ERROR));
    EXPECT_EQ(_llseek(closed, 0, FILE_BEGIN), HFILE_ERROR);
  }
}

}  // namespace
