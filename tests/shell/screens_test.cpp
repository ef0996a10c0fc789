// The picture screens' keys and hand-overs, pass by pass, on a started game whose files are all
// missing (blank pictures, every sound over at once).
#include <string>
#include <vector>

#include "shell_fixture.h"
#include "soft/faults.h"

namespace {

constexpr int ANY = -1;

// One pass: keys pressed and let go before it (their virtual-key codes as characters), and what
// the game shows after it.
struct Pass {
  std::string press, release;
  int state;
  int show_title = ANY;
  int quit = 0;
  const char* last_file = nullptr;  // the file opened last, when given
  int intros_pending = ANY;         // how many of the four scene intros are still to come
};

// A game started on the title (without a keyboard device, when asked) or on the game-over
// screen, then the passes.
struct ScreenCase {
  const char* name;
  bool on_game_over;
  std::vector<Pass> passes;
  bool without_keyboard = false;
};

const std::string SPACE = " ", ENTER = "\r", ESCAPE = "\x1b";

void Keys(const std::string& keys, bool down) {
  for (char key : keys) HeadlessScheduleKey(HeadlessNow(), key, down);
}

int IntrosPending() { return std::count(std::begin(scene_intro_pending), std::end(scene_intro_pending), 1); }

class ScreenTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    CreateTestWindow();
  }
  void Start() { ASSERT_EQ(GameStartup(), 1); }
  void TearDown() override {
    GameShutdown();
    ShellTest::TearDown();
  }
  void Play(const ScreenCase& screen_case) {
    SCOPED_TRACE(screen_case.name);
    StartFreshMachine();
    CreateTestWindow();
    if (screen_case.without_keyboard) InjectFault(PlatformCall::CreateInputDevice, 1);
    ASSERT_EQ(GameStartup(), 1);
    if (screen_case.on_game_over) {
      game_state = StateGameEnd;
      game_over_shown = 1;
      for (uint8_t& pending : scene_intro_pending) pending = 0;
    }
    for (size_t n = 0; n < screen_case.passes.size(); ++n) {
      const Pass& pass = screen_case.passes[n];
      SCOPED_TRACE(n);
      Keys(pass.release, false);
      Keys(pass.press, true);
      RunGameStatePass();
      EXPECT_EQ(game_state, pass.state);
      EXPECT_EQ(quit_requested, pass.quit);
      EXPECT_TRUE(pass.show_title == ANY || show_title == pass.show_title) << int{show_title};
      EXPECT_TRUE(!pass.last_file || HeadlessOpenedFiles().back() == pass.last_file) << HeadlessOpenedFiles().back();
      EXPECT_TRUE(pass.intros_pending == ANY || IntrosPending() == pass.intros_pending) << IntrosPending();
    }
    GameShutdown();
    display = DisplayState{};
  }
};

TEST_F(ScreenTest, KeysLeadFromScreenToScreen) {
  const ScreenCase cases[] = {
      {"Escape on the instructions ends the game there; Space held with it is not taken",
       false,
       {{ENTER, "", StateInstructions, 1}, {ESCAPE + SPACE, ENTER, StateInstructions, 0, 1}}},
      {"without a keyboard device C does nothing while Space still works",
       false,
       {{"C", "", StateTitle, 1}, {SPACE, "", StateTitle, 0}, {"", "", StateScene1}},
       true},
      {"Space on the game-over screen: a new game from scene 1",
       true,
       {{SPACE, "", StateTitle, 0, 0, nullptr, 4}, {"", SPACE, StateScene1, ANY, 0, "dog.BMP"}}},
  };
  for (const ScreenCase& screen_case : cases) Play(screen_case);
}

TEST_F(ScreenTest, StartUpSizesTheSparesHidesTheStumpsAndClonesTheTrees) {
  Start();
  for (const Sprite& spare : life_bot_sprites) EXPECT_EQ(spare.height, 60);
  EXPECT_FALSE(stump_sprites[0].flags & SPRITE_VISIBLE);
  EXPECT_EQ(tree_sprites[6].flags & (SPRITE_VISIBLE | SPRITE_CLONE), SPRITE_VISIBLE | SPRITE_CLONE);
  EXPECT_TRUE(tree_sprites[6].x == 100 && tree_sprites[6].y == 400);
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

}  // namespace
