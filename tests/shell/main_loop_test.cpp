// The whole program through WinMain on the headless host: start-up, the message protocol,
// the state machine, and the ways it ends.
#include "shell_fixture.h"
#include "soft/faults.h"

namespace {

class ProgramTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    HeadlessKeepFrames(FrameKeeping::Last);
    HeadlessOnFrame([this](const HeadlessFrame& frame, int) { fully_red_frames += AllRed(frame); });
  }
  void TearDown() override {
    HeadlessOnFrame(nullptr);
    ShellTest::TearDown();
  }
  int fully_red_frames = 0;
};

// Escape on the title after a second; once the quit is asked for no
// further pass runs (scene 1 is not set up). Missing files are named once, with the folder; a file
// there but damaged is not among them. The game runs on with blank pictures and silence.
TEST_F(ProgramTest, EscapeOnTheTitleFadesToRedAndEndsWithExitCodeZero) {
  WriteTextFile("Intro1.BMP", "not a picture");
  PressKey(1000, VK_ESCAPE);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunProgram(), 0);
  const std::string said = ::testing::internal::GetCapturedStderr();
  char here[4096];
  ASSERT_NE(getcwd(here, sizeof here), nullptr);
  EXPECT_EQ(said.find("vork: game files missing from " + std::string(here) + ": \"PALDATA3.PAL\", \"Crunch.bmp\""), 0u)
      << said;
  EXPECT_NE(said.find("\"SpaceBar.wav\" (blank pictures and silence in their place)\n"), std::string::npos);
  EXPECT_EQ(said.find("Intro1.BMP"), std::string::npos);
  EXPECT_EQ(said.find("vork:", 1), std::string::npos);
  EXPECT_TRUE(AllRed(HeadlessFrames().back()));
  EXPECT_FALSE(HeadlessCursorVisible());
  EXPECT_EQ(game_state, StateTitle);
}

// 300 taps of C fill the queue the moment Escape goes down; Escape still ends the program.
TEST_F(ProgramTest, EscapeEndsTheProgramWhenKeyMessagesHaveFilledTheQueue) {
  for (int i = 0; i < 300; ++i) PressKey(100, 'C', 0);
  HeadlessScheduleKey(100, VK_ESCAPE, true);
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_GT(fully_red_frames, 0);
}

// A close ends the program without the closing effect, at the next pass, not one 30 ms pass per
// key message queued before it.
TEST_F(ProgramTest, ClosingTheWindowOvertakesTheKeyMessagesQueuedBeforeIt) {
  for (int i = 0; i < 200; ++i) PressKey(100, 'A', 0);
  HeadlessScheduleClose(100);
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_LT(HeadlessNow(), 100 + 2 * FRAME_MS);
  EXPECT_EQ(fully_red_frames, 0);
  EXPECT_FALSE(HeadlessWindowOpen());
}

// A failing start-up step: no window ends at once with 0; a display that cannot open ends with 1
// and says why. Nothing is left. (The fault sweep fails every later step.)
TEST_F(ProgramTest, AStartUpStepThatFailsEndsCleanly) {
  const struct {
    PlatformCall call;
    int exit_code;
  } steps[] = {{PlatformCall::CreateWindow, 0}, {PlatformCall::DirectDrawCreate, 1}, {PlatformCall::GetPixelFormat, 1}};
  for (const auto& step : steps) {
    SCOPED_TRACE(static_cast<int>(step.call));
    StartFreshMachine();
    InjectFault(step.call, 1, 1000000);
    PressKey(100, VK_ESCAPE);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunProgram(), step.exit_code);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("vork: cannot open the 640x480 display") != std::string::npos, step.exit_code == 1);
    EXPECT_EQ(HeadlessFrameCount(), 0);
    EXPECT_EQ(SoftLiveObjectCount(), 0);
    display = DisplayState{};
  }
}

// Start-up attaches a second whole-screen clipper to the back surface; the first one goes.
// DirectDraw, primary, back buffer, palette, one clipper, and the sprites' 148 frame surfaces
// (crunch 1, tree 1, stump 1, letters 11 x 11, spare robots 3 x 2, bulldozer 2, robot 16).
TEST_F(ProgramTest, StartUpHoldsOneBackClipperAndTheSpritesFrames) {
  CreateTestWindow();
  ASSERT_EQ(GameStartup(), 1);
  LPDIRECTDRAWCLIPPER attached = nullptr;
  ASSERT_EQ(display.back_surface->GetClipper(&attached), DD_OK);
  EXPECT_EQ(attached, display.back_clipper);
  attached->Release();
  EXPECT_EQ(SoftLiveObjectCount(), 5 + 148);
  EXPECT_EQ(GameShutdown(), 1);
  EXPECT_EQ(SoftLiveObjectCount(), 0);
}

}  // namespace
