#include "sdl/tick_clock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Where a tick begins and how long until the next, at a nanosecond counter and at an odd one
// (3579545 Hz) whose milliseconds are not whole counts.
TEST(TickClock, ReadsWholeMillisecondsAndKnowsWhenTheNextBegins) {
  struct Case {
    uint64_t frequency, start, counter;
    uint32_t tick;
    uint64_t to_next;
  };
  const Case cases[] = {
      {1000000000, 0, 0, 0, 1000000},
      {1000000000, 0, 999999, 0, 1},
      {1000000000, 0, 1000000, 1, 1000000},
      {1000000000, 500, 1000499, 0, 1},  // counted from the start reading
      {1000000000, 0, 2999999999, 2999, 1},
      {3579545, 0, 0, 0, 3580},         // millisecond 1 begins at count 3579.545, that is 3580
      {3579545, 0, 3579, 0, 1},
      {3579545, 0, 3580, 1, 3580},      // millisecond 2 at 7159.09: 7160
      {3579545, 0, 3579544, 999, 1},    // the last millisecond of the first second
      {3579545, 0, 3579545, 1000, 3580},
      {1000, 0, 4294967296ull, 0, 1},   // 2^32 milliseconds: the reading wraps to 0
  };
  for (const Case& c : cases) {
    const TickClock clock = StartTickClock(c.start, c.frequency);
    EXPECT_EQ(TickAt(clock, c.counter), c.tick) << c.frequency << " at " << c.counter;
    EXPECT_EQ(CountsToNextTick(clock, c.counter), c.to_next) << c.frequency << " at " << c.counter;
  }
  // After days of counting nanoseconds nothing overflows.
  const TickClock clock = StartTickClock(0, 1000000000);
  const uint64_t ten_days = 864000ull * 1000000000ull + 123456789;
  EXPECT_EQ(TickAt(clock, ten_days), static_cast<uint32_t>(864000123ull));
  EXPECT_EQ(CountsToNextTick(clock, ten_days), 543211u);
}

uint64_t fake_counter;
std::vector<uint64_t> pauses;

uint64_t FakeCounter() { return fake_counter; }
// The pause sleeps exactly as asked, and the counter moves on 10 counts at every reading.
void FakePause(uint64_t counts, uint64_t) {
  pauses.push_back(counts);
  fake_counter += counts;
}
uint64_t ReadingCounter() {
  fake_counter += 10;
  return fake_counter;
}

// A wait polling the clock through a millisecond sleeps once, to the start of the next one.
TEST(TickClock, ASecondReadingInTheSameMillisecondSleepsToTheNext) {
  fake_counter = 0;
  pauses.clear();
  TickClock clock = StartTickClock(0, 1000000);  // a microsecond counter
  fake_counter = 2300;
  EXPECT_EQ(ReadTickClock(clock, FakeCounter, FakePause), 2u);
  EXPECT_TRUE(pauses.empty()) << "a first reading never sleeps";
  fake_counter = 2900;
  EXPECT_EQ(ReadTickClock(clock, FakeCounter, FakePause), 3u);
  EXPECT_EQ(pauses, std::vector<uint64_t>{100});
  fake_counter = 5000;
  EXPECT_EQ(ReadTickClock(clock, FakeCounter, FakePause), 5u);
  EXPECT_EQ(pauses.size(), 1u) << "a reading in a later millisecond does not sleep";
  // Polling until millisecond 30, as the frame clock does, sleeps once per millisecond.
  pauses.clear();
  uint32_t now = 5;
  int readings = 0;
  while (now < 30) {
    now = ReadTickClock(clock, ReadingCounter, FakePause);
    ++readings;
  }
  EXPECT_EQ(now, 30u);
  EXPECT_EQ(readings, 25);
  EXPECT_EQ(pauses.size(), 25u);
  EXPECT_EQ(pauses.front(), 990u) << "from count 5010 to 6000";
}

}  // namespace
