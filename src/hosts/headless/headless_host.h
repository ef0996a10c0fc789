/// \file
/// The host for tests and tools: a virtual clock, scripted keys, every frame kept in memory,
/// a log of opened files, and control over display loss. Runs the same way every time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "soft/host.h"

/// One presented frame, copied out of the platform.
struct HeadlessFrame {
  uint32_t time;                ///< virtual milliseconds when it was presented
  int width;                    ///< pixels per row
  int height;                   ///< rows
  int bits_per_pixel;           ///< 8, 15 or 16
  std::vector<uint8_t> pixels;  ///< rows without gaps: width * bytes per pixel each
  uint8_t palette[1024];        ///< red, green, blue, flags of each of 256 entries
};

/// Which presented frames are kept in memory.
enum class FrameKeeping { All, Last, None };

/// Thrown out of a platform call once the clock reaches the deadline, to stop a run.
struct HeadlessDeadline {
  uint32_t time;  ///< when the run was stopped
};

/// The headless host's services, to install with InstallHost.
extern const HostServices headless_host;

/// Installs the headless host and forgets everything of a previous run; the clock starts at start_ms.
void HeadlessStart(uint32_t start_ms = 0);
/// The virtual clock now.
uint32_t HeadlessNow();
/// Moves the virtual clock on by ms, as a Sleep would.
void HeadlessAdvance(uint32_t ms);
/// Stops the run with HeadlessDeadline at the first platform call at or after `time`.
void HeadlessSetDeadline(uint32_t time);

/// A key (virtual-key code) goes down or up at the given virtual time.
void HeadlessScheduleKey(uint32_t time, int virtual_key, bool down);
/// A key by DirectInput code only (keys without a virtual-key code) goes down or up at `time`.
void HeadlessScheduleInputKey(uint32_t time, int dik_code, bool down);
/// Runs `action` at the given virtual time from the event pump, for scripted mouse movement and
/// controller state (HostMoveMouse, HostSetMouseButton, HostSetJoystick).
void HeadlessScheduleAction(uint32_t time, std::function<void()> action);
/// The user closes the window at the given virtual time.
void HeadlessScheduleClose(uint32_t time);
/// Called at every event pump with the current time: an autopilot that presses keys itself.
void HeadlessSetAutopilot(std::function<void(uint32_t now)> autopilot);

/// Chooses which frames are kept (All by default).
void HeadlessKeepFrames(FrameKeeping keeping);
/// Called for every presented frame with its number, counted from 0.
void HeadlessOnFrame(std::function<void(const HeadlessFrame&, int number)> observer);
/// The frames kept so far.
const std::vector<HeadlessFrame>& HeadlessFrames();
/// How many frames have been presented in all.
int HeadlessFrameCount();
/// Writes a frame as an RGB PNG file; false when the file cannot be written.
bool HeadlessSavePng(const HeadlessFrame& frame, const std::string& path);

/// Called for every data file the program opens, with whether it opened.
void HeadlessOnFileOpen(std::function<void(const std::string& path, bool ok)> observer);
/// The files opened so far, in order.
const std::vector<std::string>& HeadlessOpenedFiles();
/// Forgets the files opened so far, so that a run of hours (or a fuzz run of millions) keeps no
/// growing list.
void HeadlessForgetOpenedFiles();

/// Makes the display lost (as while minimised) or available again.
void HeadlessSetDisplayLost(bool lost);
/// Whether the OS window is open, and its title.
bool HeadlessWindowOpen();
/// The OS window's title, as the program gave it.
std::string HeadlessWindowTitle();
/// Whether the mouse cursor is shown.
bool HeadlessCursorVisible();
/// The display mode last set (0 x 0 before any).
int HeadlessModeWidth();
/// The height of the display mode last set (0 before any).
int HeadlessModeHeight();

/// Frames per second of the headless audio output unless a test sets another rate.
constexpr int HEADLESS_AUDIO_RATE = 44100;
/// The audio output's rate from now on; 0 makes the machine one without audio output.
void HeadlessSetAudioRate(int frames_per_second);
/// Keeps (or stops keeping) everything the mixer produces, as stereo 16-bit frames.
void HeadlessKeepAudio(bool keep);
/// The audio kept so far: left, right, left, right, ...
const std::vector<int16_t>& HeadlessAudio();
