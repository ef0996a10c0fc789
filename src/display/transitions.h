/// \file
/// Screen transitions: blocking palette fades and black wipes, and the clipped line primitives
/// the wipes are drawn with.
#pragma once

#include <cstdint>

/// Transition numbers.
enum ScreenTransitionNumber {
  FadeToBlack = 0,
  FadeToWhite = 1,
  CloseSides = 2,
  CloseTopBottom = 3,
  Dissolve = 4,
  CloseAll = 5,
  FadeToBlue = 6,
  FadeToRed = 7,
  FadeToGreen = 8,
};

/// Milliseconds each step of a fade or a closing wipe lasts at least.
constexpr uint32_t TRANSITION_STEP_MS = 12;

/// Runs transition `number` to its end; wipes draw into `buffer` (rows `pitch` bytes apart). Returns 1.
int ScreenTransition(int number, uint8_t* buffer, int pitch);
/// Horizontal run of 8-bit pixels from x1 to x2 on row y, clipped to the display's clip bounds.
void DrawHLine8(int x1, int x2, int y, int color, uint8_t* buffer, int pitch);
/// Vertical run of 8-bit pixels from y1 to y2 in column x, clipped.
void DrawVLine8(int y1, int y2, int x, int color, uint8_t* buffer, int pitch);
/// Horizontal run of 16-bit pixels, clipped.
void DrawHLine16(int x1, int x2, int y, int color, uint8_t* buffer, int pitch);
/// Vertical run of 16-bit pixels, clipped.
void DrawVLine16(int y1, int y2, int x, int color, uint8_t* buffer, int pitch);
/// Stores `value` into `count` consecutive 16-bit units.
void FillWords16(uint16_t* destination, uint16_t value, int count);
