/// \file
/// The few services a real machine gives the software platform: show a frame, read OS events
/// and keys, tell the time, sleep. A host fills in a HostServices record and installs it before
/// the program calls into the platform; soft/ calls nothing else of the machine.
#pragma once

#include <cstdint>

/// One frame to show: 8-bit palette indices, or 16-bit pixels (5.6.5, or 5.5.5 when bits_per_pixel
/// is 15), top row first.
struct HostFrame {
  const uint8_t* pixels;   ///< first byte of the top row
  int width;               ///< pixels per row
  int height;              ///< rows
  int pitch;               ///< bytes from one row to the next
  int bits_per_pixel;      ///< 8 (indices through palette), 15 (5.5.5) or 16 (5.6.5)
  const uint8_t* palette;  ///< 256 entries of red, green, blue, flags; used for 8-bit frames
};

/// Fills `frames` stereo frames (left, right, left, ...) of signed 16-bit samples with mixed sound.
typedef void (*HostAudioSource)(int16_t* samples, int frames);

/// What a host must provide. Every entry is required but the last, open_audio.
struct HostServices {
  /// Opens the OS window the game draws into; false when there is no display to open it on.
  bool (*open_window)(const char* title, int x, int y, int width, int height);
  /// Closes the OS window; the program keeps running.
  void (*close_window)();
  /// Switches to showing width x height frames over the whole screen (full-screen display mode).
  void (*set_display_mode)(int width, int height, int bits_per_pixel);
  /// Shows a frame; called on every flip and whenever the primary palette changes.
  void (*present)(const HostFrame& frame);
  /// Reads pending OS events; reports them through HostSetKey and HostRequestClose.
  void (*pump_events)();
  /// Milliseconds since an arbitrary start, wrapping at 2^32.
  uint32_t (*milliseconds)();
  /// Gives up the processor for at least ms milliseconds.
  void (*sleep)(uint32_t ms);
  /// Returns when the display's vertical blank begins (or at once where there is none).
  void (*wait_vertical_blank)();
  /// True while the display cannot be drawn to (for example the window is minimised).
  bool (*display_lost)();
  /// Shows or hides the mouse cursor over the window.
  void (*show_cursor)(bool visible);
  /// Told of every data file the program opens, and whether it opened.
  void (*file_opened)(const char* path, bool ok);
  /// Starts the audio output pulling its samples from `source`; returns the output's frames per
  /// second, or 0 when the machine has no audio output. A later call returns the same rate.
  int (*open_audio)(HostAudioSource source);
};

/// Makes `host` the machine the platform runs on; it must outlive every platform call.
void InstallHost(const HostServices* host);
/// The installed host; a host that does nothing is used until one is installed.
const HostServices& Host();

/// Called by hosts from pump_events: a key, by virtual-key code, went down or up.
void HostSetKey(int virtual_key, bool down);
/// Called by hosts from pump_events: the user asked to close the window (close button, Alt+F4).
void HostRequestClose();

// ---- Input devices ---------------------------------------------------------------------------

/// Called by hosts from pump_events: a key, by DirectInput key code, went down or up.
void HostSetInputKey(int dik_code, bool down);
/// Called by hosts from pump_events: the mouse moved by dx, dy and its wheel by dz since the last call.
void HostMoveMouse(int dx, int dy, int dz);
/// Called by hosts from pump_events: mouse button 0 (left), 1 (right), 2 (middle) or 3 went down or up.
void HostSetMouseButton(int button, bool down);

/// The first game controller as a host sees it; axes run from -32768 to 32767, centre 0.
struct HostJoystick {
  bool attached;            ///< false: no controller is plugged in
  char name[80];            ///< product name, zero-terminated
  int32_t axes[6];          ///< x, y, z, rotation x, y, z
  int32_t pov;              ///< hat direction in hundredths of a degree clockwise from up; -1 centred
  uint8_t buttons[32];      ///< nonzero while held
};

/// Called by hosts from pump_events: the game controller changed (or was plugged in or out).
void HostSetJoystick(const HostJoystick& joystick);
