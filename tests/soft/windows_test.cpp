// The software platform's windows, message queue, painting and stock objects.
#include <vector>

#include "soft/host.h"
#include "soft/soft_windows.h"
#include "test_support.h"

namespace {

std::vector<UINT> seen_messages;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  seen_messages.push_back(message);
  if (message == WM_DESTROY) PostQuitMessage(7);
  return DefWindowProcA(window, message, wparam, lparam);
}

// A registered class "REC" whose procedure records every message, and one 320x240 window of it.
class WindowsTest : public FreshMachineTest {
 protected:
  HWND window = nullptr;
  void SetUp() override {
    FreshMachineTest::SetUp();
    seen_messages.clear();
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = RecordingProc;
    window_class.lpszClassName = "REC";
    ASSERT_NE(RegisterClassA(&window_class), 0);
    window = CreateWindowExA(0, "REC", "VORK!", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(window, nullptr);
  }
  // Takes and dispatches messages up to the quit message or until none is left; returns them in order.
  static std::vector<UINT> Drain() {
    std::vector<UINT> taken;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      taken.push_back(msg.message);
      if (msg.message == WM_QUIT) break;
      DispatchMessageA(&msg);
    }
    return taken;
  }
};

TEST_F(WindowsTest, CreationSendsCreateAndGivesTheWindowItsSize) {
  EXPECT_EQ(seen_messages, std::vector<UINT>{WM_CREATE});
  RECT rect;
  ASSERT_TRUE(GetWindowRect(window, &rect));
  EXPECT_EQ(rect.right - rect.left, 320);
  EXPECT_EQ(rect.bottom - rect.top, 240);
  EXPECT_FALSE(GetWindowRect(nullptr, &rect));
  EXPECT_FALSE(GetWindowRect(window, nullptr));
  EXPECT_EQ(CreateWindowExA(0, "MISSING", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

// Posted messages come first, then the quit message, then WM_PAINT, made up again until the
// window is validated.
TEST_F(WindowsTest, MessagesComeInTheirOrderAndPaintUntilValidated) {
  PostMessageA(window, WM_USER, 1, 0);
  PostMessageA(window, WM_DESTROY, 0, 0);
  PostMessageA(window, WM_USER, 2, 0);
  EXPECT_EQ(Drain(), (std::vector<UINT>{WM_USER, WM_DESTROY, WM_USER, WM_QUIT}));
  MSG msg;
  for (int twice = 0; twice < 2; ++twice) {
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  }
  DispatchMessageA(&msg);  // DefWindowProcA validates
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  PostQuitMessage(9);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 9u);
}

// The user's close needs no place in the queue: with the queue full it still comes first, and
// becomes WM_CLOSE, WM_DESTROY and the quit message after everything queued.
TEST_F(WindowsTest, TheCloseIsTakenAheadOfAFullQueue) {
  int accepted = 0;
  while (PostMessageA(window, WM_USER, 0, 0) && accepted < 10000) ++accepted;
  EXPECT_EQ(accepted, 512);
  EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(&accepted), WM_USER, 0, 0));
  HeadlessScheduleClose(HeadlessNow() + 5);
  HeadlessAdvance(10);
  const std::vector<UINT> taken = Drain();
  ASSERT_EQ(taken.size(), 514u);
  EXPECT_EQ(taken.front(), static_cast<UINT>(WM_CLOSE));
  EXPECT_EQ(taken.back(), static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(seen_messages[2], static_cast<UINT>(WM_DESTROY));
  EXPECT_FALSE(HeadlessWindowOpen());
}

TEST_F(WindowsTest, BeginPaintCoversTheWholeWindowAndValidatesIt) {
  SoftPlaceWindow(window, RECT{10, 20, 330, 260});
  PAINTSTRUCT paint;
  ASSERT_NE(BeginPaint(window, &paint), nullptr);
  EXPECT_EQ(paint.rcPaint.right, 320);
  EXPECT_EQ(paint.rcPaint.bottom, 240);
  EXPECT_TRUE(EndPaint(window, &paint));
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(BeginPaint(nullptr, &paint), nullptr);
}

TEST_F(WindowsTest, StockObjectsExistAndOthersDoNot) {
  for (int object : {WHITE_BRUSH, 7, OEM_FIXED_FONT, DEFAULT_GUI_FONT}) EXPECT_NE(GetStockObject(object), nullptr);
  for (int object : {-1, 8, 15, 18}) EXPECT_EQ(GetStockObject(object), nullptr) << object;
}

}  // namespace
