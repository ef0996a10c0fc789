// Scene set-up, the letter logic, the mishaps, the robot and the bulldozer, run on a started game
// whose files are all missing: sprites draw nothing and every sound is over at once, so each
// step can be driven directly.
#include "display/frame.h"
#include "gameplay/game_world.h"
#include "gameplay/gameplay.h"
#include "input/keyboard.h"
#include "shell/game_shell.h"
#include "test_support.h"

namespace {

class GameplayTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
    ASSERT_EQ(GameStartup(), 1);
    SetUpScene(1);
    game_state = StateScene1;
    scene_intro_pending[0] = 0;
  }
  void TearDown() override {
    GameShutdown();
    display = DisplayState{};
    FreshMachineTest::TearDown();
  }
  static void Place(Sprite* sprite, float x, float y) {
    sprite->x = x;
    sprite->y = y;
  }
  static void PutRobotOn(int tile) { Place(&robot_sprite, letter_sprites[tile].x, letter_sprites[tile].y); }
  // Holds keys from now for the next keyboard read.
  static void Hold(int virtual_key) { HeadlessScheduleKey(HeadlessNow(), virtual_key, true); }
  static void Release(int virtual_key) { HeadlessScheduleKey(HeadlessNow(), virtual_key, false); }
  static int SparesLeft() { return life_bot_present[0] + life_bot_present[1] + life_bot_present[2]; }
};

void ExpectAt(const Sprite& sprite, float x, float y) {
  EXPECT_FLOAT_EQ(sprite.x, x);
  EXPECT_FLOAT_EQ(sprite.y, y);
}

bool Visible(const Sprite& sprite) { return (sprite.flags & SPRITE_VISIBLE) != 0; }

TEST_F(GameplayTest, SceneOneSetUpPlacesEverythingAndStartsANewGame) {
  ExpectAt(robot_sprite, 100, 120);
  ExpectAt(dozer_sprite, 320, 200);
  for (int i = 0; i < 5; ++i) {
    ExpectAt(tree_sprites[i], scene_table[0].tree_spots[i].x, scene_table[0].tree_spots[i].y);
    ExpectAt(stump_sprites[i], scene_table[0].tree_spots[i].x, scene_table[0].tree_spots[i].y);
    EXPECT_TRUE(Visible(tree_sprites[i]));
    EXPECT_FALSE(Visible(stump_sprites[i]));
  }
  ExpectAt(tree_sprites[5], 100, 400);  // unused slots stay where start-up put them
  ExpectAt(letter_sprites[TILE_F], 130, 50);
  ExpectAt(letter_sprites[TILE_T], 560, 360);
  for (int i = 0; i < SPARE_ROBOTS; ++i) {
    EXPECT_EQ(life_bot_present[i], 1);
    EXPECT_EQ(life_bot_sprites[i].current_frame, 1);  // the robot-still-there picture
  }
  EXPECT_EQ(show_title, 1);
  EXPECT_EQ(prompt_pending, 1);
  EXPECT_EQ(game_over_shown, 0);
}

TEST_F(GameplayTest, LettersCountOnlyInSpellingOrder) {
  PutRobotOn(TILE_O);
  EXPECT_FALSE(CheckLetters(1));  // O before D does nothing
  ExpectAt(letter_sprites[TILE_O], 450, 280);
  EXPECT_EQ(letter_found[1], 0);
  EXPECT_EQ(SparesLeft(), 3);
  PutRobotOn(TILE_D);
  EXPECT_FALSE(CheckLetters(1));
  ExpectAt(letter_sprites[TILE_D], 200, 430);
  EXPECT_EQ(letter_found[0], 1);
  PutRobotOn(TILE_G);
  EXPECT_FALSE(CheckLetters(1));  // G before O does nothing either
  ExpectAt(letter_sprites[TILE_G], 240, 270);
  PutRobotOn(TILE_O);
  EXPECT_FALSE(CheckLetters(1));
  ExpectAt(letter_sprites[TILE_O], 230, 430);
  PutRobotOn(TILE_G);
  EXPECT_TRUE(CheckLetters(1));
  ExpectAt(letter_sprites[TILE_G], 260, 430);
  for (uint8_t found : letter_found) EXPECT_EQ(found, 0);
}

TEST_F(GameplayTest, TheFrogWordFillsFourPlacesAndEndsTheGame) {
  SetUpScene(4);
  game_state = StateScene4;
  const int word[] = {TILE_F, TILE_R, TILE_O, TILE_G};
  for (int j = 0; j < 4; ++j) {
    PutRobotOn(word[j]);
    PlayScene(4);
    ExpectAt(letter_sprites[word[j]], 200 + 30 * j, 430);
  }
  EXPECT_EQ(game_state, StateGameEnd);
  EXPECT_EQ(game_over_shown, 0);
}

TEST_F(GameplayTest, ACompletedWordSetsUpTheNextScene) {
  for (int tile : {TILE_D, TILE_O, TILE_G}) {
    PutRobotOn(tile);
    PlayScene(1);
  }
  EXPECT_EQ(game_state, StateScene2);
  ExpectAt(robot_sprite, 100, 120);
  ExpectAt(letter_sprites[TILE_O], 515, 155);  // O is a wrong tile of the cat scene
  EXPECT_EQ(HeadlessOpenedFiles().back(), "cat.BMP");
}

TEST_F(GameplayTest, AWrongTileShowsTheCagesSpendsASpareAndRestarts) {
  Place(&dozer_sprite, 300, 300);
  PutRobotOn(TILE_A);
  const uint32_t before = HeadlessNow();
  EXPECT_FALSE(CheckLetters(1));
  EXPECT_GE(HeadlessNow() - before, 2500u);  // three pictures of 500 ms and a 1000 ms pause
  EXPECT_LT(HeadlessNow() - before, 2600u);
  EXPECT_FALSE(Visible(letter_sprites[TILE_A]));
  ExpectAt(letter_sprites[TILE_A], 200, 430);
  ExpectAt(robot_sprite, 100, 120);
  ExpectAt(dozer_sprite, 480, 200);
  EXPECT_EQ(life_bot_present[0], 0);
  EXPECT_EQ(life_bot_sprites[0].current_frame, 0);  // the used-up picture
  EXPECT_EQ(life_bot_present[1], 1);
  const std::vector<std::string> expected = {"treeCage.BMP", "treeCage2.BMP", "treeCage3.BMP", "scene1.BMP"};
  const auto& opened = HeadlessOpenedFiles();
  EXPECT_EQ(std::vector<std::string>(opened.end() - 4, opened.end()), expected);
}

TEST_F(GameplayTest, FourMishapsOfEitherKindEndTheGameSparesSpentLeftToRight) {
  PutRobotOn(TILE_A);
  CheckLetters(1);  // wrong tile
  EXPECT_EQ(SparesLeft(), 2);
  Place(&dozer_sprite, 100, 120);
  RunPlayFrame();  // caught
  EXPECT_EQ(life_bot_present[1], 0);
  EXPECT_EQ(life_bot_present[2], 1);
  PutRobotOn(TILE_F);
  CheckLetters(1);  // wrong tile
  EXPECT_EQ(SparesLeft(), 0);
  EXPECT_EQ(game_state, StateScene1);
  for (const Sprite& spare : life_bot_sprites) EXPECT_EQ(spare.current_frame, 0);
  Place(&dozer_sprite, 100, 120);
  RunPlayFrame();  // caught, none left
  EXPECT_EQ(game_state, StateGameEnd);
  EXPECT_EQ(game_over_shown, 1);
  EXPECT_EQ(HeadlessOpenedFiles().back(), "GameOver.BMP");
  ExpectAt(robot_sprite, 100, 120);
  ExpectAt(dozer_sprite, 480, 200);
}

TEST_F(GameplayTest, TheLosingWrongTileKeepsTheGameOverPicture) {
  for (int i = 0; i < SPARE_ROBOTS; ++i) life_bot_present[i] = 0;
  PutRobotOn(TILE_T);
  CheckLetters(1);
  EXPECT_EQ(game_state, StateGameEnd);
  EXPECT_EQ(HeadlessOpenedFiles().back(), "GameOver.BMP");
}

TEST_F(GameplayTest, TheCatchIsTestedAfterTheDozerStepsAndBeforeTheRobotDoes) {
  // The bulldozer's step brings it to 143.9, which truncates to 143: 43 from the robot.
  Place(&dozer_sprite, 144.4f, 120);
  Hold(VK_LEFT);  // the robot would step out of reach this frame
  RunPlayFrame();
  EXPECT_EQ(life_bot_present[0], 0);
  // Back at the restart spots, and the frame goes on: the robot takes its step from there.
  ExpectAt(robot_sprite, static_cast<float>(100 - PLAY_STEP), 120);
  ExpectAt(dozer_sprite, 480, 200);
}

TEST_F(GameplayTest, ADozerJustOutOfReachDoesNotCatch) {
  Place(&dozer_sprite, 144.6f, 120);  // 144.1 after its step
  RunPlayFrame();
  EXPECT_EQ(SparesLeft(), 3);
}

TEST_F(GameplayTest, ATreeStopsTheRobotOneStepShortWhileTheOtherAxisMoves) {
  // Tree slot 0 stands at (250, 190); the step right would reach 207.1, truncated 207: 43 away.
  Place(&robot_sprite, 205.9f, 190);
  Hold(VK_RIGHT);
  Hold(VK_DOWN);
  RunPlayFrame();
  EXPECT_FLOAT_EQ(robot_sprite.x, static_cast<float>(static_cast<float>(205.9f + PLAY_STEP) - PLAY_STEP));
  EXPECT_FLOAT_EQ(robot_sprite.y, static_cast<float>(190 + PLAY_STEP));
  EXPECT_EQ(robot_sprite.current_animation, 3);  // the vertical step's animation comes last
}

TEST_F(GameplayTest, UnplacedTreeSlotsStillBlockTheRobot) {
  // Slots 5 and 6 stand unseen at (100, 400) in scene 1; a step down to 377.7 would touch both.
  // Slot 5 takes the step back; slot 6, tested at the position as it then is, does not.
  Place(&robot_sprite, 100, 376.5f);
  Hold(VK_DOWN);
  RunPlayFrame();
  EXPECT_FLOAT_EQ(robot_sprite.y, static_cast<float>(static_cast<float>(376.5f + PLAY_STEP) - PLAY_STEP));
}

TEST_F(GameplayTest, TheDozerFellsEveryTreeItTouchesUnplacedSlotsToo) {
  Place(&robot_sprite, 560, 20);
  Place(&dozer_sprite, 100, 390);
  RunPlayFrame();
  for (int slot : {5, 6}) {
    EXPECT_FALSE(Visible(tree_sprites[slot]));
    EXPECT_TRUE(Visible(stump_sprites[slot]));
    ExpectAt(tree_sprites[slot], 800, 600);
    ExpectAt(stump_sprites[slot], 100, 400);
  }
  EXPECT_TRUE(Visible(tree_sprites[4]));  // slot 4 at (150, 340) is out of reach
  Place(&dozer_sprite, 250, 190);
  RunPlayFrame();
  EXPECT_FALSE(Visible(tree_sprites[0]));
  // A new scene puts the felled slot back up.
  SetUpScene(2);
  EXPECT_TRUE(Visible(tree_sprites[0]));
  EXPECT_FALSE(Visible(stump_sprites[0]));
  ExpectAt(tree_sprites[0], 190, 110);
}

TEST_F(GameplayTest, TheRobotKeepsWithinItsBounds) {
  Place(&robot_sprite, 589.9f, 10);
  Hold(VK_RIGHT);
  Hold(VK_LEFT);  // right wins while it may move right
  RunPlayFrame();
  EXPECT_FLOAT_EQ(robot_sprite.x, static_cast<float>(589.9f + PLAY_STEP));
  RunPlayFrame();  // x + 50 is no longer below 640: left instead
  EXPECT_FLOAT_EQ(robot_sprite.x, static_cast<float>(static_cast<float>(589.9f + PLAY_STEP) - PLAY_STEP));
  Release(VK_RIGHT);
  Release(VK_LEFT);
  Place(&robot_sprite, 10, 389.5f);
  Hold(VK_DOWN);
  RunPlayFrame();
  RunPlayFrame();
  EXPECT_FLOAT_EQ(robot_sprite.y, static_cast<float>(389.5f + PLAY_STEP));
  Release(VK_DOWN);
  Place(&robot_sprite, 10, 0.5f);
  Hold(VK_UP);
  Hold(VK_DOWN);
  RunPlayFrame();  // up wins while y > 0
  RunPlayFrame();  // y is now below 0: down
  EXPECT_FLOAT_EQ(robot_sprite.y, static_cast<float>(static_cast<float>(0.5f - PLAY_STEP) + PLAY_STEP));
  Release(VK_UP);
  Release(VK_DOWN);
  Place(&robot_sprite, 0, 10);  // on the left edge: left no longer moves it
  Hold(VK_LEFT);
  RunPlayFrame();
  EXPECT_FLOAT_EQ(robot_sprite.x, 0.0f);
}

// One arrow or two: the walk goes on through its pictures (two arrows show the vertical walk).
TEST_F(GameplayTest, TheWalkAnimatesWhileArrowsAreHeld) {
  struct Case {
    std::vector<int> keys;
    std::vector<int> frames;
  };
  const Case cases[] = {{{VK_LEFT}, {0, 9, 9, 8, 8, 9}},
                        {{VK_RIGHT, VK_DOWN}, {0, 13, 13, 12, 12, 13}},
                        {{VK_LEFT, VK_UP}, {0, 5, 5, 4, 4, 5}}};
  for (const Case& c : cases) {
    SetSpriteAnimation(&robot_sprite, 0);
    robot_sprite.current_frame = 0;
    Place(&robot_sprite, 300, 20);
    Place(&dozer_sprite, 500, 350);
    for (int key : c.keys) Hold(key);
    std::vector<int> frames;
    for (int i = 0; i < 6; ++i) {
      RunPlayFrame();
      frames.push_back(robot_sprite.current_frame);
    }
    EXPECT_EQ(frames, c.frames) << c.keys.size();
    for (int key : c.keys) Release(key);
  }
}

TEST_F(GameplayTest, TheDozerChasesAtHalfAPixelAndWrapsRoundTheScreen) {
  Place(&robot_sprite, 100, 120);
  Place(&dozer_sprite, 320, 200);
  MoveDozer();
  ExpectAt(dozer_sprite, 319.5f, 199.5f);
  EXPECT_EQ(dozer_sprite.current_animation, 1);
  Place(&robot_sprite, 1000, 1000);
  Place(&dozer_sprite, 639.6f, 479.6f);
  MoveDozer();
  ExpectAt(dozer_sprite, -116, -60);
  EXPECT_EQ(dozer_sprite.current_animation, 0);
  Place(&robot_sprite, -500, -500);
  Place(&dozer_sprite, -116, -60);
  MoveDozer();
  ExpectAt(dozer_sprite, 640, 480);
  Place(&robot_sprite, 300, 300);
  Place(&dozer_sprite, 300, 300);
  MoveDozer();  // lined up: no change
  ExpectAt(dozer_sprite, 300, 300);
}

TEST_F(GameplayTest, EscapeInPlayEndsTheFrameWithoutTestingTheTiles) {
  PutRobotOn(TILE_A);
  Place(&dozer_sprite, 500, 350);
  Hold(VK_ESCAPE);
  PlayScene(1);
  EXPECT_EQ(quit_requested, 1);
  EXPECT_EQ(SparesLeft(), 3);  // the wrong tile under the robot was not tested
  PlayScene(1);  // still held: no second request
  MSG msg;
  int destroy_messages = 0;
  for (int i = 0; i < 100 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    destroy_messages += msg.message == WM_DESTROY;
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(destroy_messages, 1);
}

}  // namespace
