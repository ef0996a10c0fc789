#include "hosts/common/key_tracker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using Reports = std::vector<std::pair<int, bool>>;

// Every report, in order: (virtual key, down).
Reports reports;

void Record(int virtual_key, bool down) { reports.emplace_back(virtual_key, down); }

constexpr int SHIFT = 0x10;
constexpr int LEFT_SHIFT = 225;  // physical key numbers, as scancodes
constexpr int RIGHT_SHIFT = 229;
constexpr int KEY_A = 4;
constexpr int KEY_ESCAPE = 41;

// One thing the host sees: a key down (with its virtual key), a key up, or focus lost.
struct Event {
  enum { DOWN, UP, LOST } kind;
  int physical, virtual_key;
};

TEST(KeyTracker, ReportsEachChangeOfAVirtualKeyOnce) {
  struct Case {
    const char* name;
    std::vector<Event> events;
    Reports expected;  // sorted after a focus loss, which releases keys in no set order
  };
  const Case cases[] = {
      {"auto-repeat, the key-up of the key that went down, and a stray key-up",
       {{Event::DOWN, KEY_A, 'A'}, {Event::DOWN, KEY_A, 'A'}, {Event::UP, KEY_A, 0}, {Event::UP, KEY_A, 0}},
       {{'A', true}, {'A', false}}},
      {"both Shift keys hold one virtual key",
       {{Event::DOWN, LEFT_SHIFT, SHIFT}, {Event::DOWN, RIGHT_SHIFT, SHIFT}, {Event::UP, LEFT_SHIFT, 0},
        {Event::UP, RIGHT_SHIFT, 0}},
       {{SHIFT, true}, {SHIFT, false}}},
      {"focus lost releases each held key once; keys work again after",
       {{Event::DOWN, LEFT_SHIFT, SHIFT}, {Event::DOWN, RIGHT_SHIFT, SHIFT}, {Event::DOWN, KEY_A, 'A'},
        {Event::LOST, 0, 0}, {Event::UP, KEY_A, 0}, {Event::LOST, 0, 0}, {Event::DOWN, KEY_A, 'A'}},
       {{SHIFT, false}, {SHIFT, true}, {'A', false}, {'A', true}, {'A', true}}},
      {"unmapped and out-of-range keys",
       {{Event::DOWN, KEY_A, 0}, {Event::DOWN, -1, 'A'}, {Event::DOWN, PHYSICAL_KEY_COUNT, 'A'},
        {Event::DOWN, KEY_ESCAPE, VIRTUAL_KEY_COUNT}, {Event::UP, -1, 0}, {Event::UP, PHYSICAL_KEY_COUNT, 0},
        {Event::UP, KEY_A, 0}},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KeyTracker tracker{};
    reports.clear();
    bool lost = false;
    for (const Event& e : c.events) {
      if (e.kind == Event::DOWN) TrackKeyDown(tracker, e.physical, e.virtual_key, Record);
      if (e.kind == Event::UP) TrackKeyUp(tracker, e.physical, Record);
      if (e.kind != Event::LOST) continue;
      ReleaseAllKeys(tracker, Record);
      lost = true;
    }
    if (lost) std::sort(reports.begin(), reports.end());
    EXPECT_EQ(reports, c.expected);
  }
}

}  // namespace
