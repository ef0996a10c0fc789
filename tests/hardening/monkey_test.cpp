// The monkey test: seeded games of random keys (every key the game reads, the arrows most, and
// others, tapped, pressed or held long), Escape held only at the end, on the headless host with
// every pass checked by the game watch. VORK_MONKEY_GAMES and VORK_MONKEY_MINUTES make the run
// longer (make soak).
#include <cstdlib>
#include <iterator>
#include <random>

#include "dinput.h"
#include "game_watch.h"
#include "hardening_run.h"
#include "shell/game_shell.h"
#include "test_support.h"

namespace {

// The keys the monkey presses, the arrows most (as a child would); 0 stands for keys with a
// DirectInput code only (F1, keypad 5).
constexpr int KEY_CHOICES[] = {VK_UP,    VK_DOWN,  VK_LEFT, VK_RIGHT, VK_UP,    VK_DOWN, VK_LEFT, VK_RIGHT,
                               VK_UP,    VK_DOWN,  VK_LEFT, VK_RIGHT, VK_SPACE, VK_SPACE, VK_RETURN, 'C',
                               'A',      '7',      VK_TAB,  VK_SHIFT, 0};

int EnvNumber(const char* name, int fallback) {
  const char* text = std::getenv(name);
  return text && std::atoi(text) > 0 ? std::atoi(text) : fallback;
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
    const int key = KEY_CHOICES[std::uniform_int_distribution<size_t>(0, std::size(KEY_CHOICES) - 1)(random)];
    const int dik_code = time % 2 ? DIK_F1 : DIK_NUMPAD5;
    const uint32_t up = std::min(time + HoldMs(random), escape_at - 1);
    script.keys.push_back({time, key, true, dik_code});
    script.keys.push_back({up, key, false, dik_code});
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
  for (int n = 0; n < games; ++n) {
    const RunOutcome outcome = RunGameInFolder(VORK_ASSET_DIR, MonkeyGame(1000 + n, game_ms, n == 1));
    EXPECT_EQ(outcome.end, RunEnd::Quit) << "seed " << 1000 + n << ": " << outcome.problem;
    states_seen |= WatchFigures().states_seen;
  }
  // The random keys reach the title, scene 1, the game-over screen, the instructions and the credits.
  for (int state : {StateTitle, StateScene1, StateGameEnd, StateInstructions, StateCredits})
    EXPECT_TRUE(states_seen & (1u << state)) << state;
}

}  // namespace
