// Screen transitions and the clipped line primitives.
#include "display/transitions.h"

#include <algorithm>
#include <cstdlib>
#include <cstddef>
#include <cstring>
#include <utility>

#include "display/frame.h"

namespace {

struct FadeRule {
  int first_entry;  // entry 0 is kept by the fade to black
  int steps;
  int red, green, blue;  // change per step
};

// Fades: red, green and blue change by these steps, clamped to 0..255.
FadeRule FadeRuleFor(int number) {
  switch (number) {
    case FadeToWhite: return {0, 64, 4, 4, 4};
    case FadeToBlue: return {0, 64, -4, -4, 6};
    case FadeToRed: return {0, 64, 6, -4, -4};
    case FadeToGreen: return {0, 64, -4, 6, -4};
    default: return {1, 80, -3, -3, -3};  // FadeToBlack
  }
}

uint8_t StepComponent(uint8_t value, int change, bool to_black) {
  // Fading to black takes a component of 4 or less straight to 0.
  if (to_black && value <= 4) return 0;
  return static_cast<uint8_t>(std::clamp(static_cast<int>(value) + change, 0, 255));
}

void Pause() {
  StartClock();
  WaitClock(TRANSITION_STEP_MS);
}

void RunFade(int number) {
  const FadeRule rule = FadeRuleFor(number);
  const bool to_black = number == FadeToBlack;
  PaletteEntry work_palette[PALETTE_SIZE];
  for (int step = 0; step < rule.steps; ++step) {
    GetPalette(work_palette);
    for (int i = rule.first_entry; i < PALETTE_SIZE; ++i) {
      PaletteEntry color = work_palette[i];
      color.peRed = StepComponent(color.peRed, rule.red, to_black);
      color.peGreen = StepComponent(color.peGreen, rule.green, to_black);
      color.peBlue = StepComponent(color.peBlue, rule.blue, to_black);
      work_palette[i] = color;
    }
    SetPalette(work_palette);
    Pause();
  }
}

void DrawRow(int y, uint8_t* buffer, int pitch) {
  if (display.bits_per_pixel == 8) DrawHLine8(0, display.screen_width - 1, y, 0, buffer, pitch);
  if (display.bits_per_pixel == 16) DrawHLine16(0, display.screen_width - 1, y, 0, buffer, pitch);
}

void DrawColumn(int x, uint8_t* buffer, int pitch) {
  if (display.bits_per_pixel == 8) DrawVLine8(0, display.screen_height - 1, x, 0, buffer, pitch);
  if (display.bits_per_pixel == 16) DrawVLine16(0, display.screen_height - 1, x, 0, buffer, pitch);
}

// One step of a closing wipe: lines i and i + 1 from both edges, far edge first.
void CloseStep(int i, int size, void (*draw_line)(int, uint8_t*, int), uint8_t* buffer, int pitch) {
  draw_line(size - 1 - i, buffer, pitch);
  draw_line(i, buffer, pitch);
  draw_line(size - 1 - (i + 1), buffer, pitch);
  draw_line(i + 1, buffer, pitch);
}

void CloseRowsStep(int i, uint8_t* buffer, int pitch) { CloseStep(i, display.screen_height, DrawRow, buffer, pitch); }

void CloseColumnsStep(int i, uint8_t* buffer, int pitch) {
  CloseStep(i, display.screen_width, DrawColumn, buffer, pitch);
}

void RunClosingLines(int number, uint8_t* buffer, int pitch) {
  const int half_width = display.screen_width / 2;
  const int half_height = display.screen_height / 2;
  const int limit = number == CloseTopBottom ? half_height : half_width;
  for (int i = 0; i < limit; i += 2) {
    Pause();
    if (number == CloseSides) CloseColumnsStep(i, buffer, pitch);
    if (number == CloseTopBottom) CloseRowsStep(i, buffer, pitch);
    if (number == CloseAll) {
      // The rows finish first and start again from the edges while the columns go on.
      if (half_height > 0) CloseRowsStep(i % half_height, buffer, pitch);
      CloseColumnsStep(i, buffer, pitch);
    }
  }
}

void RunDissolve(uint8_t* buffer, int pitch) {
  const int w = display.screen_width;
  const int h = display.screen_height;
  if (w <= 0 || h <= 0) return;
  const long dots = 4L * w * h;
  for (long n = 0; n <= dots; ++n) {
    const int y = std::rand() % h;
    const int x = std::rand() % w;
    if (display.bits_per_pixel == 8) PlotPixel8(x, y, 0, buffer, pitch);
    if (display.bits_per_pixel == 16) PlotPixel16(x, y, 0, buffer, pitch);
  }
}

// Orders a run's ends and cuts it to [low, high]; false when nothing of it is left.
bool ClipRun(int* a, int* b, int low, int high) {
  if (*b < *a) std::swap(*a, *b);
  if (*a > high || *b < low) return false;
  *a = std::max(*a, low);
  *b = std::min(*b, high);
  return true;
}

}  // namespace

int ScreenTransition(int number, uint8_t* buffer, int pitch) {
  // Unsigned comparison turns negative numbers away too.
  if (static_cast<unsigned>(number) > FadeToGreen) return 1;
  switch (number) {
    case CloseSides:
    case CloseTopBottom:
    case CloseAll:
      RunClosingLines(number, buffer, pitch);  // the line primitives draw nothing into a null buffer
      break;
    case Dissolve:
      if (buffer != nullptr) RunDissolve(buffer, pitch);
      break;
    default:
      RunFade(number);
  }
  return 1;
}

void DrawHLine8(int x1, int x2, int y, int color, uint8_t* buffer, int pitch) {
  if (buffer == nullptr || y > display.clip_max_y || y < display.clip_min_y) return;
  if (!ClipRun(&x1, &x2, display.clip_min_x, display.clip_max_x)) return;
  std::memset(buffer + static_cast<ptrdiff_t>(y) * pitch + x1, color & 0xFF, x2 - x1 + 1);
}

void DrawVLine8(int y1, int y2, int x, int color, uint8_t* buffer, int pitch) {
  if (buffer == nullptr || x > display.clip_max_x || x < display.clip_min_x) return;
  if (!ClipRun(&y1, &y2, display.clip_min_y, display.clip_max_y)) return;
  uint8_t* pixel = buffer + static_cast<ptrdiff_t>(y1) * pitch + x;
  for (int y = y1; y <= y2; ++y, pixel += pitch) *pixel = static_cast<uint8_t>(color);
}

void DrawHLine16(int x1, int x2, int y, int color, uint8_t* buffer, int pitch) {
  if (buffer == nullptr || y > display.clip_max_y || y < display.clip_min_y) return;
  if (!ClipRun(&x1, &x2, display.clip_min_x, display.clip_max_x)) return;
  auto* units = reinterpret_cast<uint16_t*>(buffer);
  FillWords16(units + static_cast<ptrdiff_t>(y) * (pitch >> 1) + x1, static_cast<uint16_t>(color), x2 - x1 + 1);
}

void DrawVLine16(int y1, int y2, int x, int color, uint8_t* buffer, int pitch) {
  if (buffer == nullptr || x > display.clip_max_x || x < display.clip_min_x) return;
  if (!ClipRun(&y1, &y2, display.clip_min_y, display.clip_max_y)) return;
  const ptrdiff_t units_per_row = (pitch & ~1) / 2;
  uint16_t* unit = reinterpret_cast<uint16_t*>(buffer) + static_cast<ptrdiff_t>(y1) * (pitch >> 1) + x;
  for (int y = y1; y <= y2; ++y, unit += units_per_row) *unit = static_cast<uint16_t>(color);
}

void FillWords16(uint16_t* destination, uint16_t value, int count) {
  if (destination == nullptr || count <= 0) return;
  std::fill(destination, destination + count, value);
}
