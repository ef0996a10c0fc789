// Runs the LoadMidi fuzz target's entry point under the sanitizers of `make test`: every seed of
// its corpus, and deterministic mutations of each (bit flips, truncations, chunk lengths and
// header fields replaced by edge values). The full coverage-guided run is `make fuzz`.
#include "fuzz_replay.h"
#include "test_support.h"

namespace {

TEST(LoadMidiFuzzReplay, SeedsAndTheirMutationsLoadOrFailCleanly) {
  const std::vector<std::string> seeds = ReadFuzzSeeds(VORK_MIDI_CORPUS);
  ASSERT_GE(seeds.size(), 3u);
  EXPECT_GT(FeedSeedsAndMutations(seeds, FieldOrder::BigEndian), 1500);
}

}  // namespace
