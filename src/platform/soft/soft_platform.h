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
// Forgets every window, class, message, key and fault, as at program start.
void SoftPlatformReset();
// The window the host shows (the first one created), or null.
HWND SoftHostWindow();
// Current state of a key by virtual-key code, as the host last reported it.
bool SoftKeyDown(int virtual_key);
// Calls `observer` at the start of every PeekMessageA, that is between two main-loop passes.
void SetMessagePollObserver(void (*observer)());

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

// Files opened with OpenFile and not yet closed with _lclose.
int SoftOpenFileCount();
