// UTF-8 to wide text with its errors, and the current directory's size rules.
#include <string>
#include <vector>

#include "objbase.h"
#include "soft/com_text.h"
#include "test_support.h"

namespace {

TEST(MultiByteToWideChar, ConvertsUtf8AndReportsEachFailure) {
  const struct {
    UINT code_page;
    DWORD flags;
    const char* text;
    int length;
    int capacity;
    int result;
    std::vector<int> wide;  // the characters written, or the error when result is 0
  } rows[] = {
      {CP_ACP, MB_PRECOMPOSED, "a\xC3\xA9\xE2\x82\xAC", -1, 8, 4, {'a', 0xE9, 0x20AC, 0}},
      {CP_UTF8, 0, "\xF0\x9F\x8E\xB5z", 5, 8, 2, {0x1F3B5, 'z'}},
      {CP_ACP, 0, "abcdefgh", -1, 0, 9, {}},                      // the size needed
      {CP_ACP, 0, "abcdefgh", -1, 8, 0, {ERROR_INSUFFICIENT_BUFFER}},
      {CP_ACP, 0, "abc", 2, 8, 2, {'a', 'b'}},
      {CP_ACP, 0, "\xFF" "b\xC3", 3, 8, 3, {0xFFFD, 'b', 0xFFFD}},
      {CP_ACP, 0, "\xC0\xAF\xED\xA0\x80", 5, 8, 5, {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},  // overlong, surrogate
      {CP_ACP, MB_ERR_INVALID_CHARS, "\xC3", 1, 8, 0, {ERROR_NO_UNICODE_TRANSLATION}},
      {1252, 0, "abc", -1, 8, 0, {ERROR_INVALID_PARAMETER}},  // only the program's own code page
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    WCHAR wide[8] = {'z', 'z', 'z', 'z', 'z', 'z', 'z', 'z'};
    const int result = MultiByteToWideChar(row.code_page, row.flags, row.text, row.length,
                                           row.capacity ? wide : nullptr, row.capacity);
    ASSERT_EQ(result, row.result);
    if (result == 0) {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(row.wide[0]));
      continue;
    }
    for (size_t i = 0; i < row.wide.size(); ++i) EXPECT_EQ(wide[i], row.wide[i]) << i;
  }
}

TEST(GetCurrentDirectoryA, GivesTheSizeNeededWhenTheBufferHasNoRoomForTheTerminator) {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);  // the length and the terminator
  std::vector<char> enough(needed);
  EXPECT_EQ(GetCurrentDirectoryA(needed, enough.data()), needed - 1);
  EXPECT_EQ(std::strlen(enough.data()), needed - 1);
  std::vector<char> short_by_one(needed - 1, 'x');
  EXPECT_EQ(GetCurrentDirectoryA(needed - 1, short_by_one.data()), needed);
  EXPECT_EQ(std::string(short_by_one.begin(), short_by_one.end()), std::string(needed - 1, 'x'));
}

}  // namespace
