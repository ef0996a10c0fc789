#include "sdl/tick_clock.h"

namespace {

constexpr uint64_t MS_PER_SECOND = 1000;

}  // namespace

TickClock StartTickClock(uint64_t counter, uint64_t frequency) {
  return TickClock{counter, frequency > 0 ? frequency : 1, false, 0};
}

// Whole seconds and the rest apart, so that no product overflows however long the clock runs.
uint32_t TickAt(const TickClock& clock, uint64_t counter) {
  const uint64_t elapsed = counter - clock.start;
  const uint64_t seconds = elapsed / clock.frequency;
  const uint64_t rest = elapsed % clock.frequency;
  return static_cast<uint32_t>(seconds * MS_PER_SECOND + rest * MS_PER_SECOND / clock.frequency);
}

// Millisecond n begins at the first count at or past n * frequency / 1000 (rounded up).
uint64_t CountsToNextTick(const TickClock& clock, uint64_t counter) {
  const uint64_t elapsed = counter - clock.start;
  const uint64_t seconds = elapsed / clock.frequency;
  const uint64_t next_ms = (elapsed % clock.frequency) * MS_PER_SECOND / clock.frequency + 1;
  const uint64_t next = seconds * clock.frequency + (next_ms * clock.frequency + MS_PER_SECOND - 1) / MS_PER_SECOND;
  return next - elapsed;
}

uint32_t ReadTickClock(TickClock& clock, uint64_t (*counter)(), void (*pause)(uint64_t counts, uint64_t frequency)) {
  uint64_t reading = counter();
  uint32_t now = TickAt(clock, reading);
  if (clock.read && now == clock.last) {
    pause(CountsToNextTick(clock, reading), clock.frequency);
    now = TickAt(clock, counter());
  }
  clock.read = true;
  clock.last = now;
  return now;
}
