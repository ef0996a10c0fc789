// The host's millisecond clock, over a fine counter (SDL's performance counter). It knows when
// its next millisecond begins, so a wait that polls it sleeps once per millisecond, to exactly
// that moment, instead of waking again and again within it.
#pragma once

#include <cstdint>

// A millisecond clock counting from a counter reading.
struct TickClock {
  uint64_t start;      // counter reading at millisecond 0
  uint64_t frequency;  // counter counts per second
  bool read;           // the clock has been read at least once
  uint32_t last;       // what it read last
};

// A clock whose millisecond 0 is the counter reading `counter`.
TickClock StartTickClock(uint64_t counter, uint64_t frequency);
// Whole milliseconds from the clock's start to the counter reading `counter`, wrapping at 2^32.
uint32_t TickAt(const TickClock& clock, uint64_t counter);
// Counts from the counter reading `counter` until the clock's next millisecond begins.
uint64_t CountsToNextTick(const TickClock& clock, uint64_t counter);
// The clock's reading now (`counter` gives the counter). A second reading within the same
// millisecond is a wait polling the clock: it first gives the processor away through `pause`
// until the next millisecond begins.
uint32_t ReadTickClock(TickClock& clock, uint64_t (*counter)(), void (*pause)(uint64_t counts, uint64_t frequency));
