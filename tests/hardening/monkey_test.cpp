// The monkey test: seeded games of random keys (every key the game reads, the arrows most, and
// others, tapped, pressed or held long), Escape held only at the end, on the headless host with
// every pass checked by the game watch. VORK_MONKEY_GAMES and VORK_MONKEY_MINUTES make the run
// longer (make soak).
#include <cstdlib>
#include <random>

#include "dinput.h"
#include "game_watch.h"
#include "hardening_run.h"
#include "shell/game_shell.h"
#include "test_support.h"

namespace {

// A key the monkey may press (a DirectInput code only when virtual_key is 0), and how often.
struct MonkeyKeyChoice {
  int virtual_key;
  int dik_code;
  int weight;
};

constexpr MonkeyKeyChoice KEY_CHOICES[] = {
    {VK_UP, 0, 10},    {VK_DOWN, 0, 10},  {VK_LEFT, 0, 10},   {VK_RIGHT, 0, 10}, {VK_SPACE, 0, 3},
    {VK_RETURN, 0, 2}, {'C', 0, 2},       {'A', 0, 1},        {'7', 0, 1},       {VK_TAB, 0, 1},
    {VK_SHIFT, 0, 1},  {VK_BACK, 0, 1},   {0, DIK_F1, 1},     {0, DIK_NUMPAD5, 1}};

int EnvNumber(const char* name, int fallback) {
  const char* text = std::getenv(name);
  return text && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}

const MonkeyKeyChoice& PickKey(std::mt19937_64& random) {
  std::vector<int> weights;
  for (const MonkeyKeyChoice& key : KEY_CHOICES) weights.push_back(key.weight);
  return KEY_CHOICES[std::discrete_distribution<size_t>(weights.begin(), weights.end())(random)];
}

// A tap shorter than a frame, an ordinary press, or a long hold.
uint32_t HoldMs(std::mt19937_64& random) {
  const int kind = std::uniform_int_distribution<int>(0, 99)(random);
  if (kind < 40) return std::uniform_int_distribution<uint32_t>(1, 29)(random);
  if (kind < 85) return std::uniform_int_distribution<uint32_t>(30, 800)(random);
  return std::uniform_int_distribution<uint32_t>(800, 4000)(random);
}

// A game of random keys; the credits first, when asked (C on the title is seldom drawn in time).
GameScript MonkeyGame(uint64_t seed, uint32_t escape_at, bool credits_first) {
  std::mt19937_64 random(seed);
  GameScript script;
  if (credits_first) script.keys = {{10, 'C', true}, {120, 'C', false}};
  for (uint32_t time = 1; time < escape_at; time += std::uniform_int_distribution<uint32_t>(5, 400)(random)) {
    const MonkeyKeyChoice& key = PickKey(random);
    const uint32_t up = std::min(time + HoldMs(random), escape_at - 1);
    script.keys.push_back({time, key.virtual_key, true, key.dik_code});
    script.keys.push_back({up, key.virtual_key, false, key.dik_code});
  }
  script.escape_at = escape_at;
  script.escape_answer_ms = 30000;  // a sequence under way holds the game
  script.limit_ms = escape_at + 31000;
  script.watched = true;
  return script;
}

TEST(MonkeyTest, SeededGamesOfRandomKeysKeepEveryInvariant) {
  const int games = EnvNumber("VORK_MONKEY_GAMES", 3);
  const uint32_t game_ms = static_cast<uint32_t>(EnvNumber("VORK_MONKEY_MINUTES", 2)) * 60000;
  uint32_t states_seen = 0;
  long passes = 0, rhythm_checks = 0;
  for (int n = 0; n < games; ++n) {
    NameCurrentRun("monkey game, seed " + std::to_string(1000 + n));
    const RunOutcome outcome = RunGameInFolder(VORK_ASSET_DIR, MonkeyGame(1000 + n, game_ms, n == 1));
    EXPECT_EQ(outcome.end, RunEnd::Quit) << "seed " << 1000 + n << ": " << outcome.problem;
    states_seen |= WatchFigures().states_seen;
    passes += WatchFigures().passes;
    rhythm_checks += WatchFigures().rhythm_checks;
  }
  // The random keys reach the title, scene 1, the game-over screen, the instructions and the credits.
  for (int state : {StateTitle, StateScene1, StateGameEnd, StateInstructions, StateCredits})
    EXPECT_TRUE(states_seen & (1u << state)) << state;
  EXPECT_GT(rhythm_checks, passes / 2);
}

}  // namespace
