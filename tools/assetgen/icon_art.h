// The game's icon: the robot's face, drawn by the game's own robot art, on a rounded tile.
#pragma once

#include <cairo.h>

#include <string>

// Pixel sizes of the PNG icons in the hicolor theme.
constexpr int ICON_SIZES[] = {48, 128, 256};
// Nominal size of the scalable (SVG) icon, in SVG units.
constexpr double ICON_SVG_SIZE = 256;
// Colour of the tile behind the robot, as 0xRRGGBB.
constexpr unsigned ICON_TILE = 0xFFC83D;

// Draws the icon into the square (0, 0, size, size).
void DrawIcon(cairo_t* cr, double size);
// Writes the icon as a size x size PNG; false (with a message) when it cannot be written.
bool WriteIconPng(const std::string& path, int size);
// Writes the icon as an SVG of ICON_SVG_SIZE units; false (with a message) on failure.
bool WriteIconSvg(const std::string& path);
// Writes vork-48.png, vork-128.png, vork-256.png and vork.svg into folder; false on failure.
bool WriteIcons(const std::string& folder);
