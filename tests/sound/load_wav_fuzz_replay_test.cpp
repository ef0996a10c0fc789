// Runs the LoadWav fuzz target's entry point under the sanitizers of `make test`: every seed of
// its corpus, and deterministic mutations of each (bit flips, truncations, chunk sizes replaced
// by edge values). The full coverage-guided run is `make fuzz`.
#include "fuzz_replay.h"
#include "test_support.h"

namespace {

TEST(LoadWavFuzzReplay, SeedsAndTheirMutationsLoadOrFailCleanly) {
  const std::vector<std::string> seeds = ReadFuzzSeeds(VORK_WAV_CORPUS);
  ASSERT_GE(seeds.size(), 4u);
  EXPECT_GT(FeedSeedsAndMutations(seeds, FieldOrder::LittleEndian), 3000);
}

}  // namespace
