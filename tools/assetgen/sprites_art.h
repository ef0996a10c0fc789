// The sprite sheets: crunch, tree, stump, letter tiles, spare robots, bulldozer, robot.
#pragma once

#include <vector>

#include "pixel_image.h"
#include "sprite_sheet.h"

// Size at which the game shows every scene object, whatever its cell size.
constexpr int SHOWN_WIDTH = 58;
constexpr int SHOWN_HEIGHT = 30;

// What a sheet holds: its file, its cells, whether the game shows it at 58 x 30, and how
// it is drawn.
struct SheetDescription {
  const char* file_name;
  SheetLayout layout;
  int cell_count;       // cells in use, counted row by row
  bool shown_scaled;    // drawn at SHOWN_WIDTH x SHOWN_HEIGHT by the game
  RgbaImage (*draw)(const SheetDescription& sheet);  // draws the whole sheet
};

// Every sheet the game loads, in the order of its start-up.
const std::vector<SheetDescription>& SpriteSheets();

// Draws every sheet, in the order of SpriteSheets().
std::vector<NamedPicture> DrawSpriteSheets();
