#include "hosts/sdl/window_pixels.h"

#include <vector>

namespace {

// OpenGL's name for the renderer's name string, and its query, declared here: only this one
// call is needed.
constexpr unsigned GL_RENDERER_NAME = 0x1F01;
using GlGetString = const unsigned char* (*)(unsigned name);

SDL_Window* pixels_window = nullptr;  // the window whose pixels frames go to, or null
std::vector<uint32_t> converted_row;  // one frame row in ARGB, reused by every frame

// The window's pixels when they are 32-bit with red, green and blue bytes where ARGB has them.
SDL_Surface* WindowSurface() {
  SDL_Surface* surface = SDL_GetWindowSurface(pixels_window);
  if (surface == nullptr || surface->format->BytesPerPixel != 4) return nullptr;
  const SDL_PixelFormat& format = *surface->format;
  if (format.Rmask != 0x00FF0000u || format.Gmask != 0x0000FF00u || format.Bmask != 0x000000FFu) return nullptr;
  return surface;
}

// Paints black everything of `surface` outside `box`.
void FillBars(SDL_Surface* surface, const ScreenRect& box) {
  const int right = box.x + box.width;
  const int bottom = box.y + box.height;
  const SDL_Rect bars[4] = {{0, 0, surface->w, box.y},
                            {0, bottom, surface->w, surface->h - bottom},
                            {0, box.y, box.x, box.height},
                            {right, box.y, surface->w - right, box.height}};
  SDL_FillRects(surface, bars, 4, 0);
}

// What the window's pixels hold: the whole shown frame, on a surface of this size.
struct DrawnPicture {
  SDL_Surface* surface;  // null: nothing is known to be drawn, draw it all next time
  int surface_width;
  int surface_height;
  int frame_width;
  int frame_height;
  int bits_per_pixel;
};

DrawnPicture drawn;

// True when the window's pixels hold `shown` but for its changed rows: same surface, same frame shape.
bool HoldsAllBut(const DrawnPicture& picture, const SDL_Surface* surface, const ShownFrame& shown) {
  return picture.surface == surface && picture.surface_width == surface->w && picture.surface_height == surface->h &&
         picture.frame_width == shown.width && picture.frame_height == shown.height &&
         picture.bits_per_pixel == shown.bits_per_pixel && shown.width > 0;
}

// The frame `shown` holds, as the platform would hand it over.
HostFrame FrameOf(const ShownFrame& shown) {
  const int bytes_per_pixel = shown.bits_per_pixel == 8 ? 1 : 2;
  return HostFrame{shown.pixels.data(), shown.width, shown.height, shown.width * bytes_per_pixel,
                   shown.bits_per_pixel, shown.palette};
}

// Draws `count` rows of `shown` from `first` into `box` of `surface`; returns the part written.
ScreenRect DrawRows(SDL_Surface* surface, const ShownFrame& shown, PaletteLookup& palette, const ScreenRect& box,
                    int first, int count) {
  if (shown.bits_per_pixel == 8) UpdatePaletteLookup(palette, shown.palette);
  return ScaleFrame(FrameOf(shown), palette.argb, box, first, count, static_cast<uint8_t*>(surface->pixels),
                    surface->pitch, converted_row);
}

}  // namespace

bool RendersInSoftware(SDL_Renderer* renderer) {
  SDL_RendererInfo info;
  if (renderer == nullptr || SDL_GetRendererInfo(renderer, &info) != 0) return false;
  if ((info.flags & SDL_RENDERER_SOFTWARE) != 0) return true;
  if (SDL_strncmp(info.name, "opengl", 6) != 0) return false;  // opengl and opengles2
  auto get_string = reinterpret_cast<GlGetString>(SDL_GL_GetProcAddress("glGetString"));
  if (get_string == nullptr) return false;
  return IsSoftwareRasterizer(reinterpret_cast<const char*>(get_string(GL_RENDERER_NAME)));
}

bool OpenWindowPixels(SDL_Window* window) {
  // The window's own pixels, not a texture of a renderer standing in for them.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  pixels_window = window;
  if (window != nullptr && WindowSurface() != nullptr) return true;
  pixels_window = nullptr;
  return false;
}

void CloseWindowPixels() {
  pixels_window = nullptr;
  drawn = DrawnPicture{};
  converted_row = std::vector<uint32_t>();
}

bool WindowPixelsOpen() { return pixels_window != nullptr; }

void ShowInWindowPixels(const ShownFrame& shown, PaletteLookup& palette) {
  drawn = DrawnPicture{};
  SDL_Surface* surface = pixels_window ? WindowSurface() : nullptr;
  if (surface == nullptr) return;
  ScreenRect box{0, 0, 0, 0};
  if (shown.width > 0) box = FitLetterbox(surface->w, surface->h, shown.width, shown.height);
  FillBars(surface, box);
  DrawRows(surface, shown, palette, box, 0, shown.height);
  SDL_UpdateWindowSurface(pixels_window);
  drawn = DrawnPicture{surface, surface->w, surface->h, shown.width, shown.height, shown.bits_per_pixel};
}

void ShowChangesInWindowPixels(const ShownFrame& shown, PaletteLookup& palette) {
  SDL_Surface* surface = pixels_window ? WindowSurface() : nullptr;
  if (surface == nullptr || !HoldsAllBut(drawn, surface, shown)) {
    ShowInWindowPixels(shown, palette);
    return;
  }
  const ScreenRect box = FitLetterbox(surface->w, surface->h, shown.width, shown.height);
  const ScreenRect written = DrawRows(surface, shown, palette, box, shown.changed_first, shown.changed_count);
  const SDL_Rect changed{written.x, written.y, written.width, written.height};
  if (written.height > 0) SDL_UpdateWindowSurfaceRects(pixels_window, &changed, 1);
}
