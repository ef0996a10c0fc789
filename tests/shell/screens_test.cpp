// The picture screens' keys and hand-overs, pass by pass, on a started game whose files are all
// missing (blank pictures, every sound over at once).
#include <functional>
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

// A game started (without a keyboard device, when asked), set up by `arrange`, then the passes.
struct ScreenCase {
  const char* name;
  std::function<void()> arrange;
  std::vector<Pass> passes;
  bool without_keyboard = false;
};

const std::string SPACE = " ", ENTER = "\r", ESCAPE = "\x1b";

void Keys(const std::string& keys, bool down) {
  for (char key : keys) HeadlessScheduleKey(HeadlessNow(), key, down);
}

int IntrosPending() { return std::count(std::begin(scene_intro_pending), std::end(scene_intro_pending), 1); }

// The game in `state` with every scene intro done.
void Begin(int state) {
  game_state = state;
  for (uint8_t& pending : scene_intro_pending) pending = 0;
}

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
    screen_case.arrange();
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
    StartFreshMachine();
  }
};

TEST_F(ScreenTest, KeysLeadFromScreenToScreen) {
  const auto title = [] {};
  const ScreenCase cases[] = {
      {"Space and Enter on the title: the instructions, then Space leads to scene 1 without the title",
       title,
       {{SPACE + ENTER, "", StateInstructions, 0, 0, "Inst.BMP"},
        {"", ENTER, StateTitle, 0},
        {"", "", StateScene1, ANY, 0, "dog.BMP"}}},
      {"Escape on the instructions ends the game there; Space held with it is not taken",
       title,
       {{ENTER, "", StateInstructions, 1}, {ESCAPE + SPACE, ENTER, StateInstructions, 0, 1}}},
      {"C on the title: the credits, where Space starts a new game without the title",
       [] { Begin(StateTitle); },
       {{"C", "", StateCredits, 1, 0, "Cr1.BMP", 0},
        {SPACE, "C", StateTitle, 0, 0, nullptr, 4},
        {"", "", StateScene1, ANY, 0, "dog.BMP"}}},
      {"without a keyboard device C does nothing while Space still works",
       title,
       {{"C", "", StateTitle, 1}, {SPACE, "", StateTitle, 0}, {"", "", StateScene1}},
       true},
      {"Escape during a later intro ends it without loading the play picture",
       [] {
         SetUpScene(3);
         game_state = StateScene3;
       },
       {{ESCAPE, "", StateScene3, ANY, 1, "owl.BMP"}}},
      {"Space on the game-over screen: a new game from scene 1",
       [] {
         Begin(StateGameEnd);
         game_over_shown = 1;
       },
       {{SPACE, "", StateTitle, 0, 0, nullptr, 4}, {"", SPACE, StateScene1, ANY, 0, "dog.BMP"}}},
      {"the winning screen hands over to the credits",
       [] { Begin(StateGameEnd); },
       {{"", "", StateCredits, ANY, 0, "Cr1.BMP", 4}}},
  };
  for (const ScreenCase& screen_case : cases) Play(screen_case);
}

TEST_F(ScreenTest, StartUpLeavesSparesUsedUpStumpsHiddenAndTheTitleOnTheBackdrop) {
  Start();
  for (const Sprite& spare : life_bot_sprites) {
    EXPECT_EQ(spare.current_animation, 0);
    EXPECT_EQ(spare.height, 60);
  }
  EXPECT_FALSE(stump_sprites[0].flags & SPRITE_VISIBLE);
  EXPECT_EQ(tree_sprites[6].flags & (SPRITE_VISIBLE | SPRITE_CLONE), SPRITE_VISIBLE | SPRITE_CLONE);
  EXPECT_TRUE(tree_sprites[6].x == 100 && tree_sprites[6].y == 400);
  EXPECT_EQ(robot_sprite.anim_speed, 2);
  EXPECT_EQ(letter_sprites[10].frame_count, 11);
  EXPECT_EQ(HeadlessOpenedFiles()[1], "Intro1.BMP");
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
