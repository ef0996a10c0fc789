// Runs the vector fuzz target over a fixed stream of pseudo-random inputs inside the sanitizer
// build, so every `make test` exercises it without clang's libFuzzer.
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern int vector_fuzz_pixels_drawn;

namespace {

TEST(VectorFuzzReplay, RandomShapesNeverWriteOutsideTheClipRectangle) {
  std::mt19937 random(20261206);
  std::uniform_int_distribution<int> length_of(0, 400), byte_of(0, 255);
  int inputs_that_drew = 0;
  for (int n = 0; n < 4000; ++n) {
    std::vector<uint8_t> input(static_cast<size_t>(length_of(random)));
    for (uint8_t& b : input) b = static_cast<uint8_t>(byte_of(random));
    LLVMFuzzerTestOneInput(input.data(), input.size());  // traps on a stray pixel
    inputs_that_drew += vector_fuzz_pixels_drawn > 0;
  }
  EXPECT_GT(inputs_that_drew, 1000);  // the stream reaches the drawing, not only the parsing
}

}  // namespace
