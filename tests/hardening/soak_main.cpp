// vork-soak: the autopilot plays game after game in one program run on the headless host for
// hours of virtual time, every pass checked by the game watch; the process's memory is measured
// when the third game begins and when the last begins, and must stay flat.
//   vork-soak --assets DIR [--hours H] [--seed N]
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "autopilot.h"
#include "game_watch.h"
#include "hosts/headless/headless_host.h"
#include "monkey.h"
#include "test_support.h"

namespace {

// A game longer than this means the autopilot is going round in circles.
constexpr uint32_t GAME_LIMIT_MS = 30 * 60000;
// The game at whose beginning the memory is first measured.
constexpr int FIRST_MEASURED_GAME = 3;
// How much the memory may grow from the first measurement to the last.
constexpr long HEAP_GROWTH_LIMIT = 16 * 1024;
constexpr long RSS_GROWTH_LIMIT = 512 * 1024;

double Hours(uint32_t ms) { return ms / 3600000.0; }

// The process's memory: resident pages and heap bytes in use.
struct Memory {
  long rss_bytes;
  long heap_bytes;
};

Memory MeasureMemory() {
  Memory memory{0, 0};
  if (FILE* status = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, status))
      if (std::strncmp(line, "VmRSS:", 6) == 0) memory.rss_bytes = std::atol(line + 6) * 1024;
    std::fclose(status);
  }
  const struct mallinfo2 heap = mallinfo2();
  memory.heap_bytes = static_cast<long>(heap.uordblks + heap.hblkhd);
  return memory;
}

// The soak's progress.
struct Soak {
  uint32_t end_ms = 0;         // no new game is begun after this
  std::mt19937_64 random;
  int games_begun = 0;
  uint32_t game_start = 0;
  uint32_t longest_game = 0;
  bool last_game = false;
  std::string plan;            // the mishaps the autopilot seeks in this game
  Memory before_play{0, 0};    // before start-up
  Memory first{0, 0};          // when the third game begins
  Memory last{0, 0};           // when the last game begins
};

Soak soak;

// The mishaps the autopilot seeks in a game: often none (a win), sometimes one or two, and
// now and then four (a lost game), wrong letters and catches mixed.
std::string RandomMishaps() {
  const int kind = std::uniform_int_distribution<int>(0, 9)(soak.random);
  const int count = kind < 4 ? 0 : kind < 6 ? 1 : kind < 8 ? 2 : 4;
  std::string mishaps;
  for (int i = 0; i < count; ++i) mishaps += std::uniform_int_distribution<int>(0, 1)(soak.random) ? 'W' : 'C';
  return mishaps;
}

void BeginGame(uint32_t now) {
  soak.longest_game = std::max(soak.longest_game, now - soak.game_start);
  soak.game_start = now;
  ++soak.games_begun;
  HeadlessForgetOpenedFiles();
  soak.last_game = now >= soak.end_ms;
  StopAutopilot();
  soak.plan = RandomMishaps();
  // Two games: Space on this game's end screen; one game: Escape there, ending the run.
  StartAutopilot({soak.plan, soak.last_game ? 1 : 2});
  // Measured with the autopilot's key log of the last game gone. Two games in, the headless
  // host's buffer of scheduled keys has reached its working size.
  const Memory memory = MeasureMemory();
  if (soak.games_begun == FIRST_MEASURED_GAME) soak.first = memory;
  if (soak.last_game) soak.last = memory;
  if (std::getenv("VORK_SOAK_VERBOSE"))
    std::printf("game %d at %.2f h: RSS %ld heap %ld\n", soak.games_begun, Hours(now), memory.rss_bytes,
                memory.heap_bytes);
}

void OnPass(const GameSnapshot& before, const GameSnapshot& after) {
  const uint32_t now = HeadlessNow();
  if (before.game_state == StateTitle && !before.show_title && after.game_state == StateScene1) BeginGame(now);
  if (soak.games_begun > 0 && now - soak.game_start > GAME_LIMIT_MS) {
    NoteViolation("game " + std::to_string(soak.games_begun) + " (plan \"" + soak.plan + "\") still going after " +
                  std::to_string(GAME_LIMIT_MS / 60000) + " minutes in state " + std::to_string(after.game_state) +
                  ", robot at (" + std::to_string(robot_sprite.x) + ", " + std::to_string(robot_sprite.y) +
                  "), bulldozer at (" + std::to_string(dozer_sprite.x) + ", " + std::to_string(dozer_sprite.y) + ")");
    SetWatchEnd(now);
  }
}

double Mib(long bytes) { return bytes / (1024.0 * 1024.0); }

void PrintMemory(const char* when, const Memory& memory) {
  std::printf("  %-28s RSS %8.2f MiB   heap in use %10ld bytes\n", when, Mib(memory.rss_bytes), memory.heap_bytes);
}

}  // namespace

int main(int argc, char** argv) {
  std::string assets;
  double hours = 8;
  uint64_t seed = 1;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--assets") assets = argv[i + 1];
    else if (flag == "--hours") hours = std::atof(argv[i + 1]);
    else if (flag == "--seed") seed = std::strtoull(argv[i + 1], nullptr, 10);
  }
  if (assets.empty() || hours <= 0 || chdir(assets.c_str()) != 0) {
    std::fprintf(stderr, "usage: vork-soak --assets DIR [--hours H] [--seed N]\n");
    return 1;
  }
  soak.end_ms = static_cast<uint32_t>(hours * 3600000);
  soak.random.seed(seed);
  StartFreshMachine();
  HeadlessKeepFrames(FrameKeeping::None);
  soak.before_play = MeasureMemory();
  StartWatch(soak.end_ms + GAME_LIMIT_MS);
  SetWatchPassHook(OnPass);
  StartAutopilot({"", 2});
  int exit_code = -1;
  try {
    exit_code = WinMain(reinterpret_cast<HINSTANCE>(&soak), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
    StopWatch();
  } catch (const HeadlessDeadline&) {
    StopWatch();
    NoteViolation("the run did not end");
    GameShutdown();
  }
  StopAutopilot();
  CheckNothingLeft();
  const WatchTotals& totals = WatchFigures();
  const long heap_growth = soak.last.heap_bytes - soak.first.heap_bytes;
  const long rss_growth = soak.last.rss_bytes - soak.first.rss_bytes;
  std::printf("soak: %.2f virtual hours, %d games (%ld won, %ld lost), longest game %.1f min, exit code %d\n",
              Hours(HeadlessNow()), soak.games_begun, totals.games_won, totals.games_lost, soak.longest_game / 60000.0,
              exit_code);
  std::printf("  %ld passes checked, %ld frames, %ld frame intervals, %ld spare robots spent, longest stretch "
              "without a frame %u ms\n",
              totals.passes, totals.frames, totals.rhythm_checks, totals.spares_spent, totals.longest_frame_gap);
  PrintMemory("before start-up:", soak.before_play);
  PrintMemory("start (third game begins):", soak.first);
  PrintMemory("end (last game begins):", soak.last);
  std::printf("  growth: RSS %+ld bytes (limit %ld), heap in use %+ld bytes (limit %ld)\n", rss_growth,
              RSS_GROWTH_LIMIT, heap_growth, HEAP_GROWTH_LIMIT);
  for (const std::string& violation : totals.violations) std::printf("  VIOLATION %s\n", violation.c_str());
  const bool flat = heap_growth <= HEAP_GROWTH_LIMIT && rss_growth <= RSS_GROWTH_LIMIT;
  if (!flat) std::printf("  MEMORY NOT FLAT\n");
  return exit_code == 0 && totals.violations.empty() && flat && soak.games_begun > FIRST_MEASURED_GAME ? 0 : 1;
}
