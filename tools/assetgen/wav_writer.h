// Writes the game's sounds as 11025 Hz, 8-bit, mono PCM WAV files.
#pragma once

#include <cstdint>
#include <vector>

// Sample rate of every sound the game plays.
constexpr int SAMPLE_RATE = 11025;

// Encodes unsigned 8-bit samples (128 is silence) as RIFF "WAVE" with "fmt " first and
// then "data". The format chunk is 18 bytes (with a zero extra-size field), since the
// game's loader reads 18 bytes from it.
std::vector<uint8_t> EncodeWav8(const std::vector<uint8_t>& samples);
