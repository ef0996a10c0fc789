// Controls of the software platform that only hosts and tests use: fault injection,
// resetting the platform between tests, and a count of live DirectDraw objects.
#pragma once

#include <cstdint>

#include "win32.h"

// Platform calls that can be told to fail.
enum class PlatformCall {
  RegisterClass,
  CreateWindow,
  DirectDrawCreate,
  SetCooperativeLevel,
  SetDisplayMode,
  CreateSurface,
  GetAttachedSurface,
  GetPixelFormat,
  CreatePalette,
  SetPalette,
  CreateClipper,
  SetClipList,
  SetClipper,
  SetHWnd,
  Lock,
  Blt,
  Flip,  // fails as DDERR_SURFACELOST and marks every surface lost
  DirectInputCreate,
  CreateInputDevice,
  InputAcquire,
  DirectSoundCreate,
  CreateSoundBuffer,
  SoundLock,
  SoundGetStatus,
  CoCreateInstance,
  MusicSetParam,
  PlaySegment,
  FileOpen,  // every data file opened (pictures, sounds, palette, music), as not found
  FileRead,  // _lread and mmioRead, as a read error
  Count
};

// Makes the nth call of a kind from now fail (1 = the next one), and the times - 1 calls after it.
void InjectFault(PlatformCall call, int nth, int times = 1);
// Removes every pending fault and zeroes the call counts.
void ClearFaults();
// Counts one call of a kind; true when that call must fail.
bool FaultHits(PlatformCall call);
// How many calls of a kind have been made since the last ClearFaults.
int PlatformCallCount(PlatformCall call);

// DirectDraw objects (the DirectDraw object, surfaces, palettes, clippers) now alive.
int SoftLiveObjectCount();
// Sets the desktop's colour depth (8, 15 or 16), which windowed displays share; false for others.
// DirectDraw objects made afterwards see it. Reset to 8 by SoftPlatformReset.
bool SoftSetDesktopBits(int bits);
// Forgets every window, class, message, key and fault, as at program start.
void SoftPlatformReset();
// The window the host shows (the first one created), or null.
HWND SoftHostWindow();
// Current state of a key by virtual-key code, as the host last reported it.
bool SoftKeyDown(int virtual_key);
// Calls `observer` at the start of every PeekMessageA, that is between two main-loop passes.
void SetMessagePollObserver(void (*observer)());
// Moves a window to cover `rect`, as DirectDraw does with the exclusive window on a mode change.
void SoftPlaceWindow(HWND window, const RECT& rect);

// What a device context on a surface draws into: the surface's memory while the context is out.
struct SoftDrawTarget {
  uint8_t* pixels;               // first byte of the top row
  int width;                     // pixels per row
  int height;                    // rows
  int pitch;                     // bytes from one row to the next
  int bits_per_pixel;            // 8 (palette indices), 15 (5.5.5) or 16 (5.6.5)
  const PALETTEENTRY* palette;   // 256 entries colours are matched against on 8-bit surfaces, or null
};

// Opens a device context on a surface's memory; null when every context is in use.
HDC SoftOpenSurfaceDC(const SoftDrawTarget& target);
// Closes a context opened by SoftOpenSurfaceDC; false when `dc` is not an open one.
bool SoftCloseSurfaceDC(HDC dc);
// Chooses the font family text is drawn in (DejaVu Sans at start) and drops the loaded font.
void SoftSetTextFontFamily(const char* family);
// The stock font object GetStockObject hands out, or null when no font can be loaded.
HGDIOBJ SoftStockFont();
// Height in pixels of a line of text in the loaded font (ascent + descent), 0 when none loads.
int SoftTextLineHeight();
// Files opened with OpenFile and not yet closed with _lclose.
int SoftOpenFileCount();

// Another program takes the input devices (or the session is locked): every acquired device
// loses its input; the next read fails with DIERR_INPUTLOST until the device is acquired again.
void SoftInputLose();
// DirectInput objects and devices now alive.
int SoftInputObjectCount();
// Forgets every key, mouse movement, controller and input object, as at program start.
void SoftInputReset();

struct IDirectSoundBuffer;
// What a sound buffer was told to do.
enum class SoundEvent { Play, Loop, Stop };
// Told of every Play (once or looping) and of every Stop of a buffer that was playing.
typedef void (*SoundObserver)(IDirectSoundBuffer* buffer, SoundEvent event);
// Sets the observer of sound buffers (null: none).
void SetSoundObserver(SoundObserver observer);
// DirectSound objects and buffers now alive.
int SoftSoundObjectCount();
// Forgets the audio output and the observer, as at program start.
void SoftSoundReset();

// Adds `frames` stereo frames of music into the mixed samples; the mixer calls it with its lock held.
typedef void (*MusicSource)(int16_t* samples, int frames);
// Makes `source` the music added to every mix (null: none); returns once no mix is using the old one.
void SetMusicSource(MusicSource source);
// The audio output's frames per second, 0 while no DirectSound object has opened it.
uint32_t SoftSoundRate();
// DirectMusic objects (performances, loaders, segments, segment states) now alive.
int SoftMusicObjectCount();
// CoInitialize calls not yet ended by CoUninitialize.
int SoftComStarts();
// The folders searched for a General MIDI SoundFont, null-terminated (null: the standard ones).
void SetSoundFontFolders(const char* const* folders);
