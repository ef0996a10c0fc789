// The library's sample music: a short cheerful tune as a standard MIDI file (format 0), our own
// notes: a bouncing melody in C major on a glockenspiel over a plucked bass.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The file name the tune is written under.
constexpr const char* TUNE_FILE = "tune.mid";
// Ticks per quarter note in the tune.
constexpr int TUNE_DIVISION = 96;
// Quarter notes a minute.
constexpr int TUNE_TEMPO_BPM = 150;

// The whole file's bytes.
std::vector<uint8_t> CheerfulTuneMidi();
// Writes the tune into folder; false (with a message) when it cannot be written.
bool WriteTune(const std::string& folder);
