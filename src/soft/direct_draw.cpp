// DirectDraw in software: the display object, surfaces in ordinary memory, palettes, clippers,
// colour fills, plain, stretched and colour-keyed blits clipped to a clip list, and page flips
// that hand the finished frame to the host.
#include <algorithm>
#include <cstring>
#include <vector>

#include "ddraw.h"
#include "soft/device_contexts.h"
#include "soft/direct_draw.h"
#include "soft/faults.h"
#include "soft/host.h"
#include "soft/soft_windows.h"

const GUID IID_IDirectDraw7 = {0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};

namespace {

// Size of the desktop that a windowed primary surface covers.
constexpr int DESKTOP_WIDTH = 1024;
constexpr int DESKTOP_HEIGHT = 768;
// Largest surface side accepted.
constexpr int MAX_SIDE = 8192;
// Extra bytes at the end of every row, so that code assuming pitch == width shows up in tests.
constexpr int ROW_SLACK = 32;
// A restored surface's old contents are gone; it comes back filled with this byte, so that code
// showing a surface it did not redraw after a loss shows up in tests.
constexpr uint8_t RESTORED_FILL = 0xCD;

int live_objects;
// Colour depth of the desktop that windowed primary surfaces share.
int desktop_bits = 8;

struct SoftDirectDraw;
struct SoftSurface;

// Reference counting shared by every object; an object deletes itself at zero.
template <typename Interface>
struct Counted : Interface {
  ULONG references = 1;
  SoftDirectDraw* owner = nullptr;

  Counted() { ++live_objects; }
  ~Counted() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override;
};

struct SoftClipper final : Counted<IDirectDrawClipper> {
  std::vector<RECT> rects;
  HWND window = nullptr;

  HRESULT STDMETHODCALLTYPE GetClipList(LPRECT, LPRGNDATA clip_list, LPDWORD size) override;
  HRESULT STDMETHODCALLTYPE GetHWnd(HWND* out) override {
    if (!out) return DDERR_INVALIDPARAMS;
    *out = window;
    return DD_OK;
  }
  HRESULT STDMETHODCALLTYPE IsClipListChanged(BOOL* changed) override {
    if (changed) *changed = FALSE;
    return DD_OK;
  }
  HRESULT STDMETHODCALLTYPE SetClipList(LPRGNDATA clip_list, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE SetHWnd(DWORD, HWND handle) override {
    if (FaultHits(PlatformCall::SetHWnd)) return DDERR_GENERIC;
    window = handle;
    return DD_OK;
  }
  // The rectangles a blit may touch now: the window's rectangle when bound to one.
  std::vector<RECT> CurrentRects() const;
};

struct SoftPalette final : Counted<IDirectDrawPalette> {
  DWORD caps = 0;
  PALETTEENTRY entries[256] = {};

  HRESULT STDMETHODCALLTYPE GetCaps(LPDWORD out) override {
    if (!out) return DDERR_INVALIDPARAMS;
    *out = caps;
    return DD_OK;
  }
  HRESULT STDMETHODCALLTYPE GetEntries(DWORD, DWORD base, DWORD count, LPPALETTEENTRY out) override {
    if (!out || base > 256 || count > 256 - base) return DDERR_INVALIDPARAMS;
    std::memcpy(out, entries + base, count * sizeof(PALETTEENTRY));
    return DD_OK;
  }
  HRESULT STDMETHODCALLTYPE SetEntries(DWORD, DWORD start, DWORD count, LPPALETTEENTRY in) override;
};

struct SoftSurface final : Counted<IDirectDrawSurface7> {
  DWORD caps = 0;
  int width = 0;
  int height = 0;
  int bits_per_pixel = 8;
  int pitch = 0;
  std::vector<uint8_t> memory;
  bool locked = false;
  bool lost = false;
  bool has_source_key = false;
  DDCOLORKEY source_key = {};
  SoftClipper* clipper = nullptr;
  SoftPalette* palette = nullptr;
  SoftSurface* back_buffer = nullptr;  // the primary's flip chain
  SoftSurface* front = nullptr;        // the back buffer's primary
  std::vector<uint8_t> scratch;        // copy of the source rows of a blit within this surface
  HDC dc = nullptr;                    // the device context handed out by GetDC, while it is out

  ~SoftSurface() override;
  int BytesPerPixel() const { return bits_per_pixel == 8 ? 1 : 2; }
  uint8_t* Row(int y) { return memory.data() + static_cast<size_t>(y) * pitch; }
  bool IsPrimary() const { return (caps & DDSCAPS_PRIMARYSURFACE) != 0; }
  // Display memory is lost with the display; system memory never is.
  bool InDisplayMemory() const { return (caps & DDSCAPS_SYSTEMMEMORY) == 0; }
  // Makes a lost surface usable again, its contents undefined.
  void Regain();
  RECT Bounds() const { return RECT{0, 0, width, height}; }
  HRESULT Usable();

  HRESULT STDMETHODCALLTYPE Blt(LPRECT dest_rect, LPDIRECTDRAWSURFACE7 source, LPRECT source_rect, DWORD flags,
                                LPDDBLTFX fx) override;
  HRESULT STDMETHODCALLTYPE BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE7 source, LPRECT source_rect,
                                    DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE7, DWORD) override;
  HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS2 wanted, LPDIRECTDRAWSURFACE7* out) override;
  HRESULT STDMETHODCALLTYPE GetCaps(LPDDSCAPS2 out) override {
    if (!out) return DDERR_INVALIDPARAMS;
    *out = DDSCAPS2{};
    out->dwCaps = caps;
    return DD_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClipper(LPDIRECTDRAWCLIPPER* out) override {
    if (!out) return DDERR_INVALIDPARAMS;
    *out = clipper;
    if (!clipper) return DDERR_NOCLIPLIST;
    clipper->AddRef();
    return DD_OK;
  }
  HRESULT STDMETHODCALLTYPE GetColorKey(DWORD flags, LPDDCOLORKEY key) override {
    if (!key || flags != DDCKEY_SRCBLT) return DDERR_INVALIDPARAMS;
    if (!has_source_key) return DDERR_NOTFOUND;
    *key = source_key;
    return DD_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) override;
  HRESULT STDMETHODCALLTYPE GetPalette(LPDIRECTDRAWPALETTE* out) override {
    if (!out) return DDERR_INVALIDPARAMS;
    *out = palette;
    if (!palette) return DDERR_NOPALETTEATTACHED;
    palette->AddRef();
    return DD_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPixelFormat(LPDDPIXELFORMAT format) override;
  HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC2 desc) override;
  HRESULT STDMETHODCALLTYPE IsLost() override { return lost ? DDERR_SURFACELOST : DD_OK; }
  HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD, HANDLE) override;
  HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;
  HRESULT STDMETHODCALLTYPE Restore() override;
  HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER new_clipper) override;
  HRESULT STDMETHODCALLTYPE SetColorKey(DWORD flags, LPDDCOLORKEY key) override {
    if (flags != DDCKEY_SRCBLT) return DDERR_UNSUPPORTED;
    has_source_key = key != nullptr;
    if (key) source_key = *key;
    return DD_OK;
  }
  HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE new_palette) override;
  HRESULT STDMETHODCALLTYPE Unlock(LPRECT) override {
    if (!locked) return DDERR_NOTLOCKED;
    locked = false;
    return DD_OK;
  }
};

struct SoftDirectDraw final : Counted<IDirectDraw7> {
  HWND window = nullptr;
  DWORD cooperative_flags = 0;
  int mode_width = 0;  // 0 until SetDisplayMode
  int mode_height = 0;
  int mode_bits = desktop_bits;  // the desktop's depth until SetDisplayMode
  SoftSurface* primary = nullptr;
  std::vector<IUnknown*> children;  // every object made by this one and still alive

  ~SoftDirectDraw() override;
  bool Exclusive() const { return (cooperative_flags & DDSCL_EXCLUSIVE) != 0; }
  void Adopt(IUnknown* child) { children.push_back(child); }
  void Forget(IUnknown* child) { children.erase(std::remove(children.begin(), children.end(), child), children.end()); }
  void Present();
  void MarkAllLost();

  HRESULT STDMETHODCALLTYPE CreateClipper(DWORD, LPDIRECTDRAWCLIPPER* out, IUnknown*) override;
  HRESULT STDMETHODCALLTYPE CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* out,
                                          IUnknown*) override;
  HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* out, IUnknown*) override;
  HRESULT STDMETHODCALLTYPE GetDisplayMode(LPDDSURFACEDESC2 desc) override;
  HRESULT STDMETHODCALLTYPE RestoreDisplayMode() override { return DD_OK; }
  HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND handle, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD width, DWORD height, DWORD bits, DWORD, DWORD) override;
  HRESULT STDMETHODCALLTYPE WaitForVerticalBlank(DWORD, HANDLE) override {
    Host().wait_vertical_blank();
    return DD_OK;
  }
  HRESULT STDMETHODCALLTYPE RestoreAllSurfaces() override;

  SoftSurface* NewSurface(DWORD caps, int width, int height);
};

template <typename Interface>
Counted<Interface>::~Counted() {
  if (owner) owner->Forget(this);
  --live_objects;
}

template <typename Interface>
ULONG Counted<Interface>::Release() {
  if (references == 0) return 0;
  if (--references > 0) return references;
  delete this;
  return 0;
}

// ---- Rectangles ----------------------------------------------------------------------------

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Intersect(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// ---- Clipper -------------------------------------------------------------------------------

HRESULT SoftClipper::SetClipList(LPRGNDATA clip_list, DWORD) {
  if (FaultHits(PlatformCall::SetClipList)) return DDERR_GENERIC;
  if (window) return DDERR_GENERIC;  // a clipper bound to a window takes its list from the window
  rects.clear();
  if (!clip_list) return DD_OK;
  const RGNDATAHEADER& header = clip_list->rdh;
  if (header.iType != RDH_RECTANGLES || header.dwSize < sizeof(RGNDATAHEADER) || header.nCount > 65536)
    return DDERR_INVALIDPARAMS;
  const char* data = clip_list->Buffer;
  for (DWORD i = 0; i < header.nCount; ++i) {
    RECT r;
    std::memcpy(&r, data + i * sizeof(RECT), sizeof r);
    rects.push_back(r);
  }
  return DD_OK;
}

std::vector<RECT> SoftClipper::CurrentRects() const {
  if (!window) return rects;
  RECT window_rect;
  if (!GetWindowRect(window, &window_rect)) return {};
  return {window_rect};
}

HRESULT SoftClipper::GetClipList(LPRECT, LPRGNDATA clip_list, LPDWORD size) {
  if (!size) return DDERR_INVALIDPARAMS;
  std::vector<RECT> current = CurrentRects();
  if (current.empty() && !window) return DDERR_NOCLIPLIST;
  DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER) + current.size() * sizeof(RECT));
  if (!clip_list) {
    *size = needed;
    return DD_OK;
  }
  if (*size < needed) return DDERR_INVALIDPARAMS;
  RGNDATAHEADER& header = clip_list->rdh;
  header = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(current.size()),
                         static_cast<DWORD>(current.size() * sizeof(RECT)), RECT{0, 0, 0, 0}};
  for (size_t i = 0; i < current.size(); ++i) {
    const RECT& r = current[i];
    header.rcBound = i == 0 ? r
                            : RECT{std::min(header.rcBound.left, r.left), std::min(header.rcBound.top, r.top),
                                   std::max(header.rcBound.right, r.right),
                                   std::max(header.rcBound.bottom, r.bottom)};
    std::memcpy(clip_list->Buffer + i * sizeof(RECT), &r, sizeof r);
  }
  return DD_OK;
}

// ---- Palette -------------------------------------------------------------------------------

HRESULT SoftPalette::SetEntries(DWORD, DWORD start, DWORD count, LPPALETTEENTRY in) {
  if (!in || start > 256 || count > 256 - start) return DDERR_INVALIDPARAMS;
  std::memcpy(entries + start, in, count * sizeof(PALETTEENTRY));
  // A palette on the visible surface changes the screen at once, without a flip.
  if (owner && owner->primary && owner->primary->palette == this) owner->Present();
  return DD_OK;
}

// ---- Surface -------------------------------------------------------------------------------

SoftSurface::~SoftSurface() {
  if (clipper) clipper->Release();
  if (palette) palette->Release();
  if (back_buffer) {
    back_buffer->front = nullptr;
    back_buffer->Release();
  }
  if (owner && owner->primary == this) owner->primary = nullptr;
}

// A surface can be drawn to when it is not lost; the host losing the display loses every
// surface in display memory.
HRESULT SoftSurface::Usable() {
  if (owner && Host().display_lost()) owner->MarkAllLost();
  return lost ? DDERR_SURFACELOST : DD_OK;
}

HRESULT SoftSurface::GetPixelFormat(LPDDPIXELFORMAT format) {
  if (FaultHits(PlatformCall::GetPixelFormat)) return DDERR_GENERIC;
  if (!format || format->dwSize != sizeof(DDPIXELFORMAT)) return DDERR_INVALIDPARAMS;
  *format = DDPIXELFORMAT{};
  format->dwSize = sizeof(DDPIXELFORMAT);
  format->dwFlags = DDPF_RGB | (bits_per_pixel == 8 ? DDPF_PALETTEINDEXED8 : 0);
  format->dwRGBBitCount = static_cast<DWORD>(bits_per_pixel);
  if (bits_per_pixel == 16) {
    format->dwRBitMask = 0xF800;
    format->dwGBitMask = 0x07E0;
    format->dwBBitMask = 0x001F;
  } else if (bits_per_pixel == 15) {
    format->dwRBitMask = 0x7C00;
    format->dwGBitMask = 0x03E0;
    format->dwBBitMask = 0x001F;
  }
  return DD_OK;
}

HRESULT SoftSurface::GetSurfaceDesc(LPDDSURFACEDESC2 desc) {
  if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
  std::memset(desc, 0, sizeof *desc);
  desc->dwSize = sizeof(DDSURFACEDESC2);
  desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
  desc->dwWidth = static_cast<DWORD>(width);
  desc->dwHeight = static_cast<DWORD>(height);
  desc->lPitch = pitch;
  desc->ddsCaps.dwCaps = caps;
  desc->ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
  desc->ddpfPixelFormat.dwFlags = DDPF_RGB | (bits_per_pixel == 8 ? DDPF_PALETTEINDEXED8 : 0);
  desc->ddpfPixelFormat.dwRGBBitCount = static_cast<DWORD>(bits_per_pixel);
  return DD_OK;
}

HRESULT SoftSurface::Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD, HANDLE) {
  if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
  if (FaultHits(PlatformCall::Lock)) return DDERR_GENERIC;
  if (HRESULT state = Usable(); FAILED(state)) return state;
  if (locked) return DDERR_SURFACEBUSY;
  RECT area = rect ? *rect : Bounds();
  if (IsEmpty(area) || !Contains(Bounds(), area)) return DDERR_INVALIDRECT;
  GetSurfaceDesc(desc);
  desc->dwFlags |= DDSD_LPSURFACE;
  desc->lpSurface = Row(area.top) + area.left * BytesPerPixel();
  locked = true;
  return DD_OK;
}

void SoftSurface::Regain() {
  if (!lost) return;
  lost = false;
  std::fill(memory.begin(), memory.end(), RESTORED_FILL);
}

// The palette colours are matched against: the surface's own, else the one the screen shows.
const PALETTEENTRY* ShownPalette(const SoftSurface& surface) {
  if (surface.palette) return surface.palette->entries;
  const SoftSurface* screen = surface.owner ? surface.owner->primary : nullptr;
  return screen && screen->palette ? screen->palette->entries : nullptr;
}

// A device context keeps the surface locked until it is released, as on the real platform.
HRESULT SoftSurface::GetDC(HDC* out) {
  if (!out) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (HRESULT state = Usable(); FAILED(state)) return state;
  if (locked) return DDERR_SURFACEBUSY;
  const SoftDrawTarget target{memory.data(), width, height, pitch, bits_per_pixel, ShownPalette(*this)};
  dc = SoftOpenSurfaceDC(target);
  if (!dc) return DDERR_GENERIC;
  locked = true;
  *out = dc;
  return DD_OK;
}

HRESULT SoftSurface::ReleaseDC(HDC released) {
  if (!dc || released != dc) return DDERR_INVALIDPARAMS;
  SoftCloseSurfaceDC(dc);
  dc = nullptr;
  locked = false;
  return DD_OK;
}

HRESULT SoftSurface::Restore() {
  if (Host().display_lost()) return DDERR_WRONGMODE;
  Regain();
  if (back_buffer) back_buffer->Regain();
  return DD_OK;
}

HRESULT SoftSurface::SetClipper(LPDIRECTDRAWCLIPPER new_clipper) {
  if (FaultHits(PlatformCall::SetClipper)) return DDERR_GENERIC;
  auto* incoming = static_cast<SoftClipper*>(new_clipper);
  if (incoming) incoming->AddRef();
  if (clipper) clipper->Release();
  clipper = incoming;
  return DD_OK;
}

HRESULT SoftSurface::SetPalette(LPDIRECTDRAWPALETTE new_palette) {
  if (FaultHits(PlatformCall::SetPalette)) return DDERR_GENERIC;
  if (bits_per_pixel != 8) return DDERR_INVALIDPIXELFORMAT;
  auto* incoming = static_cast<SoftPalette*>(new_palette);
  if (incoming) incoming->AddRef();
  if (palette) palette->Release();
  palette = incoming;
  if (IsPrimary() && owner) owner->Present();
  return DD_OK;
}

HRESULT SoftSurface::GetAttachedSurface(LPDDSCAPS2 wanted, LPDIRECTDRAWSURFACE7* out) {
  if (FaultHits(PlatformCall::GetAttachedSurface)) return DDERR_GENERIC;
  if (!wanted || !out) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (!back_buffer || (wanted->dwCaps & back_buffer->caps) != wanted->dwCaps) return DDERR_NOTFOUND;
  back_buffer->AddRef();
  *out = back_buffer;
  return DD_OK;
}

// The flip swaps the memory of the front and back buffers and shows the new front.
HRESULT SoftSurface::Flip(LPDIRECTDRAWSURFACE7, DWORD) {
  if (!back_buffer) return DDERR_NOTFLIPPABLE;
  if (FaultHits(PlatformCall::Flip)) {
    if (owner) owner->MarkAllLost();
    return DDERR_SURFACELOST;
  }
  if (HRESULT state = Usable(); FAILED(state)) return state;
  if (back_buffer->lost) return DDERR_SURFACELOST;
  if (locked || back_buffer->locked) return DDERR_SURFACEBUSY;
  memory.swap(back_buffer->memory);
  if (owner) owner->Present();
  return DD_OK;
}

// Rows of pixels a blit reads: a surface's memory, or a copy of some of its rows.
struct SourceRows {
  const uint8_t* memory;  // first byte of row first_row
  int pitch;              // bytes from one row to the next
  int64_t first_row;      // surface row held at `memory`

  const uint8_t* Row(int64_t y) const { return memory + (y - first_row) * pitch; }
};

// Sizes and offsets of a blit's rectangles in 64 bits: rectangles may reach the 32-bit limits.
int64_t Width(const RECT& r) { return static_cast<int64_t>(r.right) - r.left; }
int64_t Height(const RECT& r) { return static_cast<int64_t>(r.bottom) - r.top; }

// The source colour key as a range of Pixel values; false when it can hide no Pixel value.
template <typename Pixel>
bool KeyRangeOf(const DDCOLORKEY& key, Pixel* low, Pixel* range) {
  const DWORD largest = static_cast<Pixel>(~Pixel{0});
  if (key.dwColorSpaceLowValue > key.dwColorSpaceHighValue || key.dwColorSpaceLowValue > largest) return false;
  *low = static_cast<Pixel>(key.dwColorSpaceLowValue);
  *range = static_cast<Pixel>(std::min(key.dwColorSpaceHighValue, largest) - key.dwColorSpaceLowValue);
  return true;
}

// Copies `count` pixels taking every STEP-th source pixel; pixels the key hides leave the
// destination as it was. Written as selects over the whole run so that the compiler vectorises it.
template <int STEP, typename Pixel>
void CopyEvery(Pixel* to, const Pixel* from, int64_t count, bool keyed, Pixel low, Pixel range) {
  if (!keyed) {
    for (int64_t i = 0; i < count; ++i) to[i] = from[STEP * i];
    return;
  }
  for (int64_t i = 0; i < count; ++i) {
    const Pixel value = from[STEP * i];
    to[i] = static_cast<Pixel>(value - low) <= range ? to[i] : value;
  }
}

// One row of a blit: the destination pixels take the source's unless the source key hides them.
// Source columns are the nearest-neighbour (x - left) * source_width / dest_width, stepped by a
// quotient and a remainder instead of a division per pixel. Equal widths and exact halvings (the
// game's 116 to 58) take vectorised paths that pick the very same columns.
template <typename Pixel>
void CopyRow(Pixel* dest, const Pixel* source_row, const RECT& span, const RECT& dest_rect, const RECT& source_rect,
             const DDCOLORKEY* key) {
  const int64_t dest_width = Width(dest_rect);
  const int64_t source_width = Width(source_rect);
  const int64_t offset = (static_cast<int64_t>(span.left) - dest_rect.left) * source_width;
  const Pixel* from = source_row + source_rect.left + offset / dest_width;
  Pixel* to = dest + span.left;
  const int64_t count = static_cast<int64_t>(span.right) - span.left;
  Pixel low = 0, range = 0;
  const bool keyed = key && KeyRangeOf(*key, &low, &range);
  if (source_width == dest_width) {
    if (keyed)
      CopyEvery<1>(to, from, count, keyed, low, range);
    else
      std::memcpy(to, from, static_cast<size_t>(count) * sizeof(Pixel));
    return;
  }
  if (source_width == 2 * dest_width) {
    CopyEvery<2>(to, from, count, keyed, low, range);
    return;
  }
  const int64_t step = source_width / dest_width, step_remainder = source_width % dest_width;
  int64_t remainder = offset % dest_width, sx = 0;
  for (int64_t i = 0; i < count; ++i) {
    const Pixel value = from[sx];
    // A mask instead of a branch, which the key's pattern would mispredict.
    const Pixel hide = static_cast<Pixel>(0 - (keyed && static_cast<Pixel>(value - low) <= range));
    to[i] = static_cast<Pixel>((to[i] & hide) | (value & ~hide));
    sx += step;
    remainder += step_remainder;
    if (remainder >= dest_width) {
      remainder -= dest_width;
      ++sx;
    }
  }
}

// Copies the part of dest_rect inside `area`, source coordinates scaled in proportion (nearest).
void CopyArea(SoftSurface& dest, const SourceRows& source, const RECT& dest_rect, const RECT& source_rect,
              const RECT& area, const DDCOLORKEY* key) {
  const int64_t dest_height = Height(dest_rect);
  const int64_t source_height = Height(source_rect);
  const bool same_size = Width(dest_rect) == Width(source_rect) && dest_height == source_height;
  const int bpp = dest.BytesPerPixel();
  for (int64_t y = area.top; y < area.bottom; ++y) {
    const int64_t sy = source_rect.top + (y - dest_rect.top) * source_height / dest_height;
    uint8_t* dest_row = dest.Row(static_cast<int>(y));
    const uint8_t* source_row = source.Row(sy);
    if (same_size && !key) {  // the common case: plain row copies
      const int64_t sx = source_rect.left + (area.left - dest_rect.left);
      std::memcpy(dest_row + static_cast<int64_t>(area.left) * bpp, source_row + sx * bpp,
                  static_cast<size_t>(Width(area) * bpp));
    } else if (bpp == 1) {
      CopyRow(dest_row, source_row, area, dest_rect, source_rect, key);
    } else {
      CopyRow(reinterpret_cast<uint16_t*>(dest_row), reinterpret_cast<const uint16_t*>(source_row), area, dest_rect,
              source_rect, key);
    }
  }
}

// Where a blit reads from. A blit within one surface whose rectangles overlap reads a copy of
// the source rows taken first, so that no pixel is read after the blit has written it.
SourceRows ReadRowsFor(SoftSurface& dest, SoftSurface& source, const RECT& dest_rect, const RECT& source_rect) {
  if (&source != &dest || IsEmpty(Intersect(dest_rect, source_rect)))
    return SourceRows{source.memory.data(), source.pitch, 0};
  const uint8_t* first = source.Row(source_rect.top);
  dest.scratch.assign(first, first + Height(source_rect) * source.pitch);
  return SourceRows{dest.scratch.data(), source.pitch, source_rect.top};
}

void FillArea(SoftSurface& dest, const RECT& area, DWORD color) {
  for (long y = area.top; y < area.bottom; ++y) {
    uint8_t* row = dest.Row(y);
    if (dest.BytesPerPixel() == 1) {
      std::memset(row + area.left, static_cast<int>(color & 0xFF), area.right - area.left);
    } else {
      auto* pixels = reinterpret_cast<uint16_t*>(row);
      std::fill(pixels + area.left, pixels + area.right, static_cast<uint16_t>(color));
    }
  }
}

HRESULT SoftSurface::Blt(LPRECT dest_rect_in, LPDIRECTDRAWSURFACE7 source_in, LPRECT source_rect_in, DWORD flags,
                         LPDDBLTFX fx) {
  if (FaultHits(PlatformCall::Blt)) return DDERR_GENERIC;
  auto* source = static_cast<SoftSurface*>(source_in);
  if (HRESULT state = Usable(); FAILED(state)) return state;
  if (source && source->lost) return DDERR_SURFACELOST;
  if (locked || (source && source->locked)) return DDERR_SURFACEBUSY;
  const RECT dest_rect = dest_rect_in ? *dest_rect_in : Bounds();
  if (IsEmpty(dest_rect)) return DDERR_INVALIDRECT;

  const bool fill = (flags & DDBLT_COLORFILL) != 0;
  if (fill && (!fx || fx->dwSize != sizeof(DDBLTFX))) return DDERR_INVALIDPARAMS;
  RECT source_rect{};
  const DDCOLORKEY* key = nullptr;
  if (!fill) {
    if (!source) return DDERR_INVALIDPARAMS;
    if (source->bits_per_pixel != bits_per_pixel) return DDERR_INVALIDPIXELFORMAT;
    source_rect = source_rect_in ? *source_rect_in : source->Bounds();
    if (IsEmpty(source_rect) || !Contains(source->Bounds(), source_rect)) return DDERR_INVALIDRECT;
    if (flags & DDBLT_KEYSRC) {
      if (!source->has_source_key) return DDERR_INVALIDPARAMS;
      key = &source->source_key;
    }
  }

  // Without a clipper the destination must lie on the surface; with one it is cut to the clip list.
  std::vector<RECT> areas = clipper ? clipper->CurrentRects() : std::vector<RECT>{Bounds()};
  if (!clipper && !Contains(Bounds(), dest_rect)) return DDERR_INVALIDRECT;
  SourceRows rows{};
  if (!fill) rows = ReadRowsFor(*this, *source, dest_rect, source_rect);
  for (const RECT& clip : areas) {
    const RECT area = Intersect(Intersect(dest_rect, clip), Bounds());
    if (IsEmpty(area)) continue;
    if (fill)
      FillArea(*this, area, fx->dwFillColor);
    else
      CopyArea(*this, rows, dest_rect, source_rect, area, key);
  }
  return DD_OK;
}

HRESULT SoftSurface::BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE7 source_in, LPRECT source_rect_in, DWORD flags) {
  auto* source = static_cast<SoftSurface*>(source_in);
  if (!source) return DDERR_INVALIDPARAMS;
  const RECT source_rect = source_rect_in ? *source_rect_in : source->Bounds();
  // In 64 bits: x and y run to 2^32 - 1 and the source rectangle may be anything.
  const int64_t right = static_cast<int64_t>(x) + Width(source_rect);
  const int64_t bottom = static_cast<int64_t>(y) + Height(source_rect);
  if (IsEmpty(source_rect) || right > width || bottom > height) return DDERR_INVALIDRECT;
  RECT dest_rect{static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(right), static_cast<LONG>(bottom)};
  // BltFast cannot clip: it refuses a surface with a clipper attached.
  if (clipper) return DDERR_BLTFASTCANTCLIP;
  RECT source_copy = source_rect;
  return Blt(&dest_rect, source, &source_copy, (flags & DDBLTFAST_SRCCOLORKEY) ? DDBLT_KEYSRC : 0, nullptr);
}

// ---- DirectDraw object ---------------------------------------------------------------------

SoftDirectDraw::~SoftDirectDraw() {
  // Releasing the DirectDraw object destroys whatever it made that is still alive: first cut
  // every link between the children, so that no child releases another one twice.
  std::vector<IUnknown*> orphans;
  orphans.swap(children);
  primary = nullptr;
  for (IUnknown* child : orphans) {
    if (auto* surface = dynamic_cast<SoftSurface*>(child)) {
      surface->owner = nullptr;
      surface->clipper = nullptr;
      surface->palette = nullptr;
      surface->back_buffer = nullptr;
    } else if (auto* palette = dynamic_cast<SoftPalette*>(child)) {
      palette->owner = nullptr;
    } else if (auto* clipper = dynamic_cast<SoftClipper*>(child)) {
      clipper->owner = nullptr;
    }
  }
  for (IUnknown* child : orphans) delete child;
}

void SoftDirectDraw::MarkAllLost() {
  for (IUnknown* child : children)
    if (auto* surface = dynamic_cast<SoftSurface*>(child); surface && surface->InDisplayMemory()) surface->lost = true;
}

void SoftDirectDraw::Present() {
  if (!primary || primary->lost) return;
  static uint8_t black[1024];
  HostFrame frame{primary->memory.data(), primary->width, primary->height, primary->pitch,
                  primary->bits_per_pixel, black};
  if (primary->palette) frame.palette = reinterpret_cast<const uint8_t*>(primary->palette->entries);
  Host().present(frame);
}

SoftSurface* SoftDirectDraw::NewSurface(DWORD caps, int width, int height) {
  auto* surface = new SoftSurface;
  surface->owner = this;
  surface->caps = caps;
  surface->width = width;
  surface->height = height;
  surface->bits_per_pixel = mode_bits;
  surface->pitch = ((width * surface->BytesPerPixel() + 15) & ~15) + ROW_SLACK;
  surface->memory.assign(static_cast<size_t>(surface->pitch) * height, 0);
  Adopt(surface);
  return surface;
}

HRESULT SoftDirectDraw::SetCooperativeLevel(HWND handle, DWORD flags) {
  if (FaultHits(PlatformCall::SetCooperativeLevel)) return DDERR_GENERIC;
  const bool full_screen = (flags & DDSCL_FULLSCREEN) != 0;
  const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
  if (full_screen != exclusive) return DDERR_INVALIDPARAMS;
  if (exclusive && handle == nullptr) return DDERR_INVALIDPARAMS;
  if (!exclusive && !(flags & DDSCL_NORMAL)) return DDERR_INVALIDPARAMS;
  window = handle;
  cooperative_flags = flags;
  return DD_OK;
}

HRESULT SoftDirectDraw::SetDisplayMode(DWORD width, DWORD height, DWORD bits, DWORD, DWORD) {
  if (FaultHits(PlatformCall::SetDisplayMode)) return DDERR_GENERIC;
  if (!Exclusive()) return DDERR_NOEXCLUSIVEMODE;
  if (width == 0 || height == 0 || width > 4096 || height > 4096) return DDERR_INVALIDPARAMS;
  if (bits != 8 && bits != 15 && bits != 16) return DDERR_INVALIDPARAMS;
  mode_width = static_cast<int>(width);
  mode_height = static_cast<int>(height);
  mode_bits = static_cast<int>(bits);
  Host().set_display_mode(mode_width, mode_height, mode_bits);
  // The exclusive window now covers the whole screen of the new mode.
  SoftPlaceWindow(window, RECT{0, 0, mode_width, mode_height});
  return DD_OK;
}

HRESULT SoftDirectDraw::GetDisplayMode(LPDDSURFACEDESC2 desc) {
  if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
  std::memset(desc, 0, sizeof *desc);
  desc->dwSize = sizeof(DDSURFACEDESC2);
  desc->dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  desc->dwWidth = static_cast<DWORD>(mode_width ? mode_width : DESKTOP_WIDTH);
  desc->dwHeight = static_cast<DWORD>(mode_height ? mode_height : DESKTOP_HEIGHT);
  desc->ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
  desc->ddpfPixelFormat.dwRGBBitCount = static_cast<DWORD>(mode_bits);
  return DD_OK;
}

HRESULT SoftDirectDraw::CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* out, IUnknown* outer) {
  if (FaultHits(PlatformCall::CreateSurface)) return DDERR_OUTOFMEMORY;
  if (!desc || !out || outer || desc->dwSize != sizeof(DDSURFACEDESC2) || !(desc->dwFlags & DDSD_CAPS))
    return DDERR_INVALIDPARAMS;
  *out = nullptr;
  const DWORD caps = desc->ddsCaps.dwCaps;
  SoftSurface* surface = nullptr;
  if (caps & DDSCAPS_PRIMARYSURFACE) {
    if (primary) return DDERR_GENERIC;  // one primary surface at a time
    const bool chain = (caps & DDSCAPS_FLIP) != 0;
    if (chain && (!Exclusive() || !(desc->dwFlags & DDSD_BACKBUFFERCOUNT) || desc->dwBackBufferCount != 1))
      return DDERR_INVALIDPARAMS;
    const int width = Exclusive() && mode_width ? mode_width : DESKTOP_WIDTH;
    const int height = Exclusive() && mode_height ? mode_height : DESKTOP_HEIGHT;
    surface = NewSurface(caps | (chain ? DDSCAPS_FRONTBUFFER : 0), width, height);
    if (chain) {
      surface->back_buffer = NewSurface(DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX, width, height);
      surface->back_buffer->front = surface;
    }
    primary = surface;
  } else {
    if ((desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
    if (desc->dwWidth == 0 || desc->dwHeight == 0 || desc->dwWidth > MAX_SIDE || desc->dwHeight > MAX_SIDE)
      return DDERR_INVALIDPARAMS;
    surface = NewSurface(caps, static_cast<int>(desc->dwWidth), static_cast<int>(desc->dwHeight));
    if (desc->dwFlags & DDSD_CKSRCBLT) surface->SetColorKey(DDCKEY_SRCBLT, &desc->ddckCKSrcBlt);
  }
  *out = surface;
  return DD_OK;
}

HRESULT SoftDirectDraw::CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* out, IUnknown* outer) {
  if (FaultHits(PlatformCall::CreatePalette)) return DDERR_GENERIC;
  if (!out || !entries || outer || !(flags & DDPCAPS_8BIT)) return DDERR_INVALIDPARAMS;
  auto* palette = new SoftPalette;
  palette->owner = this;
  palette->caps = flags;
  std::memcpy(palette->entries, entries, sizeof palette->entries);
  Adopt(palette);
  *out = palette;
  return DD_OK;
}

HRESULT SoftDirectDraw::CreateClipper(DWORD, LPDIRECTDRAWCLIPPER* out, IUnknown* outer) {
  if (FaultHits(PlatformCall::CreateClipper)) return DDERR_GENERIC;
  if (!out || outer) return DDERR_INVALIDPARAMS;
  auto* clipper = new SoftClipper;
  clipper->owner = this;
  Adopt(clipper);
  *out = clipper;
  return DD_OK;
}

HRESULT SoftDirectDraw::RestoreAllSurfaces() {
  if (Host().display_lost()) return DDERR_WRONGMODE;
  for (IUnknown* child : children)
    if (auto* surface = dynamic_cast<SoftSurface*>(child)) surface->Regain();
  return DD_OK;
}

}  // namespace

HRESULT WINAPI DirectDrawCreateEx(GUID* device, LPVOID* direct_draw, REFIID iid, IUnknown* outer) {
  if (!direct_draw) return DDERR_INVALIDPARAMS;
  *direct_draw = nullptr;
  if (FaultHits(PlatformCall::DirectDrawCreate)) return DDERR_NODIRECTDRAWHW;
  if (device || outer || !IsEqualGUID(iid, IID_IDirectDraw7)) return DDERR_INVALIDPARAMS;
  auto* object = new SoftDirectDraw;
  *direct_draw = static_cast<IDirectDraw7*>(object);
  return DD_OK;
}

int SoftLiveObjectCount() { return live_objects; }

bool SoftSetDesktopBits(int bits) {
  if (bits != 8 && bits != 15 && bits != 16) return false;
  desktop_bits = bits;
  return true;
}
