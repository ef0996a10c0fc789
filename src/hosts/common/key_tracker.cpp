#include "hosts/common/key_tracker.h"

namespace {

bool InRange(int value, int count) { return value >= 0 && value < count; }

}  // namespace

void TrackKeyDown(KeyTracker& tracker, int physical, int virtual_key, KeyReport report) {
  if (!InRange(physical, PHYSICAL_KEY_COUNT) || !InRange(virtual_key, VIRTUAL_KEY_COUNT)) return;
  if (virtual_key == 0 || tracker.virtual_of[physical] != 0) return;
  tracker.virtual_of[physical] = static_cast<int16_t>(virtual_key);
  if (tracker.holders[virtual_key]++ == 0) report(virtual_key, true);
}

void TrackKeyUp(KeyTracker& tracker, int physical, KeyReport report) {
  if (!InRange(physical, PHYSICAL_KEY_COUNT)) return;
  int virtual_key = tracker.virtual_of[physical];
  if (virtual_key == 0) return;
  tracker.virtual_of[physical] = 0;
  if (--tracker.holders[virtual_key] == 0) report(virtual_key, false);
}

void ReleaseAllKeys(KeyTracker& tracker, KeyReport report) {
  for (int physical = 0; physical < PHYSICAL_KEY_COUNT; ++physical) TrackKeyUp(tracker, physical, report);
}
