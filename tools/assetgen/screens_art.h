// The full-screen pictures: title, how to play, credits, animal intros, the wrong-letter
// sequence, game over and the win.
#pragma once

#include <vector>

#include "pixel_image.h"

// Draws every full-screen picture except the play fields.
std::vector<NamedPicture> DrawScreens();
