// A restarted soft machine starts from nothing.
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
