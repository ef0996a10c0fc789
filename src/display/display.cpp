// Display start-up and shut-down, off-screen surfaces, clippers, and the palette text file.
#include "display/display.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data_file.h"
#include "display/error_log.h"
#include "display/rgb16.h"

DisplayState display;
HWND main_window = nullptr;
HINSTANCE app_instance = nullptr;

namespace {

constexpr DWORD FULL_SCREEN_LEVEL =
    DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX | DDSCL_MULTITHREADED;

// Bounding rectangle of a clip list starts inverted so that any rectangle widens it.
constexpr LONG BOUND_START = 64000;

void ClearSurfaceDesc() {
  std::memset(&display.surface_desc, 0, sizeof display.surface_desc);
  display.surface_desc.dwSize = sizeof display.surface_desc;
}

bool TakeScreen(int width, int height, int bits_per_pixel, int windowed) {
  if (windowed) return SUCCEEDED(display.direct_draw->SetCooperativeLevel(main_window, DDSCL_NORMAL));
  if (FAILED(display.direct_draw->SetCooperativeLevel(main_window, FULL_SCREEN_LEVEL))) return false;
  return SUCCEEDED(display.direct_draw->SetDisplayMode(width, height, bits_per_pixel, 0, 0));
}

bool CreatePrimary(int windowed) {
  ClearSurfaceDesc();
  DDSURFACEDESC2& desc = display.surface_desc;
  if (windowed) {
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    desc.dwBackBufferCount = 0;
  } else {
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
  }
  display.direct_draw->CreateSurface(&desc, &display.primary_surface, nullptr);
  return display.primary_surface != nullptr;
}

void ReadPixelFormat() {
  DDPIXELFORMAT ddpf{};
  ddpf.dwSize = sizeof ddpf;
  display.primary_surface->GetPixelFormat(&ddpf);
  display.pixel_format = static_cast<int32_t>(ddpf.dwRGBBitCount);
  LogWrite("\npixel format = %d", display.pixel_format);
  if (display.pixel_format == 15) {
    display.pack_rgb16 = PackRgb555;
    LogWrite("\npixel format = 5.5.5");
  } else {
    display.pack_rgb16 = PackRgb565;
    LogWrite("\npixel format = 5.6.5");
  }
}

// Bytes one pixel takes at a colour depth: 15 bits take two bytes, like 16.
int BytesPerPixelAt(int bits) { return (bits + 7) / 8; }

// Whether the primary's pixels are the size the requested depth draws with (the wipes and the
// 16-bit lines size pixels by the requested depth).
bool PrimaryServesDepth(int bits_per_pixel) {
  return display.pixel_format > 0 && BytesPerPixelAt(display.pixel_format) == BytesPerPixelAt(bits_per_pixel);
}

bool CreateBackSurface(int width, int height, int windowed) {
  if (windowed) {
    display.back_surface = CreateSurface(width, height, 0, 0);
    return display.back_surface != nullptr;
  }
  DDSCAPS2 caps{};
  caps.dwCaps = DDSCAPS_BACKBUFFER;
  return SUCCEEDED(display.primary_surface->GetAttachedSurface(&caps, &display.back_surface));
}

bool CreateDisplayPalette(int windowed) {
  std::memset(display.palette_entries, 0, sizeof display.palette_entries);
  LoadPaletteFile(PALETTE_FILE, display.palette_entries);
  if (windowed) {
    // The system keeps the first and last ten colours of a shared desktop palette.
    for (int i = 0; i < 10; ++i) {
      display.palette_entries[i].peFlags = PC_EXPLICIT;
      display.palette_entries[PALETTE_SIZE - 1 - i].peFlags = PC_EXPLICIT;
    }
  }
  const DWORD caps = windowed ? DDPCAPS_8BIT : DDPCAPS_8BIT | DDPCAPS_ALLOW256;
  if (FAILED(display.direct_draw->CreatePalette(caps, display.palette_entries, &display.palette_object, nullptr)))
    return false;
  return SUCCEEDED(display.primary_surface->SetPalette(display.palette_object));
}

bool AttachWindowClipper() {
  if (FAILED(display.direct_draw->CreateClipper(0, &display.window_clipper, nullptr))) return false;
  if (FAILED(display.window_clipper->SetHWnd(0, main_window))) return false;
  return SUCCEEDED(display.primary_surface->SetClipper(display.window_clipper));
}

// Releases an interface the record holds, if any, and forgets it.
template <typename Object>
void ReleaseAndClear(Object*& object) {
  if (object) object->Release();
  object = nullptr;
}

// One number of a palette file, read like "%d": optional blanks, a sign, digits. Only the low
// byte is kept, accumulated as the digits come, so that no length of digits can overflow.
bool ReadPaletteNumber(FILE* file, uint8_t* out) {
  int c = std::fgetc(file);
  while (c != EOF && std::isspace(c)) c = std::fgetc(file);
  const bool negative = c == '-';
  if (c == '-' || c == '+') c = std::fgetc(file);
  if (c == EOF || !std::isdigit(c)) return false;
  unsigned value = 0;
  while (c != EOF && std::isdigit(c)) {
    value = (value * 10 + static_cast<unsigned>(c - '0')) & 0xFF;
    c = std::fgetc(file);
  }
  if (c != EOF) std::ungetc(c, file);
  *out = static_cast<uint8_t>(negative ? (256 - value) & 0xFF : value);
  return true;
}

// The steps of DisplayInit; false at the first that fails.
bool OpenDisplay(int width, int height, int bits_per_pixel, int windowed) {
  if (FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<LPVOID*>(&display.direct_draw), IID_IDirectDraw7,
                                nullptr)))
    return false;
  if (!TakeScreen(width, height, bits_per_pixel, windowed)) return false;
  display.screen_height = height;
  display.screen_width = width;
  display.bits_per_pixel = bits_per_pixel;
  display.windowed = windowed;
  if (!CreatePrimary(windowed)) return false;
  ReadPixelFormat();
  if (!PrimaryServesDepth(bits_per_pixel)) return false;
  if (!CreateBackSurface(width, height, windowed)) return false;
  if (bits_per_pixel == 8 && !CreateDisplayPalette(windowed)) return false;
  if (!windowed) FillSurface(display.primary_surface, 0, nullptr);
  FillSurface(display.back_surface, 0, nullptr);
  display.clip_min_x = 0;
  display.clip_max_x = display.screen_width - 1;
  display.clip_min_y = 0;
  display.clip_max_y = display.screen_height - 1;
  const ClipRect screen_rect{0, 0, display.screen_width, display.screen_height};
  display.back_clipper = AttachClipper(display.back_surface, 1, &screen_rect);
  return !windowed || AttachWindowClipper();
}

}  // namespace

int DisplayInit(int width, int height, int bits_per_pixel, int windowed) {
  if (OpenDisplay(width, height, bits_per_pixel, windowed)) return 1;
  DisplayShutdown();  // a start-up that failed leaves nothing half made behind
  return 0;
}

// The fields are cleared as their objects go, so that a second shut-down, or any use of the
// display after it, finds null objects rather than released ones.
int DisplayShutdown() {
  display.primary_buffer = nullptr;
  display.primary_pitch = 0;
  display.back_buffer = nullptr;
  display.back_pitch = 0;
  ReleaseAndClear(display.back_clipper);
  ReleaseAndClear(display.window_clipper);
  ReleaseAndClear(display.palette_object);
  ReleaseAndClear(display.back_surface);
  ReleaseAndClear(display.primary_surface);
  ReleaseAndClear(display.direct_draw);
  return 1;
}

LPDIRECTDRAWSURFACE7 CreateSurface(int width, int height, uint32_t caps, uint16_t color_key) {
  if (display.direct_draw == nullptr) return nullptr;
  DDSURFACEDESC2 ddsd{};
  ddsd.dwSize = sizeof ddsd;
  ddsd.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  ddsd.dwWidth = static_cast<DWORD>(width);
  ddsd.dwHeight = static_cast<DWORD>(height);
  ddsd.ddsCaps.dwCaps = caps | DDSCAPS_OFFSCREENPLAIN;
  LPDIRECTDRAWSURFACE7 surface = nullptr;
  if (FAILED(display.direct_draw->CreateSurface(&ddsd, &surface, nullptr))) return nullptr;
  DDCOLORKEY key{color_key, color_key};
  surface->SetColorKey(DDCKEY_SRCBLT, &key);
  return surface;
}

LPDIRECTDRAWCLIPPER AttachClipper(LPDIRECTDRAWSURFACE7 surface, int count, const ClipRect* rects) {
  if (display.direct_draw == nullptr || surface == nullptr || count < 0 || (count > 0 && rects == nullptr))
    return nullptr;
  LPDIRECTDRAWCLIPPER clipper = nullptr;
  if (FAILED(display.direct_draw->CreateClipper(0, &clipper, nullptr))) return nullptr;
  const size_t rects_bytes = static_cast<size_t>(count) * sizeof(RECT);
  auto* region = static_cast<RGNDATA*>(std::malloc(sizeof(RGNDATAHEADER) + rects_bytes));
  if (region == nullptr) {
    clipper->Release();
    return nullptr;
  }
  if (count > 0) std::memcpy(region->Buffer, rects, rects_bytes);
  RGNDATAHEADER& header = region->rdh;
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(count);
  header.nRgnSize = static_cast<DWORD>(rects_bytes);
  header.rcBound = RECT{BOUND_START, BOUND_START, -BOUND_START, -BOUND_START};
  for (int i = 0; i < count; ++i) {
    const RECT& r = rects[i];
    if (r.left < header.rcBound.left) header.rcBound.left = r.left;
    if (r.top < header.rcBound.top) header.rcBound.top = r.top;
    if (r.right > header.rcBound.right) header.rcBound.right = r.right;
    if (r.bottom > header.rcBound.bottom) header.rcBound.bottom = r.bottom;
  }
  const bool attached = SUCCEEDED(clipper->SetClipList(region, 0)) && SUCCEEDED(surface->SetClipper(clipper));
  std::free(region);
  // A clipper that could not be set up is released here rather than leaked: nobody else holds it.
  if (!attached) {
    clipper->Release();
    return nullptr;
  }
  return clipper;
}

int LoadPaletteFile(const char* path, PaletteEntry* entries) {
  if (path == nullptr || entries == nullptr) return 0;
  FILE* file = OpenDataFile(path, "r");
  if (file == nullptr) return 0;
  for (int i = 0; i < PALETTE_SIZE; ++i) {
    BYTE* fields[4] = {&entries[i].peRed, &entries[i].peGreen, &entries[i].peBlue, &entries[i].peFlags};
    bool complete = true;
    for (BYTE* field : fields)
      if (!(complete = ReadPaletteNumber(file, field))) break;
    if (!complete) break;  // reading stopped: the rest keep their values
  }
  std::fclose(file);
  return 1;
}

int SavePaletteFile(const char* path, const PaletteEntry* entries) {
  if (path == nullptr || entries == nullptr) return 0;
  FILE* file = OpenDataFile(path, "w");
  if (file == nullptr) return 0;
  for (int i = 0; i < PALETTE_SIZE; ++i)
    std::fprintf(file, "\n%d %d %d %d", entries[i].peRed, entries[i].peGreen, entries[i].peBlue, entries[i].peFlags);
  std::fclose(file);
  return 1;
}

int FillSurface(LPDIRECTDRAWSURFACE7 surface, uint32_t color, const ClipRect* rect) {
  if (surface == nullptr) return 1;
  DDBLTFX ddbltfx{};
  ddbltfx.dwSize = sizeof ddbltfx;
  ddbltfx.dwFillColor = color & 0xFFFF;
  RECT area{};
  if (rect) area = *rect;
  surface->Blt(rect ? &area : nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &ddbltfx);
  return 1;
}
