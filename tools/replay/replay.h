// Replays the game on the headless host: scripted keys in, a log of frames, state changes,
// opened files and the exit out, and PNG pictures of the frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Which frames are written as PNG files.
enum class PngChoice { All, Last, None };

// What a replay runs with.
struct ReplayOptions {
  std::string assets_dir;  // the game's working directory
  std::string out_dir;     // where log.txt and frame-<n>.png go
  std::string keys_file;   // optional key script
  uint32_t max_ms = 60000;  // virtual time after which the run is stopped
  PngChoice png = PngChoice::Last;
  std::string wav_file;    // optional: everything the game played, mixed, as a WAV file
  std::string autopilot;    // "", or win, wrong-letters or caught: the autopilot plays from the title
};

// One scripted event of a key file.
struct KeyEvent {
  uint32_t time;
  int virtual_key;  // -1 for close
  bool down;
};

// Parses a key file's text: lines "<ms> down <KEY>", "<ms> up <KEY>", "<ms> close"; blank lines and
// lines starting with # are skipped. On a bad line returns false with the reason in `error`.
bool ParseKeyScript(const std::string& text, std::vector<KeyEvent>* events, std::string* error);
// Parses the command line; false with a message in `error` (a usage text when arguments are wrong).
bool ParseReplayArguments(int argc, char** argv, ReplayOptions* options, std::string* error);
// The log text of a sound event: "sound <file> play|loop|stop", with the file the buffer's sound
// table slot was loaded from ("?" for a buffer the table does not hold).
std::string SoundEventText(const void* buffer, int event);
// Writes 16-bit stereo frames (left, right, ...) at `rate` as a PCM WAV file; false on failure.
bool WriteStereoWav(const std::string& path, const std::vector<int16_t>& samples, int rate);
// Runs the game; 0 when it ended through its quit message, 2 when max_ms ran out, 1 on bad input.
int RunReplay(const ReplayOptions& options, std::string* error);
