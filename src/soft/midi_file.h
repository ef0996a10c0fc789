// Checks a standard MIDI file completely before the synthesiser's reader sees it, so that a
// damaged file is refused instead of being read past its end or played forever.
#pragma once

#include <cstddef>
#include <cstdint>

// Largest MIDI file accepted, in bytes.
constexpr size_t MIDI_FILE_MAX_BYTES = 1 << 20;

// True for a well-formed standard MIDI file of format 0 (one track) or 1 with metrical timing:
// a header chunk, then exactly the tracks it announces, each inside the file, made of complete
// events (running status only after a channel message) and ending with its end-of-track event.
// The length of the longest track, up to its end of track, goes into *length_ticks when asked.
bool MidiFileValid(const uint8_t* bytes, size_t size, uint64_t* length_ticks = nullptr);
