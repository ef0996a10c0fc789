// Shared by the gameplay tests: a started game in scene 1's play, and helpers to place sprites,
// hold keys and read the frames shown.
#pragma once

#include <unistd.h>

#include <initializer_list>

#include "display/frame.h"
#include "gameplay/game_world.h"
#include "gameplay/gameplay.h"
#include "shell/game_shell.h"
#include "test_support.h"

class GameFixture : public FreshMachineTest {
 protected:
  // Starts the game in scene 1's play. With pictures it runs in the generated assets folder and
  // keeps every frame; without, every file is missing: sprites draw nothing and every sound is
  // over at once, so each step can be driven directly.
  void StartGame(bool with_pictures = false) {
    if (with_pictures) {
      ASSERT_EQ(chdir(VORK_ASSET_DIR), 0);
    }
    CreateTestWindow();
    ASSERT_EQ(GameStartup(), 1);
    SetUpScene(1);
    if (with_pictures) LoadBackdrop("scene1.BMP");
    game_state = StateScene1;
    scene_intro_pending[0] = 0;
    if (with_pictures) HeadlessKeepFrames(FrameKeeping::All);
  }
  // Not the base fixture's clean-up, which would remove the palette file from the assets folder
  // (the next test enters a folder of its own).
  void TearDown() override {
    GameShutdown();
    display = DisplayState{};
  }
  static void Place(Sprite* sprite, float x, float y) {
    sprite->x = x;
    sprite->y = y;
  }
  static void PutRobotOn(int tile) { Place(&robot_sprite, letter_sprites[tile].x, letter_sprites[tile].y); }
  // Holds or lets go of a key from now on, for the next keyboard read.
  static void Hold(int virtual_key, bool down = true) { HeadlessScheduleKey(HeadlessNow(), virtual_key, down); }
  static int SparesLeft() { return life_bot_present[0] + life_bot_present[1] + life_bot_present[2]; }
  // True when every pixel of the 58 x 30 box at (x, y), outside the box at `skip`, shows the
  // backdrop picture.
  static bool ShowsBackdrop(const HeadlessFrame& frame, int x, int y, Spot skip = {-100, -100}) {
    for (int row = y; row < y + OBJECT_H; ++row)
      for (int column = x; column < x + OBJECT_W; ++column) {
        const bool skipped = column >= skip.x && column < skip.x + OBJECT_W && row >= skip.y && row < skip.y + OBJECT_H;
        if (!skipped && frame.pixels[row * 640 + column] != backdrop.pixels[row * 640 + column]) return false;
      }
    return true;
  }
};

// Expects the sprite at (x, y).
inline void ExpectAt(const Sprite& sprite, float x, float y) {
  EXPECT_FLOAT_EQ(sprite.x, x);
  EXPECT_FLOAT_EQ(sprite.y, y);
}
