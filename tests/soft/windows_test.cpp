// The software platform's windows, message queue, painting and stock objects.
#include <vector>

#include "soft/host.h"
#include "soft/soft_windows.h"
#include "test_support.h"

namespace {

LRESULT CALLBACK QuittingProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) PostQuitMessage(7);
  return DefWindowProcA(window, message, wparam, lparam);
}

// A registered class "REC" whose procedure asks to quit on WM_DESTROY, and one 320x240 window of it.
class WindowsTest : public FreshMachineTest {
 protected:
  HWND window = nullptr;
  void SetUp() override {
    FreshMachineTest::SetUp();
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = QuittingProc;
    window_class.lpszClassName = "REC";
    ASSERT_NE(RegisterClassA(&window_class), 0);
    window = CreateWindowExA(0, "REC", "VORK!", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(window, nullptr);
  }
};

// Posted messages come first, then the quit message, then WM_PAINT, made up again until the
// window is validated. A full queue (512) or an unknown window refuses a post; the user's close,
// which needs no place in the queue, is the shell tests'.
TEST_F(WindowsTest, MessagesComeInTheirOrderAndPaintUntilValidatedAndAFullQueueRefusesMore) {
  PostMessageA(window, WM_USER, 1, 0);
  PostMessageA(window, WM_DESTROY, 0, 0);
  PostMessageA(window, WM_USER, 2, 0);
  MSG msg;
  std::vector<UINT> taken;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) {
    taken.push_back(msg.message);
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(taken, (std::vector<UINT>{WM_USER, WM_DESTROY, WM_USER}));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  for (int twice = 0; twice < 2; ++twice) {
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  }
  DispatchMessageA(&msg);  // DefWindowProcA validates
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // the quit's exit code is the platform probe's
  int accepted = 0;
  while (PostMessageA(window, WM_USER, 0, 0) && accepted < 10000) ++accepted;
  EXPECT_EQ(accepted, 512);
  EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(&accepted), WM_USER, 0, 0));
}

// The window's creation and size are the platform probe's; here BeginPaint, and the calls that
// name no window or an unknown class.
TEST_F(WindowsTest, BeginPaintCoversTheWholeWindowAndValidatesItAndCallsWithoutAWindowFail) {
  SoftPlaceWindow(window, RECT{10, 20, 330, 260});
  PAINTSTRUCT paint;
  ASSERT_NE(BeginPaint(window, &paint), nullptr);
  EXPECT_EQ(paint.rcPaint.right, 320);
  EXPECT_EQ(paint.rcPaint.bottom, 240);
  EXPECT_TRUE(EndPaint(window, &paint));
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(BeginPaint(nullptr, &paint), nullptr);
  RECT rect;
  EXPECT_FALSE(GetWindowRect(nullptr, &rect));
  EXPECT_FALSE(GetWindowRect(window, nullptr));
  EXPECT_EQ(CreateWindowExA(0, "MISSING", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(WindowsTest, StockObjectsExistAndOthersDoNot) {
  for (int object : {WHITE_BRUSH, 7, OEM_FIXED_FONT, DEFAULT_GUI_FONT}) EXPECT_NE(GetStockObject(object), nullptr);
  for (int object : {-1, 8, 15, 18}) EXPECT_EQ(GetStockObject(object), nullptr) << object;
}

}  // namespace
