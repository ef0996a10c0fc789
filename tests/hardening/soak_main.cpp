// vork-soak: the autopilot plays game after game in one program run on the headless host for
// hours of virtual time, every pass checked by the game watch, the run judged as every hardening
// run; the heap in use is measured when the third game begins and when the last begins, and must
// stay flat.
//   vork-soak --assets DIR [--hours H] [--seed N]
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "autopilot.h"
#include "game_watch.h"
#include "hardening_run.h"
#include "shell/game_shell.h"
#include "test_support.h"

namespace {

// A game longer than this means the autopilot is going round in circles.
constexpr uint32_t GAME_LIMIT_MS = 30 * 60000;
constexpr int FIRST_MEASURED_GAME = 3;
constexpr long HEAP_GROWTH_LIMIT = 16 * 1024;

struct Soak {
  uint32_t end_ms = 0;  // no new game is begun after this
  std::mt19937_64 random;
  int games_begun = 0;
  uint32_t game_start = 0;
  int32_t last_state = StateTitle;
  long first_heap = 0, last_heap = 0;
};

Soak soak;

long HeapInUse() {
  const struct mallinfo2 heap = mallinfo2();
  return static_cast<long>(heap.uordblks + heap.hblkhd);
}

// At each scene 1 set-up a new plan: often no mishap (a win), sometimes one or two, now and then
// four (a loss); Space on this game's end screen, or Escape on the last.
void BeginGame() {
  const char* const plans[] = {"", "", "", "", "W", "C", "WC", "CC", "WCWC", "CWWC"};
  soak.game_start = HeadlessNow();
  ++soak.games_begun;
  HeadlessForgetOpenedFiles();
  const bool last_game = HeadlessNow() >= soak.end_ms;
  StopAutopilot();
  StartAutopilot({plans[std::uniform_int_distribution<int>(0, 9)(soak.random)], last_game ? 1 : 2});
  if (soak.games_begun == FIRST_MEASURED_GAME) soak.first_heap = HeapInUse();
  if (last_game) soak.last_heap = HeapInUse();
}

// A game still going after GAME_LIMIT_MS ends the run.
void OnPass() {
  if (soak.last_state == StateTitle && game_state == StateScene1) BeginGame();
  soak.last_state = game_state;
  if (HeadlessNow() - soak.game_start > GAME_LIMIT_MS) HeadlessSetDeadline(HeadlessNow());
}

}  // namespace

int main(int argc, char** argv) {
  std::string assets;
  double hours = 8;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--assets") assets = argv[i + 1];
    if (flag == "--hours") hours = std::atof(argv[i + 1]);
    if (flag == "--seed") soak.random.seed(std::strtoull(argv[i + 1], nullptr, 10));
  }
  if (assets.empty() || hours <= 0) {
    std::fprintf(stderr, "usage: vork-soak --assets DIR [--hours H] [--seed N]\n");
    return 1;
  }
  soak.end_ms = static_cast<uint32_t>(hours * 3600000);
  GameScript script;
  script.autopilot = true;
  script.autopilot_games = 2;
  script.watched = true;
  script.pass_hook = OnPass;
  script.limit_ms = soak.end_ms + GAME_LIMIT_MS;
  const RunOutcome outcome = RunGameInFolder(assets, script);
  const long growth = soak.last_heap - soak.first_heap;
  std::printf("soak: %.2f virtual hours, %d games, %ld passes checked, heap growth %+ld bytes %s\n",
              HeadlessNow() / 3600000.0, soak.games_begun, WatchFigures().passes, growth, outcome.problem.c_str());
  const bool flat = growth <= HEAP_GROWTH_LIMIT;
  return outcome.end == RunEnd::Quit && flat && soak.games_begun > FIRST_MEASURED_GAME ? 0 : 1;
}
