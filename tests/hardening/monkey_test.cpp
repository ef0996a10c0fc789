// The monkey test: seeded games of random keys on the headless host, every pass checked by the
// game watch; and the watch's own checks, each shown to catch what it is there for.
// VORK_MONKEY_GAMES and VORK_MONKEY_MINUTES make the run longer (make soak).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "dinput.h"
#include "monkey.h"
#include "test_support.h"

namespace {

int EnvNumber(const char* name, int fallback) {
  const char* text = std::getenv(name);
  return text && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}

// A scene 1 game in play as SetUpScene leaves it.
GameSnapshot SceneOneInPlay() {
  GameSnapshot game{};
  game.game_state = StateScene1;
  game.show_title = 1;
  game.robot_x = ROBOT_START.x;
  game.robot_y = ROBOT_START.y;
  for (int i = 0; i < SPARE_ROBOTS; ++i) game.spares[i] = 1;
  const SceneSpec& spec = scene_table[0];
  for (int tile = 0; tile < LETTER_TILES; ++tile) {
    game.tile_x[tile] = static_cast<float>(spec.tile_spots[tile].x);
    game.tile_y[tile] = static_cast<float>(spec.tile_spots[tile].y);
    game.tile_visible[tile] = true;
  }
  return game;
}

std::vector<std::string> Check(const GameSnapshot& before, const GameSnapshot& after) {
  std::vector<std::string> found;
  CheckPassState(before, after, &found);
  return found;
}

TEST(GameWatchChecks, AGameInPlayPasses) {
  const GameSnapshot game = SceneOneInPlay();
  EXPECT_TRUE(Check(game, game).empty());
  EXPECT_TRUE(PlainPass(game, game));
  EXPECT_TRUE(PacedPass(game));
}

TEST(GameWatchChecks, AStateOutsideTheEightIsCaught) {
  GameSnapshot after = SceneOneInPlay();
  for (int32_t state : {-1, 8}) {
    after.game_state = state;
    EXPECT_EQ(Check(SceneOneInPlay(), after).size(), 1u) << state;
  }
  after.game_state = StateCredits;
  EXPECT_TRUE(Check(SceneOneInPlay(), after).empty());
}

TEST(GameWatchChecks, TheRobotMayEndOneStepBeyondItsBoundsButNoFurther) {
  GameSnapshot game = SceneOneInPlay();
  for (float x : {-1.2f, 591.2f}) {
    game.robot_x = x;
    EXPECT_TRUE(Check(game, game).empty()) << x;
  }
  for (float x : {-1.21f, 591.21f}) {
    game.robot_x = x;
    EXPECT_EQ(Check(game, game).size(), 1u) << x;
  }
  game.robot_x = 100;
  for (float y : {-1.21f, 391.21f}) {
    game.robot_y = y;
    EXPECT_EQ(Check(game, game).size(), 1u) << y;
  }
  game.robot_y = 391.2f;
  EXPECT_TRUE(Check(game, game).empty());
}

TEST(GameWatchChecks, SpareRobotsGoFromTheLeftAndComeBackOnlyWithSceneOnesSetUp) {
  const GameSnapshot before = SceneOneInPlay();
  GameSnapshot after = before;
  after.spares[0] = 0;
  EXPECT_TRUE(Check(before, after).empty());
  EXPECT_FALSE(PlainPass(before, after));
  after.spares[0] = 1, after.spares[1] = 0;
  EXPECT_EQ(Check(before, after).size(), 1u);
  // Restored in play: caught; restored by the set-up pass from the title: fine.
  GameSnapshot spent = before;
  spent.spares[0] = spent.spares[1] = 0;
  EXPECT_EQ(Check(spent, before).size(), 1u);
  spent.game_state = StateTitle, spent.show_title = 0;
  EXPECT_TRUE(Check(spent, before).empty());
  GameSnapshot half_restored = before;
  half_restored.spares[0] = 0;
  EXPECT_EQ(Check(spent, half_restored).size(), 1u);
  // Game over with a spare left.
  GameSnapshot over = before;
  over.game_state = StateGameEnd, over.game_over_shown = 1, over.spares[0] = over.spares[1] = 0;
  EXPECT_EQ(Check(before, over).size(), 1u);
  over.spares[2] = 0;
  EXPECT_TRUE(Check(before, over).empty());
}

TEST(GameWatchChecks, AWordTileIsInTheFieldOrInItsPlaceInTheWordRow) {
  GameSnapshot game = SceneOneInPlay();
  // D found and in the row: fine; in the row without being found, or found in the field: caught.
  game.tile_x[TILE_D] = WORD_ROW_X, game.tile_y[TILE_D] = WORD_ROW_Y, game.letters_found[0] = 1;
  EXPECT_TRUE(Check(game, game).empty());
  game.letters_found[0] = 0;
  EXPECT_EQ(Check(game, game).size(), 1u);
  game = SceneOneInPlay();
  game.letters_found[0] = 1;
  EXPECT_EQ(Check(game, game).size(), 1u);
  // O in D's place of the row, or anywhere else: caught; G (the last) never stays in the row.
  game = SceneOneInPlay();
  game.tile_x[TILE_O] = WORD_ROW_X, game.tile_y[TILE_O] = WORD_ROW_Y;
  EXPECT_EQ(Check(game, game).size(), 1u);
  game = SceneOneInPlay();
  game.tile_x[TILE_G] = WORD_ROW_X + 2 * WORD_ROW_STEP, game.tile_y[TILE_G] = WORD_ROW_Y;
  EXPECT_EQ(Check(game, game).size(), 1u);
  game = SceneOneInPlay();
  game.tile_visible[TILE_O] = false;
  EXPECT_EQ(Check(game, game).size(), 1u);
}

TEST(GameWatchChecks, AWrongTileIsInTheFieldOrHiddenInItsParkingPlace) {
  GameSnapshot game = SceneOneInPlay();
  game.tile_x[TILE_F] = WRONG_TILE_PARKING.x, game.tile_y[TILE_F] = WRONG_TILE_PARKING.y;
  game.tile_visible[TILE_F] = false;
  EXPECT_TRUE(Check(game, game).empty());
  game.tile_visible[TILE_F] = true;
  EXPECT_EQ(Check(game, game).size(), 1u);
}

TEST(GameWatchChecks, OnlyTitleIntroPlayAndGameOverArePaced) {
  GameSnapshot game = SceneOneInPlay();
  const std::pair<int32_t, bool> states[] = {{StateTitle, true},         {StateScene4, true},
                                             {StateInstructions, false}, {StateCredits, false},
                                             {StateGameEnd, false}};
  for (const auto& [state, paced] : states) {
    game.game_state = state;
    EXPECT_EQ(PacedPass(game), paced) << state;
  }
  game.game_over_shown = 1;
  EXPECT_TRUE(PacedPass(game));
  game.game_state = StateTitle, game.show_title = 0;
  EXPECT_FALSE(PacedPass(game));
}

TEST(GameWatchChecks, TheLaterIntrosPollTheirCallOnceAFrameAndSoRunAMillisecondSlower) {
  GameSnapshot game = SceneOneInPlay();
  EXPECT_EQ(PacedFrameInterval(game), FRAME_MS + 2);
  game.intro_pending[0] = 1;
  EXPECT_EQ(PacedFrameInterval(game), FRAME_MS + 2);
  game.game_state = StateScene4, game.intro_pending[3] = 1;
  EXPECT_EQ(PacedFrameInterval(game), FRAME_MS + 3);
  game.intro_pending[3] = 0;
  EXPECT_EQ(PacedFrameInterval(game), FRAME_MS + 2);
}

TEST(MonkeyKeys, TheSameSeedGivesTheSameKeysAndEscapeComesOnlyAtTheEnd) {
  const std::vector<MonkeyKey> keys = MonkeyKeys({7, 120000});
  const std::vector<MonkeyKey> again = MonkeyKeys({7, 120000});
  ASSERT_EQ(keys.size(), again.size());
  EXPECT_TRUE(std::equal(keys.begin(), keys.end(), again.begin(), [](const MonkeyKey& a, const MonkeyKey& b) {
    return a.time == b.time && a.virtual_key == b.virtual_key && a.dik_code == b.dik_code && a.down == b.down;
  }));
  EXPECT_NE(MonkeyKeys({8, 120000}).size(), keys.size());
  for (size_t i = 0; i + 1 < keys.size(); ++i) {
    EXPECT_NE(keys[i].virtual_key, VK_ESCAPE);
    EXPECT_LE(keys[i].time, keys[i + 1].time);
  }
  EXPECT_EQ(keys.back().virtual_key, VK_ESCAPE);
  EXPECT_TRUE(keys.back().down);
  EXPECT_EQ(keys.back().time, 120000u);
  // Every key the game reads is pressed, and some it does not read, by both codes.
  for (int wanted : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_SPACE, VK_RETURN, static_cast<int>('C'), static_cast<int>('A')})
    EXPECT_TRUE(std::any_of(keys.begin(), keys.end(), [&](const MonkeyKey& k) { return k.virtual_key == wanted; }))
        << wanted;
  EXPECT_TRUE(std::any_of(keys.begin(), keys.end(), [](const MonkeyKey& k) { return k.dik_code == DIK_F1; }));
  // Taps shorter than a frame and holds of seconds.
  bool tap = false, long_hold = false;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (!keys[i].down) continue;
    for (size_t j = i + 1; j < keys.size(); ++j) {
      if (keys[j].virtual_key != keys[i].virtual_key || keys[j].dik_code != keys[i].dik_code) continue;
      if (!keys[j].down) tap = tap || keys[j].time - keys[i].time < FRAME_MS, long_hold = long_hold || keys[j].time - keys[i].time >= 800;
      break;
    }
  }
  EXPECT_TRUE(tap);
  EXPECT_TRUE(long_hold);
}

class MonkeyTest : public FreshMachineTest {};

TEST_F(MonkeyTest, SeededGamesOfRandomKeysKeepEveryInvariant) {
  const int games = EnvNumber("VORK_MONKEY_GAMES", 8);
  const uint32_t game_ms = static_cast<uint32_t>(EnvNumber("VORK_MONKEY_MINUTES", 3)) * 60000;
  WatchTotals all;
  for (int n = 0; n < games; ++n) {
    const RunOutcome outcome = RunMonkeyGame({static_cast<uint64_t>(1000 + n), game_ms}, VORK_ASSET_DIR);
    EXPECT_EQ(outcome.exit_code, 0) << "seed " << 1000 + n;
    for (const std::string& violation : outcome.totals.violations) ADD_FAILURE() << "seed " << 1000 + n << ": " << violation;
    all.passes += outcome.totals.passes;
    all.frames += outcome.totals.frames;
    all.rhythm_checks += outcome.totals.rhythm_checks;
    all.spares_spent += outcome.totals.spares_spent;
    all.games_lost += outcome.totals.games_lost;
    all.games_won += outcome.totals.games_won;
    all.longest_frame_gap = std::max(all.longest_frame_gap, outcome.totals.longest_frame_gap);
    all.states_seen |= outcome.totals.states_seen;
  }
  std::printf("monkey: %d games of %u virtual minutes, %ld passes checked, %ld frames, %ld frame intervals, "
              "%ld spare robots spent, %ld games lost, %ld won, longest stretch without a frame %u ms, states seen 0x%x\n",
              games, game_ms / 60000, all.passes, all.frames, all.rhythm_checks, all.spares_spent, all.games_lost,
              all.games_won, all.longest_frame_gap, all.states_seen);
  // The random keys reach the title, scene 1, the game-over screen, the instructions and the credits.
  for (int state : {StateTitle, StateScene1, StateGameEnd, StateInstructions, StateCredits})
    EXPECT_TRUE(all.states_seen & (1u << state)) << state;
  EXPECT_GT(all.rhythm_checks, all.passes / 2);
}

}  // namespace
