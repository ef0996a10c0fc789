// The software DirectMusic objects that CoCreateInstance hands out.
#pragma once

#include "dmusici.h"

// A new performance, not yet initialised; one reference.
IDirectMusicPerformance* NewSoftPerformance();
// A new loader with no search directory; one reference.
IDirectMusicLoader* NewSoftLoader();
