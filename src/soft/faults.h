// Fault injection for tests: the platform calls that can be told to fail, and counts of the
// calls made, so a test can fail any step of the program's start-up or play and watch it cope.
#pragma once

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
