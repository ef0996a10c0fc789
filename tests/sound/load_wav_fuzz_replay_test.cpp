// Runs the LoadWav fuzz target's entry point under the sanitizers of `make test`: every seed of
// its corpus, and deterministic mutations of each (bit flips, truncations, chunk sizes replaced
// by edge values). The full coverage-guided run is `make fuzz`.
#include <dirent.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::string> Seeds() {
  std::vector<std::string> seeds;
  DIR* dir = opendir(VORK_WAV_CORPUS);
  if (dir == nullptr) return seeds;
  for (dirent* entry; (entry = readdir(dir)) != nullptr;) {
    if (entry->d_name[0] == '.') continue;
    std::ifstream file(std::string(VORK_WAV_CORPUS) + "/" + entry->d_name, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    seeds.push_back(bytes.str());
  }
  closedir(dir);
  return seeds;
}

void Feed(const std::string& input) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

TEST(LoadWavFuzzReplay, SeedsAndTheirMutationsLoadOrFailCleanly) {
  const std::vector<std::string> seeds = Seeds();
  ASSERT_GE(seeds.size(), 4u);
  const uint32_t edges[] = {0, 1, 3, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFF8u, 0xFFFFFFFFu};
  int runs = 0;
  for (const std::string& seed : seeds) {
    Feed(seed);
    for (size_t length = 0; length < seed.size(); ++length, ++runs) Feed(seed.substr(0, length));
    for (size_t bit = 0; bit < seed.size() * 8; ++bit, ++runs) {
      std::string flipped = seed;
      flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
      Feed(flipped);
    }
    for (size_t at = 0; at + 4 <= seed.size(); at += 2) {
      for (uint32_t value : edges) {
        std::string sized = seed;
        for (int i = 0; i < 4; ++i) sized[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        Feed(sized);
        ++runs;
      }
    }
  }
  EXPECT_GT(runs, 3000);
}

}  // namespace
