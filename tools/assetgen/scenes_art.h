// The four play fields, with the word row along the bottom.
#pragma once

#include <cairo.h>

#include <vector>

#include "pixel_image.h"

// Word row geometry the game uses: the j-th letter lands at (WORD_ROW_X + 30 j, WORD_ROW_Y).
constexpr int WORD_ROW_X = 200;
constexpr int WORD_ROW_Y = 430;
constexpr int WORD_ROW_STEP = 30;
// Top of the bottom band that holds the word row and the spare robots.
constexpr int BOTTOM_BAND_Y = 420;

// Draws "scene1.BMP" to "scene4.BMP".
std::vector<NamedPicture> DrawScenes();

// Draws a calm ground for scene n (1..4) over the whole canvas; used by other pictures too.
void DrawSceneGround(cairo_t* cr, int scene, int width, int height);
