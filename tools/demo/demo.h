// vork-demo: the library's drawing extras on screen, and an example of a program on the library:
// rotating and scaling filled polygons, a fan of clipped lines, a rotating palette range,
// blinking palette entries and text.
#pragma once

#include <string>

#include "win32.h"

// How the demo runs.
struct DemoOptions {
  int frame_limit = 0;                    // stop after this many frames; 0: run until Escape or close
  void (*after_flip)(int frame) = nullptr;  // told after each frame has been shown
};

// Where things are on the demo's screen, for the demo and for anyone checking its pictures.
constexpr int DEMO_OCTAGON_X = 160, DEMO_OCTAGON_Y = 220;      // centre of the filled octagon
constexpr int DEMO_TRIANGLE_X = 160, DEMO_TRIANGLE_Y = 400;    // centre of the filled triangle
constexpr int DEMO_CLIP_LEFT = 360, DEMO_CLIP_TOP = 60;        // the box the line fan is clipped to
constexpr int DEMO_CLIP_RIGHT = 619, DEMO_CLIP_BOTTOM = 299;   // inclusive
constexpr int DEMO_STRIPES_X = 360, DEMO_STRIPES_Y = 420;      // 32 stripes of the rotating range
constexpr int DEMO_STRIPE_WIDTH = 8, DEMO_STRIPE_HEIGHT = 40;
constexpr int DEMO_BLINK_A_X = 380, DEMO_BLINK_B_X = 460;      // the two blinking squares
constexpr int DEMO_BLINK_Y = 330, DEMO_BLINK_SIZE = 60;
constexpr int DEMO_TEXT_X = 10, DEMO_TEXT_Y = 8;               // the title line

// Palette entries the demo uses.
constexpr int DEMO_RANGE_FIRST = 16, DEMO_RANGE_LAST = 47;     // the rotating rainbow
constexpr int DEMO_BLINK_A = 200, DEMO_BLINK_B = 201;          // the blinking entries
constexpr int DEMO_WHITE = 250, DEMO_GREY = 252;

// Runs the demo in a window of its own on whatever host is installed; returns the exit code.
int DemoMain(HINSTANCE instance, const DemoOptions& options);
// Runs `frames` frames on the headless host and writes OUT/frame-<n>.png for every frame that is a
// multiple of png_every and for the last one; 0 when every picture was written.
int RunDemoHeadless(const std::string& out_dir, int frames, int png_every);
