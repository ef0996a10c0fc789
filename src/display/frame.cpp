// Frame presentation, surface locks, pixel and palette access, and the frame clock.
#include "display/frame.h"

#include <cstddef>
#include <cstring>


FrameClock frame_clock;

namespace {

// Locks a whole surface through display.surface_desc; null when the lock fails.
uint8_t* LockWhole(LPDIRECTDRAWSURFACE7 surface, int32_t* pitch) {
  std::memset(&display.surface_desc, 0, sizeof display.surface_desc);
  display.surface_desc.dwSize = sizeof display.surface_desc;
  if (surface == nullptr) return nullptr;
  surface->Lock(nullptr, &display.surface_desc, DDLOCK_WAIT, nullptr);
  *pitch = display.surface_desc.lPitch;
  return static_cast<uint8_t*>(display.surface_desc.lpSurface);
}

// A lost display: bring back every surface of the DirectDraw object (the off-screen ones too)
// once the display is there again; restored surfaces hold no picture, so the display's own are
// cleared to colour 0. The frame at hand was drawn, at least in part, into lost surfaces, so it
// is not shown: the next frame, drawn whole, is the first one seen.
int RestoreAfterLoss() {
  if (FAILED(display.direct_draw->RestoreAllSurfaces())) return 0;
  if (!display.windowed) FillSurface(display.primary_surface, 0, nullptr);
  FillSurface(display.back_surface, 0, nullptr);
  return 0;
}

// Flips; a flip that fails for another reason is tried again, at most FLIP_ATTEMPTS times, so
// that nothing hangs the game.
int FlipFullScreen() {
  for (int attempt = 0; attempt < FLIP_ATTEMPTS; ++attempt) {
    const HRESULT result = display.primary_surface->Flip(nullptr, DDFLIP_WAIT);
    if (SUCCEEDED(result)) return 1;
    if (result == DDERR_SURFACELOST) return RestoreAfterLoss();
  }
  return 0;
}

int FlipWindowed() {
  RECT dest_rect{};
  GetWindowRect(main_window, &dest_rect);
  dest_rect.left += display.window_offset_x;
  dest_rect.top += display.window_offset_y;
  dest_rect.right = dest_rect.left + display.screen_width;
  dest_rect.bottom = dest_rect.top + display.screen_height;
  const HRESULT result = display.primary_surface->Blt(&dest_rect, display.back_surface, nullptr, DDBLT_WAIT, nullptr);
  if (result == DDERR_SURFACELOST) return RestoreAfterLoss();
  return SUCCEEDED(result) ? 1 : 0;
}

}  // namespace

int FlipPages() {
  if (display.primary_buffer != nullptr || display.back_buffer != nullptr) return 0;
  if (display.primary_surface == nullptr) return 0;
  return display.windowed ? FlipWindowed() : FlipFullScreen();
}

namespace {

// Locks a surface once and publishes its memory and pitch in the given display fields.
uint8_t* LockPublished(LPDIRECTDRAWSURFACE7 surface, uint8_t** buffer, int32_t* published_pitch) {
  if (*buffer != nullptr) return *buffer;  // locks do not nest or count
  int32_t pitch = 0;
  *buffer = LockWhole(surface, &pitch);
  *published_pitch = *buffer ? pitch : 0;
  return *buffer;
}

int UnlockPublished(LPDIRECTDRAWSURFACE7 surface, uint8_t** buffer, int32_t* published_pitch) {
  if (*buffer == nullptr) return 0;
  surface->Unlock(nullptr);
  *buffer = nullptr;
  *published_pitch = 0;
  return 1;
}

}  // namespace

uint8_t* LockBackSurface() {
  return LockPublished(display.back_surface, &display.back_buffer, &display.back_pitch);
}

int UnlockBackSurface() {
  return UnlockPublished(display.back_surface, &display.back_buffer, &display.back_pitch);
}

uint8_t* LockPrimarySurface() {
  return LockPublished(display.primary_surface, &display.primary_buffer, &display.primary_pitch);
}

int UnlockPrimarySurface() {
  return UnlockPublished(display.primary_surface, &display.primary_buffer, &display.primary_pitch);
}

uint8_t* LockSurface(LPDIRECTDRAWSURFACE7 surface, int32_t* pitch_out) {
  int32_t pitch = 0;
  uint8_t* memory = LockWhole(surface, &pitch);
  if (pitch_out) *pitch_out = pitch;
  return memory;
}

int UnlockSurface(LPDIRECTDRAWSURFACE7 surface) {
  if (surface == nullptr) return 0;
  surface->Unlock(nullptr);
  return 1;
}

int WaitVerticalBlank() {
  if (display.direct_draw) display.direct_draw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
  return 1;
}

int PlotPixel8(int x, int y, uint8_t color, uint8_t* buffer, int pitch) {
  buffer[static_cast<ptrdiff_t>(y) * pitch + x] = color;
  return 1;
}

int PlotPixel16(int x, int y, uint16_t color, uint8_t* buffer, int pitch) {
  reinterpret_cast<uint16_t*>(buffer)[static_cast<ptrdiff_t>(y) * (pitch >> 1) + x] = color;
  return 1;
}

int GetPalette(PaletteEntry* out) {
  std::memcpy(out, display.palette_entries, sizeof display.palette_entries);
  return 1;
}

int SetPalette(const PaletteEntry* entries) {
  std::memcpy(display.palette_entries, entries, sizeof display.palette_entries);
  if (display.palette_object) display.palette_object->SetEntries(0, 0, PALETTE_SIZE, display.palette_entries);
  return 1;
}

namespace {

bool IsPaletteIndex(int index) { return index >= 0 && index < PALETTE_SIZE; }

}  // namespace

int GetPaletteEntry(int index, PaletteEntry* out) {
  if (!IsPaletteIndex(index)) return 0;
  *out = display.palette_entries[index];
  return 1;
}

int SetPaletteEntry(int index, const PaletteEntry* entry) {
  if (!IsPaletteIndex(index)) return 0;
  PaletteEntry copy = *entry;
  if (display.palette_object) display.palette_object->SetEntries(0, index, 1, &copy);
  display.palette_entries[index] = *entry;
  return 1;
}

uint32_t GetClock() { return GetTickCount(); }

uint32_t StartClock() {
  frame_clock.clock_start = GetClock();
  return frame_clock.clock_start;
}

// Sleeps through all of the wait but its last millisecond, then reads the clock until the period
// is over: the processor is given away, and the wait still ends on the millisecond the period
// does (a clock that moves one millisecond at each reading ends it at the same reading as a
// wait that only reads). Unsigned subtraction keeps the wait right across the counter's wrap.
uint32_t WaitClock(uint32_t ms) {
  for (uint32_t elapsed = GetClock() - frame_clock.clock_start; elapsed < ms;
       elapsed = GetClock() - frame_clock.clock_start) {
    if (ms - elapsed > 1) Sleep(ms - elapsed - 1);
  }
  return GetClock();
}
