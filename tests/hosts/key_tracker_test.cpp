#include "hosts/common/key_tracker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Every report, in order: (virtual key, down).
std::vector<std::pair<int, bool>> reports;

void Record(int virtual_key, bool down) { reports.emplace_back(virtual_key, down); }

using Reports = std::vector<std::pair<int, bool>>;

constexpr int VK_SHIFT_CODE = 0x10;
constexpr int LEFT_SHIFT = 225;  // physical key numbers, as scancodes
constexpr int RIGHT_SHIFT = 229;
constexpr int KEY_A = 4;
constexpr int KEY_ESCAPE = 41;

class KeyTrackerTest : public ::testing::Test {
 protected:
  void SetUp() override { reports.clear(); }
  KeyTracker tracker{};
};

TEST_F(KeyTrackerTest, ReportsEachChangeOnceAndIgnoresAutoRepeat) {
  TrackKeyDown(tracker, KEY_A, 'A', Record);
  TrackKeyDown(tracker, KEY_A, 'A', Record);  // auto-repeat
  TrackKeyDown(tracker, KEY_A, 'A', Record);
  TrackKeyUp(tracker, KEY_A, Record);
  TrackKeyUp(tracker, KEY_A, Record);  // stray second key-up
  EXPECT_EQ(reports, (Reports{{'A', true}, {'A', false}}));
}

TEST_F(KeyTrackerTest, BothShiftKeysHoldOneVirtualKey) {
  TrackKeyDown(tracker, LEFT_SHIFT, VK_SHIFT_CODE, Record);
  TrackKeyDown(tracker, RIGHT_SHIFT, VK_SHIFT_CODE, Record);
  TrackKeyUp(tracker, LEFT_SHIFT, Record);
  EXPECT_EQ(reports, (Reports{{VK_SHIFT_CODE, true}})) << "still held by the right key";
  TrackKeyUp(tracker, RIGHT_SHIFT, Record);
  EXPECT_EQ(reports, (Reports{{VK_SHIFT_CODE, true}, {VK_SHIFT_CODE, false}}));
}

TEST_F(KeyTrackerTest, ReleaseAllReleasesEachHeldKeyOnceThenKeysWorkAgain) {
  TrackKeyDown(tracker, LEFT_SHIFT, VK_SHIFT_CODE, Record);
  TrackKeyDown(tracker, RIGHT_SHIFT, VK_SHIFT_CODE, Record);
  TrackKeyDown(tracker, KEY_A, 'A', Record);
  reports.clear();

  ReleaseAllKeys(tracker, Record);
  Reports released = reports;
  std::sort(released.begin(), released.end());
  EXPECT_EQ(released, (Reports{{VK_SHIFT_CODE, false}, {'A', false}}));

  reports.clear();
  TrackKeyUp(tracker, KEY_A, Record);  // the key-up that arrives after focus returns
  ReleaseAllKeys(tracker, Record);
  EXPECT_TRUE(reports.empty());

  TrackKeyDown(tracker, KEY_A, 'A', Record);  // a key still held when focus returns
  EXPECT_EQ(reports, (Reports{{'A', true}}));
}

TEST_F(KeyTrackerTest, ReleasesTheVirtualKeyThatWentDown) {
  // The key-up carries no virtual key; the one reported at key-down is released.
  TrackKeyDown(tracker, KEY_ESCAPE, 0x1B, Record);
  TrackKeyUp(tracker, KEY_ESCAPE, Record);
  EXPECT_EQ(reports, (Reports{{0x1B, true}, {0x1B, false}}));
}

TEST_F(KeyTrackerTest, IgnoresUnmappedAndOutOfRangeKeys) {
  TrackKeyDown(tracker, KEY_A, 0, Record);  // a key the game has no virtual key for
  TrackKeyDown(tracker, -1, 'A', Record);
  TrackKeyDown(tracker, PHYSICAL_KEY_COUNT, 'A', Record);
  TrackKeyDown(tracker, KEY_ESCAPE, VIRTUAL_KEY_COUNT, Record);
  TrackKeyUp(tracker, -1, Record);
  TrackKeyUp(tracker, PHYSICAL_KEY_COUNT, Record);
  TrackKeyUp(tracker, KEY_A, Record);
  EXPECT_TRUE(reports.empty());
}

}  // namespace
