// The generator's one source of pseudo-random numbers: a 32-bit xorshift step, seeded by the
// caller, so that every run draws and sounds the same.
#pragma once

#include <cstdint>

// Advances `state` (never 0) and returns the new value.
inline uint32_t NextXorShift(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}
