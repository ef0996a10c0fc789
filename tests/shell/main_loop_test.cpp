// The whole program through WinMain on the headless host: start-up, the message protocol,
// the state machine, and the ways it ends.
#include "display/frame.h"
#include "input/keyboard.h"
#include "shell/game_shell.h"
#include "soft/direct_draw.h"
#include "soft/faults.h"
#include "test_support.h"

namespace {

constexpr uint32_t RUN_LIMIT_MS = 60000;

class ProgramTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    HeadlessKeepFrames(FrameKeeping::Last);
    HeadlessOnFrame([this](const HeadlessFrame& frame, int) { CountRedFrame(frame); });
  }
  void TearDown() override {
    // WinMain shut the display down itself; forget its record.
    display = DisplayState{};
    FreshMachineTest::TearDown();
  }
  // Runs WinMain until it returns or the virtual clock reaches the limit (then the test fails).
  int RunProgram() {
    HeadlessSetDeadline(RUN_LIMIT_MS);
    try {
      return WinMain(reinterpret_cast<HINSTANCE>(this), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
    } catch (const HeadlessDeadline&) {
      ADD_FAILURE() << "the program did not end by " << RUN_LIMIT_MS << " ms";
      return -1;
    }
  }
  void PressKey(uint32_t time, int key, uint32_t hold_ms = 60) {
    HeadlessScheduleKey(time, key, true);
    HeadlessScheduleKey(time + hold_ms, key, false);
  }
  void CountRedFrame(const HeadlessFrame& frame) {
    bool all_red = true;
    for (int i = 0; i < 256 && all_red; ++i)
      all_red = frame.palette[i * 4] == 255 && frame.palette[i * 4 + 1] == 0 && frame.palette[i * 4 + 2] == 0;
    if (all_red) ++fully_red_frames;
  }
  int fully_red_frames = 0;
};

TEST_F(ProgramTest, EscapeOnTheTitleFadesToRedAndEndsWithExitCodeZero) {
  PressKey(100, VK_ESCAPE);
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_GT(fully_red_frames, 0);
  EXPECT_EQ(HeadlessFrames().back().palette[0], 255);  // the last frame shown is red
  EXPECT_FALSE(HeadlessCursorVisible());
  EXPECT_EQ(HeadlessModeWidth(), 640);
  EXPECT_EQ(HeadlessWindowTitle(), "VORK!");
  EXPECT_EQ(SoftLiveObjectCount(), 0);  // the shut-down released the display
  // Once the quit is requested no further pass runs: scene 1 was not set up.
  EXPECT_EQ(game_state, StateTitle);
}

TEST_F(ProgramTest, TitlePassesArePacedAtThirtyMilliseconds) {
  PressKey(1000, VK_ESCAPE);
  ASSERT_EQ(RunProgram(), 0);
  // About 33 frames a second before the fade's 64 palette frames.
  EXPECT_GE(HeadlessFrameCount(), 64 + 28);
  EXPECT_LE(HeadlessFrameCount(), 64 + 36);
}

TEST_F(ProgramTest, ClosingTheWindowEndsTheProgram) {
  HeadlessScheduleClose(200);
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(fully_red_frames, 0);  // no closing effect: the window was closed, not Escape pressed
  EXPECT_FALSE(HeadlessWindowOpen());
}

// Key messages arrive in bursts (a child mashing keys while a prompt holds the game); 300 taps of
// C fill the queue the moment Escape goes down, and Escape still ends the program.
TEST_F(ProgramTest, EscapeEndsTheProgramWhenKeyMessagesHaveFilledTheQueue) {
  for (int i = 0; i < 300; ++i) PressKey(100, 'C', 0);
  HeadlessScheduleKey(100, VK_ESCAPE, true);
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_GT(fully_red_frames, 0);
}

// A close takes effect at the next pass however many key messages were queued before it, not
// one 30 ms pass per message later.
TEST_F(ProgramTest, ClosingTheWindowOvertakesTheKeyMessagesQueuedBeforeIt) {
  for (int i = 0; i < 200; ++i) PressKey(100, 'A', 0);
  HeadlessScheduleClose(100);
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_LT(HeadlessNow(), 100 + 2 * FRAME_MS);
}

TEST_F(ProgramTest, NoWindowClassOrNoWindowReturnsZeroAtOnce) {
  for (PlatformCall call : {PlatformCall::RegisterClass, PlatformCall::CreateWindow}) {
    StartFreshMachine();
    InjectFault(call, 1);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(HeadlessFrameCount(), 0);
    EXPECT_EQ(PlatformCallCount(PlatformCall::DirectDrawCreate), 0);
  }
}

// A display that fails at any step ends the program at once (exit code 1) or, when the failure
// comes after it opened, leaves a game that still ends on Escape; nothing is left unreleased.
TEST_F(ProgramTest, ADisplayThatFailsAtAnyStepEndsCleanly) {
  struct Step {
    PlatformCall call;
    int exit_code;  // 1: the display did not open; 0: it opened and Escape ended the game
  };
  const Step steps[] = {{PlatformCall::DirectDrawCreate, 1}, {PlatformCall::SetCooperativeLevel, 1},
                        {PlatformCall::SetDisplayMode, 1},   {PlatformCall::CreateSurface, 1},
                        {PlatformCall::GetAttachedSurface, 1}, {PlatformCall::CreatePalette, 1},
                        {PlatformCall::SetPalette, 1},       {PlatformCall::GetPixelFormat, 1},
                        {PlatformCall::CreateClipper, 0},    {PlatformCall::Lock, 0},
                        {PlatformCall::Blt, 0}};
  for (const Step& step : steps) {
    StartFreshMachine();
    InjectFault(step.call, 1, 1000000);
    PressKey(100, VK_ESCAPE);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunProgram(), step.exit_code) << static_cast<int>(step.call);
    const bool said_why = ::testing::internal::GetCapturedStderr().find("cannot open the 640x480") != std::string::npos;
    EXPECT_EQ(said_why, step.exit_code == 1) << static_cast<int>(step.call);
    if (step.exit_code == 1) {
      EXPECT_EQ(HeadlessFrameCount(), 0);
    }
    EXPECT_EQ(SoftLiveObjectCount(), 0) << static_cast<int>(step.call);
    display = DisplayState{};
  }
  // The display lost in play (scene 1 from 50 ms) and back 150 ms later: the game goes on, and
  // every frame it shows is the one a run without the loss shows at the same time.
  const auto run_scene = [this](bool lose_display) {
    StartFreshMachine();
    HeadlessKeepFrames(FrameKeeping::All);
    if (lose_display) HeadlessSetAutopilot([](uint32_t now) { HeadlessSetDisplayLost(now >= 300 && now < 450); });
    PressKey(50, VK_SPACE);
    PressKey(700, VK_ESCAPE);
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(SoftLiveObjectCount(), 0);
    display = DisplayState{};
    return HeadlessFrames();
  };
  const std::vector<HeadlessFrame> whole = run_scene(false);
  const std::vector<HeadlessFrame> with_loss = run_scene(true);
  EXPECT_LT(with_loss.size(), whole.size());
  size_t shown_after_loss = 0;
  for (const HeadlessFrame& frame : with_loss) {
    EXPECT_TRUE(frame.time < 300 || frame.time >= 450) << frame.time;
    shown_after_loss += frame.time >= 450;
    const auto same_time = std::find_if(whole.begin(), whole.end(), [&](const HeadlessFrame& f) { return f.time == frame.time; });
    ASSERT_NE(same_time, whole.end()) << frame.time;
    EXPECT_TRUE(frame.pixels == same_time->pixels) << frame.time;
    EXPECT_EQ(std::memcmp(frame.palette, same_time->palette, sizeof frame.palette), 0) << frame.time;
  }
  EXPECT_GE(shown_after_loss, 64u + 5u);  // the play frames and the fade to red
}

// Start-up attaches a second whole-screen clipper to the back surface; the first one goes.
TEST_F(ProgramTest, StartUpHoldsOneBackClipper) {
  CreateTestWindow();
  ASSERT_EQ(GameStartup(), 1);
  LPDIRECTDRAWCLIPPER attached = nullptr;
  ASSERT_EQ(display.back_surface->GetClipper(&attached), DD_OK);
  EXPECT_EQ(attached, display.back_clipper);
  attached->Release();
  // DirectDraw, primary, back buffer, palette, one clipper, and the sprites' 148 frame surfaces
  // (crunch 1, tree 1, stump 1, letters 11 x 11, spare robots 3 x 2, bulldozer 2, robot 16).
  EXPECT_EQ(SoftLiveObjectCount(), 5 + 148);
  EXPECT_EQ(GameShutdown(), 1);
  EXPECT_EQ(SoftLiveObjectCount(), 0);
}

TEST_F(ProgramTest, StatesOutsideTheTableOnlyHandleMessages) {
  game_state = 42;
  HeadlessScheduleClose(100);
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(game_state, 42);
}

TEST(WindowProcedure, AnswersItsMessages) {
  StartFreshMachine();
  EXPECT_EQ(MainWindowProc(nullptr, WM_CREATE, 0, 0), 0);
  EXPECT_EQ(MainWindowProc(nullptr, WM_DESTROY, 0, 0), 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 0u);
}

TEST(ShellRoutines, KeyPressedReadsTheAsyncStateOrTheSnapshot) {
  StartFreshMachine();
  EXPECT_FALSE(KeyPressed(VK_SPACE, DIK_SPACE));
  HeadlessScheduleKey(0, VK_SPACE, true);
  EXPECT_TRUE(KeyPressed(VK_SPACE, DIK_SPACE));
  StartFreshMachine();
  KeyboardState[DIK_C] = 0x80;
  EXPECT_TRUE(KeyPressed('C', DIK_C));
  KeyboardState[DIK_C] = 0;
}

TEST(ShellRoutines, ResetSceneIntrosSetsAllFour) {
  StartFreshMachine();
  for (uint8_t& pending : scene_intro_pending) pending = 0;
  ResetSceneIntros();
  for (uint8_t pending : scene_intro_pending) EXPECT_EQ(pending, 1);
}

}  // namespace
