// Seeds and deterministic mutations for the fuzz replay tests.
#include "fuzz_replay.h"

#include <cstdint>
#include <filesystem>

#include "test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

std::vector<std::string> ReadFuzzSeeds(const char* folder) {
  std::vector<std::string> seeds;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    seeds.push_back(ReadTextFile(entry.path().string()));
  }
  return seeds;
}

int FeedSeedsAndMutations(const std::vector<std::string>& seeds, FieldOrder order) {
  const uint32_t edges[] = {0, 1, 3, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFF8u, 0xFFFFFFFFu};
  int runs = 0;
  // Each input is fed as soon as it is made: holding them all would take the square of a seed's size.
  const auto feed = [&runs](const std::string& input) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    ++runs;
  };
  for (const std::string& seed : seeds) {
    feed(seed);
    for (size_t length = 0; length < seed.size(); ++length) feed(seed.substr(0, length));
    for (size_t bit = 0; bit < seed.size() * 8; ++bit) {
      std::string flipped = seed;
      flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
      feed(flipped);
    }
    for (size_t at = 0; at + 4 <= seed.size(); at += 2)
      for (uint32_t value : edges) {  // the field at `at` set to `value`
        std::string changed = seed;
        for (int i = 0; i < 4; ++i)
          changed[at + i] = static_cast<char>(value >> (order == FieldOrder::LittleEndian ? 8 * i : 24 - 8 * i));
        feed(changed);
      }
  }
  return runs;
}
