// The picture screens' keys and hand-overs, on a started game whose files are all missing
// (blank pictures, every sound over at once), and the program's ways of ending.
#include <string>

#include "display/frame.h"
#include "gameplay/game_world.h"
#include "gameplay/gameplay.h"
#include "input/keyboard.h"
#include "shell/game_shell.h"
#include "soft/direct_draw.h"
#include "soft/faults.h"
#include "test_support.h"

namespace {

class ScreenTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
  }
  void Start() { ASSERT_EQ(GameStartup(), 1); }
  void TearDown() override {
    GameShutdown();
    display = DisplayState{};
    FreshMachineTest::TearDown();
  }
  static void Press(int virtual_key) { HeadlessScheduleKey(HeadlessNow(), virtual_key, true); }
  static void Release(int virtual_key) { HeadlessScheduleKey(HeadlessNow(), virtual_key, false); }
  static bool Opened(const std::string& name) {
    const auto& files = HeadlessOpenedFiles();
    return std::find(files.begin(), files.end(), name) != files.end();
  }
};

TEST_F(ScreenTest, StartUpLeavesSparesUsedUpStumpsHiddenAndTheTitleOnTheBackdrop) {
  Start();
  for (const Sprite& spare : life_bot_sprites) EXPECT_EQ(spare.current_animation, 0);
  EXPECT_FALSE(stump_sprites[0].flags & SPRITE_VISIBLE);
  EXPECT_TRUE(tree_sprites[6].flags & SPRITE_VISIBLE);
  EXPECT_FLOAT_EQ(tree_sprites[6].x, 100);
  EXPECT_FLOAT_EQ(tree_sprites[6].y, 400);
  EXPECT_TRUE(tree_sprites[6].flags & SPRITE_CLONE);
  EXPECT_EQ(robot_sprite.anim_speed, 2);
  EXPECT_EQ(letter_sprites[10].frame_count, 11);
  EXPECT_EQ(HeadlessOpenedFiles()[1], "Intro1.BMP");
  EXPECT_FALSE(HeadlessCursorVisible());
}

TEST_F(ScreenTest, SpaceAndEnterTogetherOnTheTitleOpenTheInstructionsThenSpaceStartsSceneOne) {
  Start();
  Press(VK_SPACE);
  Press(VK_RETURN);
  RunGameStatePass();
  EXPECT_EQ(game_state, StateInstructions);
  EXPECT_EQ(show_title, 0);
  EXPECT_EQ(prompt_pending, 1);
  EXPECT_EQ(HeadlessOpenedFiles().back(), "Inst.BMP");
  Release(VK_RETURN);
  RunGameStatePass();
  EXPECT_EQ(game_state, StateTitle);
  RunGameStatePass();  // show_title is clear: scene 1 is set up, no title
  EXPECT_EQ(game_state, StateScene1);
  EXPECT_EQ(HeadlessOpenedFiles().back(), "dog.BMP");
}

// Escape on the instructions ends the game there: Space held with it does not lead back to the
// title, and the title is not shown again before the program ends.
TEST_F(ScreenTest, EscapeOnTheInstructionsEndsTheGameAndSpaceWithItIsNotTaken) {
  Start();
  Press(VK_RETURN);
  RunGameStatePass();
  ASSERT_EQ(game_state, StateInstructions);
  ASSERT_EQ(show_title, 1);
  Release(VK_RETURN);
  Press(VK_ESCAPE);
  Press(VK_SPACE);
  RunGameStatePass();
  EXPECT_EQ(quit_requested, 1);
  EXPECT_EQ(game_state, StateInstructions);
  EXPECT_EQ(show_title, 0);
  EXPECT_EQ(prompt_pending, 0);
}

TEST_F(ScreenTest, COpensTheCreditsAndSpaceThereStartsANewGameWithoutTheTitle) {
  Start();
  Press('C');
  RunGameStatePass();
  EXPECT_EQ(game_state, StateCredits);
  EXPECT_EQ(HeadlessOpenedFiles().back(), "Cr1.BMP");
  Release('C');
  Press(VK_SPACE);
  scene_intro_pending[2] = 0;
  RunGameStatePass();
  EXPECT_EQ(game_state, StateTitle);
  EXPECT_EQ(show_title, 0);
  EXPECT_EQ(scene_intro_pending[2], 1);
  RunGameStatePass();
  EXPECT_EQ(game_state, StateScene1);
}

TEST_F(ScreenTest, WithoutAKeyboardDeviceCDoesNothingWhileSpaceStillWorks) {
  InjectFault(PlatformCall::CreateInputDevice, 1);
  Start();
  Press('C');
  RunGameStatePass();
  EXPECT_EQ(game_state, StateTitle);
  EXPECT_FALSE(Opened("Cr1.BMP"));
  Press(VK_SPACE);
  RunGameStatePass();
  RunGameStatePass();
  EXPECT_EQ(game_state, StateScene1);
}

TEST_F(ScreenTest, EscapeOnTheInstructionsEndsTheProgram) {
  Start();
  game_state = StateInstructions;
  Press(VK_ESCAPE);
  RunGameStatePass();
  EXPECT_EQ(quit_requested, 1);
  EXPECT_EQ(show_title, 0);
}

TEST_F(ScreenTest, TheCreditsDrawTheirPictureInEveryPass) {
  Start();
  game_state = StateCredits;
  FillSurface(display.back_surface, 9, nullptr);  // what a frame before left
  RunGameStatePass();
  ASSERT_FALSE(HeadlessFrames().empty());
  EXPECT_EQ(HeadlessFrames().back().pixels[0], 0);  // the blank Cr1.BMP
}

TEST_F(ScreenTest, AnIntroWhoseCallFailedToLoadGivesWayToPlayAfterOneFrame) {
  Start();
  SetUpScene(2);
  game_state = StateScene2;
  const int frames = HeadlessFrameCount();
  RunGameStatePass();
  EXPECT_EQ(HeadlessFrameCount(), frames + 2);  // the paced frame, then the play picture's palette
  EXPECT_EQ(scene_intro_pending[1], 0);
  EXPECT_EQ(prompt_pending, 1);
  EXPECT_EQ(HeadlessOpenedFiles().back(), "scene2.BMP");
  RunGameStatePass();  // now play
  EXPECT_FLOAT_EQ(dozer_sprite.x, 319.5f);
}

TEST_F(ScreenTest, EscapeDuringALaterIntroEndsItWithoutLoadingThePlayPicture) {
  Start();
  SetUpScene(3);
  game_state = StateScene3;
  Press(VK_ESCAPE);
  RunGameStatePass();
  EXPECT_EQ(quit_requested, 1);
  EXPECT_EQ(scene_intro_pending[2], 1);
  EXPECT_FALSE(Opened("scene3.BMP"));
}

TEST_F(ScreenTest, TheGameOverScreenStartsANewGameOnSpace) {
  Start();
  game_state = StateGameEnd;
  game_over_shown = 1;
  scene_intro_pending[0] = 0;
  Press(VK_SPACE);
  RunGameStatePass();
  EXPECT_EQ(game_state, StateTitle);
  EXPECT_EQ(scene_intro_pending[0], 1);
  Release(VK_SPACE);
  RunGameStatePass();
  EXPECT_EQ(game_state, StateScene1);
  EXPECT_EQ(game_over_shown, 0);
}

TEST_F(ScreenTest, TheWinningScreenHandsOverToTheCredits) {
  Start();
  game_state = StateGameEnd;
  scene_intro_pending[3] = 0;
  RunGameStatePass();
  EXPECT_EQ(game_state, StateCredits);
  EXPECT_EQ(scene_intro_pending[3], 1);
  const auto& files = HeadlessOpenedFiles();
  EXPECT_EQ(files[files.size() - 2], "winAnimals.BMP");
  EXPECT_EQ(files.back(), "Cr1.BMP");
}

// The whole program, through WinMain.
class ProgramEndTest : public FreshMachineTest {
 protected:
  void TearDown() override {
    display = DisplayState{};
    FreshMachineTest::TearDown();
  }
  int RunProgram() {
    HeadlessSetDeadline(60000);
    try {
      return WinMain(reinterpret_cast<HINSTANCE>(this), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
    } catch (const HeadlessDeadline&) {
      ADD_FAILURE() << "the program did not end";
      return -1;
    }
  }
};

bool AllRed(const HeadlessFrame& frame) {
  for (int i = 0; i < 256; ++i)
    if (frame.palette[i * 4] != 255 || frame.palette[i * 4 + 1] != 0 || frame.palette[i * 4 + 2] != 0) return false;
  return true;
}

int red_fades = 0;
bool last_was_red = false;

void CountFades(const HeadlessFrame& frame, int) {
  const bool red = AllRed(frame);
  if (red && !last_was_red) ++red_fades;
  last_was_red = red;
}

TEST_F(ProgramEndTest, EscapeHeldInPlayFadesOnceAndTheProgramEnds) {
  red_fades = 0;
  last_was_red = false;
  HeadlessKeepFrames(FrameKeeping::None);
  HeadlessOnFrame(CountFades);
  HeadlessScheduleKey(50, VK_SPACE, true);
  HeadlessScheduleKey(100, VK_SPACE, false);
  HeadlessScheduleKey(400, VK_ESCAPE, true);  // held to the end
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(red_fades, 1);
  EXPECT_LT(HeadlessNow(), 400u + 1500u);
  HeadlessOnFrame(nullptr);
}

TEST_F(ProgramEndTest, ADisplayThatCannotOpenEndsTheProgramWithAMessage) {
  for (PlatformCall step : {PlatformCall::DirectDrawCreate, PlatformCall::SetCooperativeLevel,
                            PlatformCall::SetDisplayMode, PlatformCall::CreateSurface, PlatformCall::CreatePalette}) {
    StartFreshMachine();
    InjectFault(step, 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunProgram(), 1) << static_cast<int>(step);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("vork: cannot open the 640x480 display"), std::string::npos) << said;
    EXPECT_EQ(HeadlessFrameCount(), 0);
    EXPECT_EQ(SoftLiveObjectCount(), 0);
    display = DisplayState{};
  }
}

TEST_F(ProgramEndTest, MissingFilesAreNamedOnceWithTheFolder) {
  WriteTextFile("Intro1.BMP", "not a picture");  // there but damaged: not reported as missing
  HeadlessScheduleKey(100, VK_ESCAPE, true);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunProgram(), 0);
  const std::string said = ::testing::internal::GetCapturedStderr();
  char here[4096];
  ASSERT_NE(getcwd(here, sizeof here), nullptr);
  EXPECT_EQ(said.find("vork: game files missing from " + std::string(here) + ": \"PALDATA3.PAL\", \"Crunch.bmp\""), 0u)
      << said;
  EXPECT_NE(said.find("\"SpaceBar.wav\" (blank pictures and silence in their place)\n"), std::string::npos);
  EXPECT_EQ(said.find("Intro1.BMP"), std::string::npos);
  EXPECT_EQ(said.find("vork:", 1), std::string::npos);  // said once
}

}  // namespace
