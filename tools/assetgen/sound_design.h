// The game's synthesised sounds: animal calls, engine, tune, crash, beep and jingle.
#pragma once

#include "sound_levels.h"

// A dog's two barks, about a second.
Samples MakeBark();
// A cat's meow, about a second.
Samples MakeMeow();
// An owl's "hoo, hoo-hoo", about a second.
Samples MakeHoot();
// A frog's two croaks, about a second.
Samples MakeCroak();
// The bulldozer's diesel rumble and track clatter, one seamless loop.
Samples MakeEngineLoop();
// The play tune: an original cheerful eight-bar melody with bass and drums, one seamless loop.
Samples MakeTuneLoop();
// A tree crunched and crashing down.
Samples MakeTreeCrash();
// A short, friendly "not that one" sound.
Samples MakeWrongBeep();
// Adds a quiet rising sparkle of bells out of the end of a spoken cheer, for a happier "Hooray".
void AddCheerSparkle(Samples& cheer);
// The short jingle of the credits screen.
Samples MakeCreditsJingle();
