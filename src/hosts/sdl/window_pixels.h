// Frames shown by scaling them straight into the window's own pixels. On a machine whose
// renderer rasterises on the processor (no graphics hardware, a virtual display), drawing a
// scaled frame through it costs several times what this does.
#pragma once

#include <SDL.h>

#include "hosts/common/frame_convert.h"

// True when `renderer` draws on the processor: SDL's software renderer, or OpenGL over a
// software rasteriser. Call it right after creating the renderer, while its context is current.
bool RendersInSoftware(SDL_Renderer* renderer);
// Makes frames go to `window`'s own pixels; false, and nothing changed, when SDL cannot give
// the window 32-bit RGB pixels of its own.
bool OpenWindowPixels(SDL_Window* window);
// Stops using the window's pixels (the window is closing).
void CloseWindowPixels();
// True while frames go to the window's pixels.
bool WindowPixelsOpen();
// Draws `shown` letterboxed on black into the window's pixels through `palette` (rebuilt from
// the frame's own palette when that changed) and puts it all on the screen; black alone while
// nothing has been shown. For a window uncovered or resized.
void ShowInWindowPixels(const ShownFrame& shown, PaletteLookup& palette);
// Draws and puts on the screen only the rows the last update of `shown` changed, when the
// window's pixels hold the rest of it already (else all of it, as ShowInWindowPixels).
void ShowChangesInWindowPixels(const ShownFrame& shown, PaletteLookup& palette);
