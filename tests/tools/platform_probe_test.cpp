// The platform probe on the soft platform: every observation as the published platform makes it.
// scripts/windows-check runs the same probe on Windows (under Wine) against the same text.
#include <fstream>
#include <sstream>

#include "platform_probe.h"
#include "test_support.h"

namespace {

class PlatformProbeTest : public FreshMachineTest {};

TEST_F(PlatformProbeTest, ObservesThePublishedBehaviour) {
  HWND window = CreateTestWindow();
  std::ifstream expected_file(VORK_PROBE_EXPECTED);
  std::stringstream expected;
  expected << expected_file.rdbuf();
  ASSERT_FALSE(expected.str().empty()) << VORK_PROBE_EXPECTED;
  EXPECT_EQ(RunPlatformProbe(window), expected.str());
}

}  // namespace
