// Controls of the software DirectDraw for hosts and tests: a count of live objects to catch
// leaks, and the desktop's colour depth that windowed displays share.
#pragma once

// DirectDraw objects (the DirectDraw object, surfaces, palettes, clippers) now alive.
int SoftLiveObjectCount();
// Sets the desktop's colour depth (8, 15 or 16), which windowed displays share; false for others.
// DirectDraw objects made afterwards see it. Reset to 8 by SoftPlatformReset.
bool SoftSetDesktopBits(int bits);
