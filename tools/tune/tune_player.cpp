// The tune player: sound, then music, then one load and one play, polled until it ends.
#include "tune_player.h"

#include <cstdlib>
#include <cstring>

#include "hosts/headless/headless_host.h"
#include "replay.h"
#include "sound/midi_music.h"
#include "sound/sound_table.h"

namespace {

// How often the player looks whether the tune still plays.
constexpr uint32_t POLL_MS = 20;

int Failure(std::string* error, const std::string& message) {
  *error = message;
  return 1;
}

int PlayLoaded(const TuneOptions& options, std::string* error) {
  const int id = LoadMidi(options.midi_file.c_str());
  if (id < 0) return Failure(error, "cannot load " + options.midi_file + " (missing or not a standard MIDI file)");
  if (PlayMidi(id) != 1) return Failure(error, "cannot play " + options.midi_file);
  const uint32_t start = GetTickCount();
  while (MidiStatus(id) == MIDI_PLAYING) {
    if (GetTickCount() - start >= options.max_ms) return 2;
    Sleep(POLL_MS);
  }
  Sleep(300);  // the last notes' release
  return 0;
}

}  // namespace

bool ParseTuneArguments(int argc, char** argv, TuneOptions* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const bool has_value = i + 1 < argc;
    if (std::strcmp(argv[i], "--wav") == 0 && has_value) {
      options->wav_file = argv[++i];
    } else if (std::strcmp(argv[i], "--max-ms") == 0 && has_value) {
      char* end = nullptr;
      const unsigned long value = std::strtoul(argv[++i], &end, 10);
      if (*end != '\0' || value == 0 || value > 3600000) return (*error = "--max-ms takes 1 to 3600000"), false;
      options->max_ms = static_cast<uint32_t>(value);
    } else if (argv[i][0] != '-' && options->midi_file.empty()) {
      options->midi_file = argv[i];
    } else {
      *error = std::string("unexpected argument ") + argv[i];
      return false;
    }
  }
  if (options->midi_file.empty()) *error = "usage: vork-tune [--wav FILE] [--max-ms N] FILE.mid";
  return !options->midi_file.empty();
}

int PlayTune(const TuneOptions& options, std::string* error) {
  int status = 1;
  if (SoundInit() != 1) {
    *error = "no audio output";
  } else if (MusicInit() != 1) {
    *error = "no music: install a General MIDI SoundFont (timgm6mb-soundfont or fluid-soundfont-gm)";
  } else {
    status = PlayLoaded(options, error);
  }
  MusicShutdown();
  SoundShutdown();
  direct_sound = nullptr;  // SoundShutdown leaves the released pointer; a later play starts afresh
  sound_first_call = 1;
  return status;
}

int RenderTuneToWav(const TuneOptions& options, std::string* error) {
  HeadlessStart();
  HeadlessKeepAudio(true);
  const int status = PlayTune(options, error);
  if (status != 1 && !WriteStereoWav(options.wav_file, HeadlessAudio(), HEADLESS_AUDIO_RATE))
    return Failure(error, "cannot write " + options.wav_file);
  return status;
}
