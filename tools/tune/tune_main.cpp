// vork-tune: plays a standard MIDI file on the audio device, or with --wav headless into a WAV.
#include <cstdio>

#include "hosts/sdl/sdl_host.h"
#include "tune_player.h"

int main(int argc, char** argv) {
  TuneOptions options;
  std::string error;
  if (!ParseTuneArguments(argc, argv, &options, &error)) {
    std::fprintf(stderr, "vork-tune: %s\n", error.c_str());
    return 1;
  }
  int status;
  if (!options.wav_file.empty()) {
    status = RenderTuneToWav(options, &error);
  } else if (!SdlHostStart(&error)) {
    status = 1;
  } else {
    InstallHost(&sdl_host);
    status = PlayTune(options, &error);
    SdlHostStop();
  }
  if (status == 1) std::fprintf(stderr, "vork-tune: %s\n", error.c_str());
  if (status == 2) std::fprintf(stderr, "vork-tune: stopped at --max-ms %u before the tune ended\n", options.max_ms);
  return status;
}
