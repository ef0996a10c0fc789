// The platform probe on the soft platform: every observation as the published platform makes it.
// scripts/windows-check runs the same probe on Windows (under Wine) against the same text.
#include "platform_probe.h"
#include "test_support.h"

namespace {

class PlatformProbeTest : public FreshMachineTest {};

TEST_F(PlatformProbeTest, ObservesThePublishedBehaviour) {
  HWND window = CreateTestWindow();
  const std::string expected = ReadTextFile(VORK_PROBE_EXPECTED);
  ASSERT_FALSE(expected.empty()) << VORK_PROBE_EXPECTED;
  EXPECT_EQ(RunPlatformProbe(window), expected);
}

}  // namespace
