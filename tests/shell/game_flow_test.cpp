// Whole games on the headless host with the generated pictures and sounds, played by the
// autopilot from the title: won, lost by four mishaps, and won after a lost one.
#include <unistd.h>

#include <string>
#include <vector>

#include "autopilot.h"
#include "gameplay/game_world.h"
#include "shell/game_shell.h"
#include "soft/soft_platform.h"
#include "sound/sound_table.h"
#include "test_support.h"

namespace {

constexpr uint32_t GAME_LIMIT_MS = 900000;

// What a run looked like, pass by pass.
struct FlowRecord {
  std::vector<int> states;                 // game_state after each pass, when it changed
  std::vector<int> spares_spent;           // which spare robot turned used up, in order
  std::vector<std::vector<Spot>> words;    // each finished word's tiles as shown
  int last_spares[SPARE_ROBOTS] = {1, 1, 1};
  bool restored_after_loss = false;        // a new game after a loss put everything back
  bool loops_on_game_over = false;         // both loops sounding on the game-over screen
};

FlowRecord record;

void NotePass() {
  if (record.states.empty() || record.states.back() != game_state) {
    if (!record.states.empty() && record.states.back() == StateTitle && game_state == StateScene1 &&
        std::count(record.states.begin(), record.states.end(), StateGameEnd) > 0) {
      bool restored = life_bot_present[0] && life_bot_present[1] && life_bot_present[2];
      for (int i = 0; i < scene_table[0].tree_count; ++i)
        restored = restored && (tree_sprites[i].flags & SPRITE_VISIBLE) && !(stump_sprites[i].flags & SPRITE_VISIBLE);
      for (int i = 0; i < scene_table[0].tile_count; ++i) {
        const int tile = scene_table[0].draw_order[i];
        restored = restored && (letter_sprites[tile].flags & SPRITE_VISIBLE) &&
                   letter_sprites[tile].x == scene_table[0].tile_spots[tile].x &&
                   letter_sprites[tile].y == scene_table[0].tile_spots[tile].y;
      }
      record.restored_after_loss = record.restored_after_loss || restored;
    }
    record.states.push_back(game_state);
  }
  for (int i = 0; i < SPARE_ROBOTS; ++i) {
    if (record.last_spares[i] && !life_bot_present[i]) record.spares_spent.push_back(i);
    record.last_spares[i] = life_bot_present[i];
  }
  if (game_state == StateGameEnd && game_over_shown)
    record.loops_on_game_over = SoundPlaying(dozer_sound) && SoundPlaying(tune_sound);
}

// A finished word is shown once, in the frame flipped before the cheer.
void NoteFrame(const HeadlessFrame&, int) {
  if (game_state < StateScene1 || game_state > StateScene4 || scene_intro_pending[game_state - 1]) return;
  const SceneSpec& spec = scene_table[game_state - 1];
  for (int j = 0; j < spec.word_length; ++j)
    if (letter_sprites[spec.word[j]].y != WORD_ROW_Y) return;
  std::vector<Spot> word;
  for (int j = 0; j < spec.word_length; ++j)
    word.push_back({static_cast<int>(letter_sprites[spec.word[j]].x), static_cast<int>(letter_sprites[spec.word[j]].y)});
  if (record.words.empty() || record.words.size() < static_cast<size_t>(game_state)) record.words.push_back(word);
}

class GameFlowTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    test_dir_ = here;
    ASSERT_EQ(chdir(VORK_ASSET_DIR), 0);
    record = FlowRecord{};
    HeadlessKeepFrames(FrameKeeping::None);
    HeadlessOnFrame(NoteFrame);
    SetMessagePollObserver(NotePass);
  }
  void TearDown() override {
    StopAutopilot();
    SetMessagePollObserver(nullptr);
    HeadlessOnFrame(nullptr);
    ASSERT_EQ(chdir(test_dir_.c_str()), 0);
    display = DisplayState{};
    FreshMachineTest::TearDown();
  }
  int Play(const AutopilotPlan& plan) {
    StartAutopilot(plan);
    HeadlessSetDeadline(GAME_LIMIT_MS);
    try {
      return WinMain(reinterpret_cast<HINSTANCE>(this), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
    } catch (const HeadlessDeadline&) {
      ADD_FAILURE() << "the game did not end by " << GAME_LIMIT_MS << " ms; states seen: " << record.states.size();
      GameShutdown();
      return -1;
    }
  }
  std::string test_dir_;
};

TEST_F(GameFlowTest, TheAutopilotWinsAllFourScenesAndReachesTheCredits) {
  EXPECT_EQ(Play({"", 1}), 0);
  EXPECT_EQ(record.states, (std::vector<int>{StateTitle, StateScene1, StateScene2, StateScene3, StateScene4,
                                             StateGameEnd, StateCredits}));
  ASSERT_EQ(record.words.size(), 4u);
  for (size_t n = 0; n < 4; ++n)
    for (size_t j = 0; j < record.words[n].size(); ++j) {
      EXPECT_EQ(record.words[n][j].x, 200 + 30 * static_cast<int>(j)) << n;
      EXPECT_EQ(record.words[n][j].y, 430) << n;
    }
  EXPECT_EQ(record.words[3].size(), 4u);
  EXPECT_TRUE(record.spares_spent.empty());
  EXPECT_EQ(SoftLiveObjectCount(), 0);
}

TEST_F(GameFlowTest, FourMishapsLoseTheGameAndAWonGameFollows) {
  EXPECT_EQ(Play({"WCWC", 2}), 0);
  EXPECT_EQ(record.spares_spent, (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(record.loops_on_game_over);
  EXPECT_TRUE(record.restored_after_loss);
  const std::vector<int> expected = {StateTitle, StateScene1, StateGameEnd, StateTitle, StateScene1, StateScene2,
                                     StateScene3, StateScene4, StateGameEnd, StateCredits};
  EXPECT_EQ(record.states, expected);
  EXPECT_EQ(game_over_shown, 0);  // the second game was won
}

TEST_F(GameFlowTest, WaitingForTheBulldozerLosesTheGame) {
  EXPECT_EQ(Play({"CCCC", 1}), 0);
  EXPECT_EQ(record.spares_spent, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(record.states.back(), StateGameEnd);
  EXPECT_EQ(game_over_shown, 1);
  EXPECT_EQ(HeadlessOpenedFiles().back(), "GameOver.BMP");
}

}  // namespace
