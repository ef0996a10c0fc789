// Replays a fuzz target's entry point in `make test`: every seed of its corpus and deterministic
// mutations of each, under the sanitizers. The full coverage-guided runs are `make fuzz`.
#pragma once

#include <string>
#include <vector>

// Every file of a corpus folder, as bytes.
std::vector<std::string> ReadFuzzSeeds(const char* folder);

// Byte order of the 32-bit fields a format stores (WAV little-endian, MIDI big-endian).
enum class FieldOrder { LittleEndian, BigEndian };

// Feeds each seed, every truncation of it, every single-bit flip, and each 32-bit field (at even
// offsets) replaced by edge values, to LLVMFuzzerTestOneInput; returns the number of inputs fed.
int FeedSeedsAndMutations(const std::vector<std::string>& seeds, FieldOrder order);
