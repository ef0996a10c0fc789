// The software DirectMusic objects that CoCreateInstance hands out, and its controls for tests:
// a count of live objects to catch leaks, and where the SoundFont is looked for.
#pragma once

#include "dmusici.h"

// A new performance, not yet initialised; one reference.
IDirectMusicPerformance* NewSoftPerformance();
// A new loader with no search directory; one reference.
IDirectMusicLoader* NewSoftLoader();
// DirectMusic objects (performances, loaders, segments, segment states) now alive.
int SoftMusicObjectCount();
// The folders searched for a General MIDI SoundFont, null-terminated (null: the standard ones).
void SetSoundFontFolders(const char* const* folders);
