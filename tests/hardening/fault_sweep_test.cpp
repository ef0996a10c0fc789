// The fault sweep: a short game (title, scene 1, a few steps, Escape) is run once to count every
// platform call it makes, then again with calls of each kind failing: the chosen call alone, or
// it and every later call of its kind (a device that is gone). The default run tries an even
// sample of each kind, VORK_HARDENING_FULL=1 every call. Every run must pass the bar of
// hardening_run.h.
#include <string>

#include "hardening_run.h"
#include "soft/faults.h"
#include "test_support.h"

namespace {

// Calls of each kind tried in the default run, failing alone and from there on.
constexpr int SAMPLE_ALONE = 6;
constexpr int SAMPLE_FROM_THERE_ON = 3;

// Through the spoken prompts of the title (Space held until they end), scene 1's intro, a few
// steps right and down, then Escape held.
GameScript ShortGame() {
  GameScript script;
  script.keys = {{100, VK_SPACE, true},   {5600, VK_SPACE, false}, {6600, VK_RIGHT, true},
                 {7500, VK_RIGHT, false}, {7500, VK_DOWN, true},   {8000, VK_DOWN, false}};
  script.escape_at = 9000;
  script.limit_ms = 60000;
  return script;
}

// Failing a call up to SetPalette may end the program at start-up, as it means to.
void TryFault(PlatformCall kind, int nth, int times) {
  const std::string run = "call kind " + std::to_string(static_cast<int>(kind)) + ", call " + std::to_string(nth) +
                          (times > 1 ? " on" : " alone");
  const RunOutcome outcome = RunGameInFolder("game", ShortGame(), [&] { InjectFault(kind, nth, times); });
  if (outcome.end == RunEnd::Failed) ADD_FAILURE() << run << " failing: " << outcome.problem;
  if (outcome.end == RunEnd::AtStartUp && kind > PlatformCall::SetPalette) ADD_FAILURE() << run << ": ended at start-up";
}

TEST(FaultSweep, EveryPlatformCallOfAShortGameFailsInTurnAndTheGameStillEndsOnEscape) {
  StartFreshMachine();
  CopyGameFiles("game");
  const RunOutcome clean = RunGameInFolder("game", ShortGame());
  ASSERT_EQ(clean.end, RunEnd::Quit) << clean.problem;
  std::vector<int> counted;
  for (int k = 0; k < static_cast<int>(PlatformCall::Count); ++k) counted.push_back(PlatformCallCount(PlatformCall(k)));
  const bool full = FullHardeningRun();
  for (int k = 0; k < static_cast<int>(PlatformCall::Count); ++k) {
    for (int nth : EvenSample(counted[k], full ? counted[k] : SAMPLE_ALONE)) TryFault(PlatformCall(k), nth, 1);
    for (int nth : EvenSample(counted[k], full ? counted[k] : SAMPLE_FROM_THERE_ON))
      TryFault(PlatformCall(k), nth, 1 << 30);
  }
}

}  // namespace
