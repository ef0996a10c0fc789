// The software platform's windows, message queue, clock and keys.
#include <vector>

#include "display/display.h"
#include "input/keyboard.h"
#include "sound/sound_table.h"
#include "soft/direct_draw.h"
#include "soft/direct_sound.h"
#include "soft/faults.h"
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

class MessagesTest : public FreshMachineTest {
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
  // Takes and dispatches messages until none is left; returns them in order.
  std::vector<UINT> Drain() {
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

TEST_F(MessagesTest, WindowCreationSendsCreateAndOpensTheHostWindow) {
  EXPECT_EQ(seen_messages, std::vector<UINT>{WM_CREATE});
  EXPECT_TRUE(HeadlessWindowOpen());
  EXPECT_EQ(HeadlessWindowTitle(), "VORK!");
  RECT rect;
  ASSERT_TRUE(GetWindowRect(window, &rect));
  EXPECT_EQ(rect.right - rect.left, 320);
  EXPECT_EQ(rect.bottom - rect.top, 240);
  EXPECT_FALSE(GetWindowRect(nullptr, &rect));
  EXPECT_FALSE(GetWindowRect(window, nullptr));
}

TEST_F(MessagesTest, ClassNamesAreUniqueAndNeedAProcedure) {
  WNDCLASSA again{};
  again.lpfnWndProc = RecordingProc;
  again.lpszClassName = "REC";
  EXPECT_EQ(RegisterClassA(&again), 0);
  WNDCLASSA no_procedure{};
  no_procedure.lpszClassName = "OTHER";
  EXPECT_EQ(RegisterClassA(&no_procedure), 0);
  EXPECT_EQ(CreateWindowExA(0, "MISSING", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  // Sixteen classes in all: "REC" and fifteen more; the seventeenth is refused.
  WNDCLASSA more{};
  more.lpfnWndProc = RecordingProc;
  const std::string names[] = {"C1", "C2", "C3", "C4", "C5", "C6", "C7", "C8", "C9",
                               "C10", "C11", "C12", "C13", "C14", "C15", "C16"};
  for (int i = 0; i < 15; ++i) {
    more.lpszClassName = names[i].c_str();
    EXPECT_NE(RegisterClassA(&more), 0) << names[i];
  }
  more.lpszClassName = names[15].c_str();
  EXPECT_EQ(RegisterClassA(&more), 0);
}

TEST_F(MessagesTest, PaintIsMadeUpUntilValidatedAndNeverBlocksPostedMessages) {
  PostMessageA(window, WM_USER, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));  // posted messages come before paint
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));  // still invalid: not yet painted
  DispatchMessageA(&msg);                                // DefWindowProcA validates
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessagesTest, PostedDestroyLeadsToQuitAfterTheMessagesBeforeIt) {
  PostMessageA(window, WM_USER, 1, 0);
  PostMessageA(window, WM_DESTROY, 0, 0);
  PostMessageA(window, WM_USER, 2, 0);
  std::vector<UINT> taken = Drain();
  ASSERT_GE(taken.size(), 4u);
  EXPECT_EQ(taken[0], static_cast<UINT>(WM_USER));
  EXPECT_EQ(taken[1], static_cast<UINT>(WM_DESTROY));
  EXPECT_EQ(taken[2], static_cast<UINT>(WM_USER));  // the quit message waits for the queue to empty
  EXPECT_EQ(taken.back(), static_cast<UINT>(WM_QUIT));
}

TEST_F(MessagesTest, PeekWithoutRemoveLeavesTheMessage) {
  PostMessageA(window, WM_USER, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
}

TEST_F(MessagesTest, CloseRequestBecomesCloseThenDestroyThenQuitWithItsCode) {
  HeadlessScheduleClose(5);
  HeadlessAdvance(10);
  MSG msg{};
  std::vector<UINT> taken = Drain();
  ASSERT_FALSE(taken.empty());
  EXPECT_EQ(taken.back(), static_cast<UINT>(WM_QUIT));
  ASSERT_GE(seen_messages.size(), 3u);
  EXPECT_EQ(seen_messages[1], static_cast<UINT>(WM_CLOSE));
  EXPECT_EQ(seen_messages[2], static_cast<UINT>(WM_DESTROY));
  EXPECT_FALSE(HeadlessWindowOpen());
  PostQuitMessage(7);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MessagesTest, QueueRefusesMessagesWhenFullAndForUnknownWindows) {
  int accepted = 0;
  while (PostMessageA(window, WM_USER, 0, 0) && accepted < 10000) ++accepted;
  EXPECT_GT(accepted, 100);
  EXPECT_LT(accepted, 10000);
  EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(&accepted), WM_USER, 0, 0));
}

TEST_F(MessagesTest, ScriptedKeysShowInAsyncStateAndAsKeyMessages) {
  HeadlessScheduleKey(50, VK_ESCAPE, true);
  HeadlessScheduleKey(80, VK_ESCAPE, false);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
  Sleep(50);
  EXPECT_NE(GetAsyncKeyState(VK_ESCAPE) & 0x8000, 0);
  Sleep(40);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
  std::vector<UINT> taken = Drain();
  EXPECT_NE(std::find(taken.begin(), taken.end(), static_cast<UINT>(WM_KEYDOWN)), taken.end());
  EXPECT_NE(std::find(taken.begin(), taken.end(), static_cast<UINT>(WM_KEYUP)), taken.end());
}

TEST(VirtualClock, EveryReadingMovesOnAMillisecondAndSleepMovesByItsArgument) {
  StartFreshMachine(1000);
  EXPECT_EQ(GetTickCount(), 1000u);
  EXPECT_EQ(GetTickCount(), 1001u);
  Sleep(30);
  EXPECT_EQ(GetTickCount(), 1032u);
}

TEST(VirtualClock, WrapsAt32Bits) {
  StartFreshMachine(0xFFFFFFFEu);
  EXPECT_EQ(GetTickCount(), 0xFFFFFFFEu);
  EXPECT_EQ(GetTickCount(), 0xFFFFFFFFu);
  EXPECT_EQ(GetTickCount(), 0u);
}

TEST(VirtualClock, DeadlineStopsARunningWait) {
  StartFreshMachine();
  HeadlessSetDeadline(500);
  EXPECT_THROW(
      for (;;) GetTickCount(), HeadlessDeadline);
  EXPECT_GE(HeadlessNow(), 500u);
}

TEST(Cursor, HiddenWhileTheDisplayCountIsNegative) {
  StartFreshMachine();
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_FALSE(HeadlessCursorVisible());
  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_TRUE(HeadlessCursorVisible());
}

TEST(Faults, TheNthCallOfAKindFails) {
  StartFreshMachine();
  InjectFault(PlatformCall::RegisterClass, 2);
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = RecordingProc;
  window_class.lpszClassName = "A";
  EXPECT_NE(RegisterClassA(&window_class), 0);
  window_class.lpszClassName = "B";
  EXPECT_EQ(RegisterClassA(&window_class), 0);
  EXPECT_NE(RegisterClassA(&window_class), 0);
  EXPECT_EQ(PlatformCallCount(PlatformCall::RegisterClass), 3);
}

// A new run starts from nothing whatever the last one left: no fault still armed, no key held
// (window or DirectInput), no window, no sound output, and the desktop back at 8 bits (a
// windowed 16-bit display cannot open on it). Runs of many games in one process rely on it.
TEST(Faults, ARestartedMachineForgetsFaultsKeysWindowsSoundAndTheDesktopDepth) {
  StartFreshMachine();
  InjectFault(PlatformCall::RegisterClass, 1);
  HostSetKey(VK_LEFT, true);
  HostSetInputKey(DIK_SPACE, true);
  ASSERT_TRUE(SoftSetDesktopBits(16));
  ASSERT_EQ(DisplayInit(640, 480, 16, 1), 1);
  DisplayShutdown();
  main_window = CreateTestWindow();
  ASSERT_EQ(SoundInit(), 1);
  SoundShutdown();
  ASSERT_NE(SoftSoundRate(), 0u);  // the output stays open after the object is gone
  StartFreshMachine();
  EXPECT_EQ(SoftSoundRate(), 0u);
  EXPECT_FALSE(SoftKeyDown(VK_LEFT));
  EXPECT_EQ(SoftHostWindow(), nullptr);
  main_window = CreateTestWindow();  // its class registers: the armed fault would fail it
  EXPECT_NE(main_window, nullptr);
  EXPECT_EQ(PlatformCallCount(PlatformCall::RegisterClass), 1);
  ASSERT_EQ(InputInit(), 1);
  ASSERT_EQ(KeyboardInit(), 1);
  KeyboardRead();
  EXPECT_EQ(KeyboardState[DIK_SPACE], 0);
  KeyboardShutdown();
  InputShutdown();
  EXPECT_EQ(DisplayInit(640, 480, 16, 1), 0);
}

}  // namespace
