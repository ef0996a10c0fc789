// Clipped lines, rectangle fills, palette rotation, blinking palette entries and text output.
#include "display/draw_extras.h"

#include <cstddef>
#include <cstring>

BlinkTable blink_table;

namespace {

// An end point while it is being clipped; wide so that far-off coordinates cannot overflow.
struct ClipPoint {
  int64_t x;
  int64_t y;
};

// v + 1/2 truncated toward zero, for a whole v.
int64_t RoundedSum(int64_t v) { return v < 0 ? v + 1 : v; }

// base + (edge - from) * rise / run, the product in 128 bits and the quotient truncated toward zero.
int64_t Intercept(int64_t base, int64_t edge, int64_t from, int64_t rise, int64_t run, bool rounded) {
  const int64_t sum = base + static_cast<int64_t>(static_cast<__int128>(edge - from) * rise / run);
  return rounded ? RoundedSum(sum) : sum;
}

// The point of the line through `base` and `other` on the row `edge_y`.
ClipPoint OnRow(ClipPoint base, ClipPoint other, int64_t edge_y, bool rounded) {
  return {Intercept(base.x, edge_y, base.y, other.x - base.x, other.y - base.y, rounded), edge_y};
}

// The point of the line through `base` and `other` in the column `edge_x`.
ClipPoint OnColumn(ClipPoint base, ClipPoint other, int64_t edge_x, bool rounded) {
  return {edge_x, Intercept(base.y, edge_x, base.x, other.y - base.y, other.x - base.x, rounded)};
}

bool InsideColumns(int64_t x) { return x >= display.clip_min_x && x <= display.clip_max_x; }
bool InsideRows(int64_t y) { return y >= display.clip_min_y && y <= display.clip_max_y; }

// Moves `base`, whose region code is `code`, onto the clip rectangle's edge along the line to
// `other`. Plain edges round only when `round_edges`; corners always round.
ClipPoint ClipEnd(int code, ClipPoint base, ClipPoint other, bool round_edges) {
  const int64_t edge_y = (code & CLIP_ABOVE) ? display.clip_min_y : display.clip_max_y;
  const int64_t edge_x = (code & CLIP_LEFT) ? display.clip_min_x : display.clip_max_x;
  const bool vertical = (code & (CLIP_ABOVE | CLIP_BELOW)) != 0;
  const bool horizontal = (code & (CLIP_LEFT | CLIP_RIGHT)) != 0;
  if (vertical && horizontal) {
    const ClipPoint on_row = OnRow(base, other, edge_y, true);
    return InsideColumns(on_row.x) ? on_row : OnColumn(base, other, edge_x, true);
  }
  if (vertical) return OnRow(base, other, edge_y, round_edges);
  if (horizontal) return OnColumn(base, other, edge_x, round_edges);
  return base;
}

// Steps a line with the integer error term; `x_step` and `row_step` are in pixel units.
template <typename Pixel>
void StepLine(Pixel* pixel, Pixel color, int64_t dx, int64_t dy, ptrdiff_t x_step, ptrdiff_t row_step) {
  const bool x_major = dx > dy;
  const int64_t major = x_major ? dx : dy;
  const int64_t minor = x_major ? dy : dx;
  const ptrdiff_t major_step = x_major ? x_step : row_step;
  const ptrdiff_t minor_step = x_major ? row_step : x_step;
  int64_t error = 2 * minor - major;
  for (int64_t i = 0; i <= major; ++i) {
    *pixel = color;
    if (error >= 0) {
      pixel += minor_step;
      error -= 2 * major;
    }
    error += 2 * minor;
    pixel += major_step;
  }
}

template <typename Pixel>
void DrawLineOf(int x1, int y1, int x2, int y2, Pixel color, Pixel* buffer, ptrdiff_t row_units) {
  const int64_t dx = static_cast<int64_t>(x2) - x1;
  const int64_t dy = static_cast<int64_t>(y2) - y1;
  Pixel* start = buffer + static_cast<ptrdiff_t>(y1) * row_units + x1;
  StepLine(start, color, dx < 0 ? -dx : dx, dy < 0 ? -dy : dy, dx < 0 ? -1 : 1, dy < 0 ? -row_units : row_units);
}

// Writes one palette entry straight to the display's palette object.
void ShowBlinkColor(int32_t entry_index, int32_t color) {
  if (!display.palette_object) return;
  PALETTEENTRY entry;
  std::memcpy(&entry, &color, sizeof entry);
  display.palette_object->SetEntries(0, static_cast<DWORD>(entry_index), 1, &entry);
}

bool SlotInRange(int slot) { return slot >= 0 && slot < BLINK_SLOTS; }

int AddBlinker(const PaletteBlinker* blinker) {
  if (!blinker || blinker->entry_index < 0 || blinker->entry_index > 255) return -1;
  for (int slot = 0; slot < BLINK_SLOTS; ++slot) {
    PaletteBlinker& entry = blink_table.slots[slot];
    if (entry.phase != 0) continue;
    entry = *blinker;
    entry.tick_count = 0;
    entry.phase = -1;
    ShowBlinkColor(entry.entry_index, entry.second_color);
    return slot;
  }
  return -1;  // the table is full
}

int RemoveBlinker(int slot) {
  if (!SlotInRange(slot) || blink_table.slots[slot].phase == 0) return -1;
  blink_table.slots[slot] = PaletteBlinker{};
  return slot;
}

int ChangeBlinker(const PaletteBlinker* blinker, int slot) {
  if (!blinker || !SlotInRange(slot) || blink_table.slots[slot].phase == 0) return -1;
  PaletteBlinker& entry = blink_table.slots[slot];
  entry.first_color = blinker->first_color;
  entry.second_color = blinker->second_color;
  entry.first_hold = blinker->first_hold;
  entry.second_hold = blinker->second_hold;
  ShowBlinkColor(entry.entry_index, entry.phase == 1 ? entry.first_color : entry.second_color);
  return slot;
}

// One run: every active slot counts a tick and turns to its other colour once its hold is up.
void RunBlinkers() {
  for (PaletteBlinker& entry : blink_table.slots) {
    if (entry.phase == 0) continue;
    const int32_t hold = entry.phase == 1 ? entry.first_hold : entry.second_hold;
    if (++entry.tick_count < hold) continue;
    entry.tick_count = 0;
    entry.phase = -entry.phase;
    ShowBlinkColor(entry.entry_index, entry.phase == 1 ? entry.first_color : entry.second_color);
  }
}

}  // namespace

int ClipCodeOf(int x, int y) {
  int code = 0;
  if (y < display.clip_min_y)
    code |= CLIP_ABOVE;
  else if (y > display.clip_max_y)
    code |= CLIP_BELOW;
  if (x < display.clip_min_x)
    code |= CLIP_LEFT;
  else if (x > display.clip_max_x)
    code |= CLIP_RIGHT;
  return code;
}

int ClipLine(int* x1, int* y1, int* x2, int* y2) {
  if (!x1 || !y1 || !x2 || !y2) return 0;
  const int start_code = ClipCodeOf(*x1, *y1);
  const int end_code = ClipCodeOf(*x2, *y2);
  if (start_code & end_code) return 0;
  if (start_code == 0 && end_code == 0) return 1;
  const ClipPoint start{*x1, *y1};
  const ClipPoint end{*x2, *y2};
  const ClipPoint new_start = ClipEnd(start_code, start, end, true);
  const ClipPoint new_end = ClipEnd(end_code, end, start, false);
  if (!InsideColumns(new_start.x) || !InsideRows(new_start.y) || !InsideColumns(new_end.x) || !InsideRows(new_end.y))
    return 0;
  *x1 = static_cast<int>(new_start.x);
  *y1 = static_cast<int>(new_start.y);
  *x2 = static_cast<int>(new_end.x);
  *y2 = static_cast<int>(new_end.y);
  return 1;
}

int DrawLine8(int x1, int y1, int x2, int y2, int color, uint8_t* buffer, int pitch) {
  DrawLineOf<uint8_t>(x1, y1, x2, y2, static_cast<uint8_t>(color), buffer, pitch);
  return 1;
}

int DrawLine16(int x1, int y1, int x2, int y2, int color, uint8_t* buffer, int pitch) {
  DrawLineOf<uint16_t>(x1, y1, x2, y2, static_cast<uint16_t>(color), reinterpret_cast<uint16_t*>(buffer), pitch >> 1);
  return 1;
}

int DrawClippedLine8(int x1, int y1, int x2, int y2, int color, uint8_t* buffer, int pitch) {
  int cxs = x1, cys = y1, cxe = x2, cye = y2;
  if (ClipLine(&cxs, &cys, &cxe, &cye)) DrawLine8(cxs, cys, cxe, cye, color, buffer, pitch);
  return 1;
}

int DrawClippedLine16(int x1, int y1, int x2, int y2, int color, uint8_t* buffer, int pitch) {
  int cxs = x1, cys = y1, cxe = x2, cye = y2;
  if (ClipLine(&cxs, &cys, &cxe, &cye)) DrawLine16(cxs, cys, cxe, cye, color, buffer, pitch);
  return 1;
}

int FillRect(int left, int top, int right, int bottom, uint32_t color, LPDIRECTDRAWSURFACE7 surface) {
  if (!surface) return 0;
  DDBLTFX ddbltfx;
  std::memset(&ddbltfx, 0, sizeof ddbltfx);
  ddbltfx.dwSize = sizeof ddbltfx;
  ddbltfx.dwFillColor = color;
  RECT fill_area{left, top, right, bottom};
  surface->Blt(&fill_area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &ddbltfx);
  return 1;
}

int RotatePaletteRange(int first, int last) {
  if (!display.palette_object || first < 0 || last > 255 || first > last) return 0;
  const int count = last - first + 1;
  PaletteEntry work_pal[PALETTE_SIZE];
  display.palette_object->GetEntries(0, static_cast<DWORD>(first), static_cast<DWORD>(count), work_pal);
  if (count > 1)
    display.palette_object->SetEntries(0, static_cast<DWORD>(first + 1), static_cast<DWORD>(count - 1), work_pal);
  display.palette_object->SetEntries(0, static_cast<DWORD>(first), 1, &work_pal[count - 1]);
  display.palette_object->GetEntries(0, 0, PALETTE_SIZE, display.palette_entries);
  return 1;
}

int PaletteBlink(int command, const PaletteBlinker* blinker, int slot) {
  if (!blink_table.cleared) {
    std::memset(blink_table.slots, 0, sizeof blink_table.slots);
    blink_table.cleared = 1;
  }
  switch (command) {
    case BLINK_ADD:
      return AddBlinker(blinker);
    case BLINK_REMOVE:
      return RemoveBlinker(slot);
    case BLINK_CHANGE:
      return ChangeBlinker(blinker, slot);
    case BLINK_RUN:
      RunBlinkers();
      return 1;
    default:
      return 1;
  }
}

int DrawTextRGB(const char* text, int x, int y, uint32_t color, LPDIRECTDRAWSURFACE7 surface) {
  if (!text || !surface) return 0;
  HDC xdc = nullptr;
  if (FAILED(surface->GetDC(&xdc))) return 0;
  SetTextColor(xdc, color);
  SetBkMode(xdc, TRANSPARENT);
  const BOOL drawn = TextOutA(xdc, x, y, text, static_cast<int>(std::strlen(text)));
  surface->ReleaseDC(xdc);
  return drawn ? 1 : 0;
}

int DrawTextIndexed(const char* text, int x, int y, int index, LPDIRECTDRAWSURFACE7 surface) {
  if (index < 0 || index >= PALETTE_SIZE) return 0;
  const PaletteEntry& entry = display.palette_entries[index];
  return DrawTextRGB(text, x, y, RGB(entry.peRed, entry.peGreen, entry.peBlue), surface);
}
