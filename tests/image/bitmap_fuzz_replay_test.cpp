// A short in-suite run of the picture fuzz target: the seed files this test writes, then a fixed
// sequence of mutations of them (byte changes, header fields set to edge values, cuts), all under
// the sanitizers. The same seeds start `make fuzz`.
#include <sys/stat.h>

#include <cstdint>
#include <random>

#include "bmp_test_files.h"
#include "image/bitmap_file.h"
#include "test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// Mutations of the in-suite run; about two seconds under the sanitizers.
constexpr int MUTATIONS = 1500;

// A number below `limit` (0 when there is none) from a fixed stream.
size_t Below(std::mt19937& random, size_t limit) { return limit ? random() % limit : 0; }

// The header fields a damaged file most often gets wrong, and values that break naive readers.
const size_t FIELDS[] = {BF_OFF_BITS, BI_SIZE, BI_WIDTH, BI_HEIGHT, BI_COMPRESSION, BI_SIZE_IMAGE, BI_CLR_USED};
const uint32_t EDGE_VALUES[] = {0, 1, 2, 3, 4, 40, 108, 124, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu, 65536, 65537};

void Mutate(std::vector<uint8_t>& bytes, std::mt19937& random) {
  const size_t kind = Below(random, 4);
  if (kind == 0)
    for (int i = 0; i < 4 && !bytes.empty(); ++i) bytes[Below(random, bytes.size())] = uint8_t(random());
  else if (kind == 1)
    Poke(bytes, FIELDS[Below(random, std::size(FIELDS))], EDGE_VALUES[Below(random, std::size(EDGE_VALUES))]);
  else if (kind == 2)
    bytes.resize(Below(random, bytes.size() + 1));
  else
    Poke(bytes, BI_BIT_COUNT, static_cast<uint32_t>(Below(random, 33)), 2);
}

class BitmapFuzzReplayTest : public FreshMachineTest {};

TEST_F(BitmapFuzzReplayTest, SeedsAndMutationsRunClean) {
  CreateTestWindow();
  ASSERT_EQ(1, DisplayInit(640, 480, 8, 0));
  mkdir("seeds", 0755);
  const int seeds = WriteBitmapSeeds("seeds");
  ASSERT_EQ(16, seeds);
  std::vector<std::vector<uint8_t>> corpus;
  for (int i = 0; i < seeds; ++i) {  // every seed is a picture the reader takes
    const std::string name = "seeds/seed-" + std::to_string(i) + ".bmp";
    BitmapFile bitmap{};
    EXPECT_EQ(1, LoadBitmapFile(&bitmap, name.c_str())) << i;
    UnloadBitmapFile(&bitmap);
    const std::string bytes = ReadTextFile(name);
    corpus.emplace_back(bytes.begin(), bytes.end());
  }
  std::mt19937 random(0x9E3779B9u);
  for (int i = 0; i < MUTATIONS; ++i) {
    std::vector<uint8_t> bytes = corpus[Below(random, corpus.size())];
    const int rounds = 1 + static_cast<int>(Below(random, 3));
    for (int r = 0; r < rounds && bytes.size() >= 54; ++r) Mutate(bytes, random);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
}

}  // namespace
