// Little-endian integers appended to a byte buffer, as the BMP and WAV headers store them.
#pragma once

#include <cstdint>
#include <vector>

// Appends the low 16 bits of `value`, low byte first.
inline void PutU16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

// Appends all 32 bits of `value`, low byte first.
inline void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}
