// The platform probe: display mode, flip chain, locks, fills, clipping, colour keys, palettes,
// flips and messages, each result written as "name value".
#include "platform_probe.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "ddraw.h"

namespace {

struct Probe {
  std::string text;
  void Line(const char* name, long long value) {
    char line[128];
    std::snprintf(line, sizeof line, "%s %lld\n", name, value);
    text += line;
  }
  void Result(const char* name, HRESULT result) {
    char line[128];
    std::snprintf(line, sizeof line, "%s 0x%08lx\n", name, static_cast<unsigned long>(static_cast<DWORD>(result)));
    text += line;
  }
};

DDSURFACEDESC2 EmptyDesc() {
  DDSURFACEDESC2 desc;
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof desc;
  return desc;
}

// The pixel at (x, y) of an 8-bit surface, or -1 when it cannot be locked.
int PixelAt(LPDIRECTDRAWSURFACE7 surface, int x, int y) {
  DDSURFACEDESC2 desc = EmptyDesc();
  if (FAILED(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) return -1;
  const int value = static_cast<uint8_t*>(desc.lpSurface)[y * desc.lPitch + x];
  surface->Unlock(nullptr);
  return value;
}

HRESULT Fill(LPDIRECTDRAWSURFACE7 surface, DWORD color, RECT* rect) {
  DDBLTFX fx;
  std::memset(&fx, 0, sizeof fx);
  fx.dwSize = sizeof fx;
  fx.dwFillColor = color;
  return surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

LPDIRECTDRAWSURFACE7 OffScreen(LPDIRECTDRAW7 direct_draw, int width, int height) {
  DDSURFACEDESC2 desc = EmptyDesc();
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.dwWidth = width;
  desc.dwHeight = height;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  LPDIRECTDRAWSURFACE7 surface = nullptr;
  direct_draw->CreateSurface(&desc, &surface, nullptr);
  return surface;
}

void ProbeWindow(Probe& probe, HWND window, const char* when) {
  RECT rect{};
  GetWindowRect(window, &rect);
  std::string name = std::string("window ") + when;
  probe.Line((name + " width").c_str(), rect.right - rect.left);
  probe.Line((name + " height").c_str(), rect.bottom - rect.top);
}

void ProbeSurfaces(Probe& probe, LPDIRECTDRAWSURFACE7 primary, LPDIRECTDRAWSURFACE7 back) {
  DDPIXELFORMAT format;
  std::memset(&format, 0, sizeof format);
  format.dwSize = sizeof format;
  probe.Result("GetPixelFormat", primary->GetPixelFormat(&format));
  probe.Line("pixel format bits", format.dwRGBBitCount);
  probe.Line("pixel format palette indexed", (format.dwFlags & DDPF_PALETTEINDEXED8) != 0);

  DDSURFACEDESC2 desc = EmptyDesc();
  probe.Result("Lock back", back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
  probe.Line("lock width", desc.dwWidth);
  probe.Line("lock height", desc.dwHeight);
  probe.Line("lock pitch at least width", desc.lPitch >= 640);
  probe.Line("lock memory given", desc.lpSurface != nullptr);
  DDSURFACEDESC2 again = EmptyDesc();
  const HRESULT second = back->Lock(nullptr, &again, DDLOCK_WAIT, nullptr);
  probe.Line("Lock back again fails", FAILED(second));
  if (SUCCEEDED(second)) back->Unlock(nullptr);
  probe.Result("Unlock back", back->Unlock(nullptr));
  probe.Result("Unlock back again", back->Unlock(nullptr));
}

void ProbeFillsAndClipping(Probe& probe, LPDIRECTDRAW7 direct_draw, LPDIRECTDRAWSURFACE7 back) {
  probe.Result("fill whole back", Fill(back, 7, nullptr));
  probe.Line("pixel after fill", PixelAt(back, 639, 479));
  RECT outside = {600, 400, 700, 500};
  probe.Result("fill past the edge without clipper", Fill(back, 9, &outside));
  probe.Line("pixel inside after fill past the edge", PixelAt(back, 620, 420));

  LPDIRECTDRAWCLIPPER clipper = nullptr;
  probe.Result("CreateClipper", direct_draw->CreateClipper(0, &clipper, nullptr));
  std::vector<char> block(sizeof(RGNDATAHEADER) + sizeof(RECT));
  auto* region = reinterpret_cast<RGNDATA*>(block.data());
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = 1;
  region->rdh.nRgnSize = sizeof(RECT);
  const RECT screen = {0, 0, 640, 480};
  region->rdh.rcBound = screen;
  std::memcpy(region->Buffer, &screen, sizeof screen);
  probe.Result("SetClipList", clipper->SetClipList(region, 0));
  probe.Result("SetClipper", back->SetClipper(clipper));
  probe.Result("fill past the edge with clipper", Fill(back, 11, &outside));
  probe.Line("pixel inside after clipped fill", PixelAt(back, 620, 420));
  probe.Line("pixel left of it", PixelAt(back, 599, 420));

  LPDIRECTDRAWSURFACE7 sprite = OffScreen(direct_draw, 8, 8);
  probe.Line("offscreen created", sprite != nullptr);
  if (sprite) {
    Fill(sprite, 0, nullptr);
    RECT dot = {2, 2, 4, 4};
    Fill(sprite, 5, &dot);
    DDCOLORKEY key = {0, 0};
    probe.Result("SetColorKey", sprite->SetColorKey(DDCKEY_SRCBLT, &key));
    RECT target = {636, 10, 644, 18};  // half past the right edge
    probe.Result("keyed blit past the edge", back->Blt(&target, sprite, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr));
    probe.Line("keyed blit keeps the key colour's pixel", PixelAt(back, 636, 10));
    probe.Line("keyed blit draws the dot", PixelAt(back, 638, 12));
    probe.Result("BltFast keyed", back->BltFast(100, 100, sprite, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT));
    probe.Line("BltFast keeps the key colour's pixel", PixelAt(back, 100, 100));
    probe.Line("BltFast draws the dot", PixelAt(back, 102, 102));
    sprite->Release();
  }
  back->SetClipper(nullptr);
  probe.Line("clipper released last", static_cast<long long>(clipper->Release()));
}

void ProbePalette(Probe& probe, LPDIRECTDRAW7 direct_draw, LPDIRECTDRAWSURFACE7 primary) {
  PALETTEENTRY entries[256];
  for (int i = 0; i < 256; ++i) entries[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), 3, PC_NOCOLLAPSE};
  LPDIRECTDRAWPALETTE palette = nullptr;
  probe.Result("CreatePalette", direct_draw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr));
  if (!palette) return;
  probe.Result("SetPalette", primary->SetPalette(palette));
  PALETTEENTRY red = {255, 0, 0, 0};
  probe.Result("SetEntries", palette->SetEntries(0, 1, 1, &red));
  PALETTEENTRY read[3];
  std::memset(read, 0, sizeof read);
  probe.Result("GetEntries", palette->GetEntries(0, 0, 3, read));
  for (int i = 0; i < 3; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "entry %d", i);
    probe.Line(name, (read[i].peRed << 24) | (read[i].peGreen << 16) | (read[i].peBlue << 8) | read[i].peFlags);
  }
  palette->Release();  // the surface keeps its own reference
}

void ProbeFlip(Probe& probe, LPDIRECTDRAWSURFACE7 primary, LPDIRECTDRAWSURFACE7 back) {
  Fill(primary, 1, nullptr);
  Fill(back, 2, nullptr);
  probe.Result("Flip", primary->Flip(nullptr, DDFLIP_WAIT));
  probe.Line("front after flip", PixelAt(primary, 5, 5));
  probe.Line("back after flip", PixelAt(back, 5, 5));
  DDSCAPS2 caps{};
  caps.dwCaps = DDSCAPS_BACKBUFFER;
  LPDIRECTDRAWSURFACE7 attached = nullptr;
  probe.Result("GetAttachedSurface after flip", primary->GetAttachedSurface(&caps, &attached));
  probe.Line("same back surface", attached == back);
  if (attached) attached->Release();
}

void ProbeMessages(Probe& probe, HWND window) {
  MSG message;
  // Whatever the system queued (paint, activation) goes to the window procedure first.
  for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&message);
  const UINT mine = WM_USER + 1;
  probe.Line("PeekMessage on an empty queue", PeekMessageA(&message, nullptr, mine, mine, PM_REMOVE));
  PostMessageA(window, mine, 2, 3);
  probe.Line("PeekMessage without removing", PeekMessageA(&message, nullptr, mine, mine, PM_NOREMOVE));
  probe.Line("message", message.message - WM_USER);
  probe.Line("PeekMessage removing", PeekMessageA(&message, nullptr, mine, mine, PM_REMOVE));
  probe.Line("wparam lparam", static_cast<long long>(message.wParam * 10 + message.lParam));
  probe.Line("queue empty again", !PeekMessageA(&message, nullptr, mine, mine, PM_REMOVE));
}

// The 16-bit mode: its pixel format, as the library reads it to pack colours.
void ProbeSixteenBitMode(Probe& probe, HWND window) {
  LPDIRECTDRAW7 direct_draw = nullptr;
  if (FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<LPVOID*>(&direct_draw), IID_IDirectDraw7, nullptr))) return;
  direct_draw->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE);
  probe.Result("SetDisplayMode 16", direct_draw->SetDisplayMode(640, 480, 16, 0, 0));
  DDSURFACEDESC2 desc = EmptyDesc();
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  LPDIRECTDRAWSURFACE7 primary = nullptr;
  probe.Result("CreateSurface primary 16", direct_draw->CreateSurface(&desc, &primary, nullptr));
  if (primary) {
    DDPIXELFORMAT format;
    std::memset(&format, 0, sizeof format);
    format.dwSize = sizeof format;
    probe.Result("GetPixelFormat 16", primary->GetPixelFormat(&format));
    probe.Line("16 bits", format.dwRGBBitCount);
    probe.Line("16 flags rgb", (format.dwFlags & DDPF_RGB) != 0);
    probe.Line("16 flags palette indexed", (format.dwFlags & DDPF_PALETTEINDEXED8) != 0);
    probe.Line("16 red mask", format.dwRBitMask);
    probe.Line("16 green mask", format.dwGBitMask);
    probe.Line("16 blue mask", format.dwBBitMask);
    primary->Release();
  }
  direct_draw->RestoreDisplayMode();
  direct_draw->Release();
}

// The messages of interest a window procedure saw, in order, as letters.
std::string window_story;

LRESULT CALLBACK StoryWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) window_story += 'c';
  if (message == WM_CLOSE) window_story += 'x';
  if (message == WM_DESTROY) window_story += 'd';
  return DefWindowProcA(window, message, wparam, lparam);
}

// A window's life as the game lives it: a posted WM_DESTROY (the quit request) reaches the
// procedure through the queue; WM_CLOSE left to DefWindowProcA destroys the window; the quit
// message carries its exit code; time runs forward; an untouched key is up.
void ProbeWindowLife(Probe& probe) {
  window_story.clear();
  WNDCLASSA window_class;
  std::memset(&window_class, 0, sizeof window_class);
  window_class.lpfnWndProc = StoryWindowProc;
  window_class.lpszClassName = "VORKPROBESTORY";
  probe.Line("RegisterClass succeeds", RegisterClassA(&window_class) != 0);
  HWND window = CreateWindowExA(0, "VORKPROBESTORY", "story", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, nullptr,
                                nullptr);
  probe.Line("second window created", window != nullptr);
  if (!window) return;
  MSG message;
  PostMessageA(window, WM_DESTROY, 0, 0);
  for (int i = 0; i < 1000 && PeekMessageA(&message, window, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&message);
  SendMessageA(window, WM_CLOSE, 0, 0);
  probe.text += "window story " + window_story + "\n";
  PostQuitMessage(7);
  bool quit_seen = false;
  for (int i = 0; i < 1000 && !quit_seen && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (message.message == WM_QUIT) quit_seen = true;
    else DispatchMessageA(&message);
  }
  probe.Line("quit message seen", quit_seen);
  probe.Line("quit exit code", quit_seen ? static_cast<long long>(message.wParam) : -1);
  const DWORD first = GetTickCount();
  Sleep(20);
  probe.Line("time runs forward across Sleep(20)", GetTickCount() - first >= 15);
  probe.Line("F12 down", (GetAsyncKeyState(VK_F12) & 0x8000) != 0);
}

}  // namespace

std::string RunPlatformProbe(HWND window) {
  Probe probe;
  ProbeWindow(probe, window, "before");
  LPDIRECTDRAW7 direct_draw = nullptr;
  probe.Result("DirectDrawCreateEx",
               DirectDrawCreateEx(nullptr, reinterpret_cast<LPVOID*>(&direct_draw), IID_IDirectDraw7, nullptr));
  if (!direct_draw) return probe.text;
  probe.Result("SetCooperativeLevel", direct_draw->SetCooperativeLevel(
                                          window, DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE |
                                                      DDSCL_ALLOWMODEX | DDSCL_MULTITHREADED));
  probe.Result("SetDisplayMode", direct_draw->SetDisplayMode(640, 480, 8, 0, 0));
  ProbeWindow(probe, window, "after mode");

  DDSURFACEDESC2 desc = EmptyDesc();
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  desc.dwBackBufferCount = 1;
  LPDIRECTDRAWSURFACE7 primary = nullptr;
  probe.Result("CreateSurface primary", direct_draw->CreateSurface(&desc, &primary, nullptr));
  LPDIRECTDRAWSURFACE7 back = nullptr;
  if (primary) {
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    probe.Result("GetAttachedSurface", primary->GetAttachedSurface(&caps, &back));
  }
  if (primary && back) {
    ProbeSurfaces(probe, primary, back);
    ProbeFillsAndClipping(probe, direct_draw, back);
    ProbePalette(probe, direct_draw, primary);
    ProbeFlip(probe, primary, back);
  }
  ProbeMessages(probe, window);
  if (back) back->Release();
  if (primary) primary->Release();
  probe.Result("RestoreDisplayMode", direct_draw->RestoreDisplayMode());
  direct_draw->Release();
  ProbeSixteenBitMode(probe, window);
  ProbeWindowLife(probe);
  return probe.text;
}
