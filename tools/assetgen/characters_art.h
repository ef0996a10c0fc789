// The game's characters and objects, drawn with cairo at any size.
#pragma once

#include <cairo.h>

// Colours shared by every picture, as 0xRRGGBB.
constexpr unsigned INK = 0x1C1824;      // outlines (kept exact in the palette)
constexpr unsigned WHITE = 0xFFFFFF;

// Which way the robot faces.
enum class Facing { RIGHT, UP, LEFT, DOWN };

// How the robot looks in one picture.
struct RobotPose {
  Facing facing = Facing::DOWN;
  int step = 0;          // walking phase: 0 and 1 alternate the legs, 2 stands still
  bool used_up = false;  // grey with X eyes: a spare robot that has been spent
  bool cheering = false; // arms up
};

// How an animal looks.
enum class Mood { HAPPY, SAD, CHEERING };

// The animals, in scene order.
enum class Animal { DOG, CAT, OWL, FROG };

// Draws the robot in the square (x, y, size, size).
void DrawRobot(cairo_t* cr, double x, double y, double size, const RobotPose& pose);
// Draws the bulldozer in the box (x, y, w, h), blade on the side it faces (w:h about 2:1).
void DrawBulldozer(cairo_t* cr, double x, double y, double w, double h, bool facing_right);
// Draws a bushy tree in the box (x, y, w, h).
void DrawTree(cairo_t* cr, double x, double y, double w, double h);
// Draws a cut tree stump with wood chips in the box (x, y, w, h).
void DrawStump(cairo_t* cr, double x, double y, double w, double h);
// Draws a letter tile in the box (x, y, w, h): a coloured rounded square with the letter.
void DrawLetterTile(cairo_t* cr, double x, double y, double w, double h, char letter);
// Draws an animal centred on (cx, cy), about size pixels tall.
void DrawAnimal(cairo_t* cr, Animal animal, double cx, double cy, double size, Mood mood);
// Draws a cage of `bars` upright tree branches over the box (x, y, w, h), grown 0..1 (1: shut).
void DrawBranchCage(cairo_t* cr, double x, double y, double w, double h, double grown, int bars);
// Name of an animal in capitals ("DOG").
const char* AnimalName(Animal animal);
// Background colour of the tile of a letter.
unsigned TileColor(char letter);
