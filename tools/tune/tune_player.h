// Plays one MIDI file with the music table from start to end: on whatever host is installed
// (the SDL host's audio device), or headless in virtual time into a WAV file.
#pragma once

#include <cstdint>
#include <string>

// What to play and for how long at most.
struct TuneOptions {
  std::string midi_file;  // the file to play, named from the working directory
  std::string wav_file;   // when set: headless, everything heard goes into this WAV file
  uint32_t max_ms = 600000;
};

// Reads `vork-tune [--wav FILE] [--max-ms N] FILE.mid`; false with a message on bad arguments.
bool ParseTuneArguments(int argc, char** argv, TuneOptions* options, std::string* error);
// Plays on the installed host until the tune ends or max_ms pass; 0 when it played to its end,
// 2 when the time ran out, 1 (with a message) when the sound, the music or the file failed.
int PlayTune(const TuneOptions& options, std::string* error);
// Plays headless into options.wav_file; the same results as PlayTune.
int RenderTuneToWav(const TuneOptions& options, std::string* error);
