// Feeds arbitrary bytes to the picture reader through a file, as the game reads its pictures,
// then cuts an image and a sprite frame out of whatever loaded and draws the sprite.
#include <cstdint>

#include "display/display.h"
#include "hosts/headless/headless_host.h"
#include "image/bitmap_image.h"
#include "image/sprite.h"
#include "scratch_file.h"

namespace {

LRESULT CALLBACK FuzzWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

// A headless 640x480 8-bit display with a clipped back surface, unless one is open already
// (a test may have opened its own).
void OpenDisplayOnce() {
  if (display.direct_draw != nullptr) return;
  HeadlessStart();
  HeadlessKeepFrames(FrameKeeping::None);
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = FuzzWindowProc;
  window_class.lpszClassName = "FUZZ";
  RegisterClassA(&window_class);
  main_window = CreateWindowExA(0, "FUZZ", "fuzz", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr, nullptr, nullptr);
  DisplayInit(640, 480, 8, 0);
  const ClipRect screen{0, 0, 640, 480};
  display.back_clipper = AttachClipper(display.back_surface, 1, &screen);
}

// Cuts cell (1, 1) of 8x6 and 64x48 pixels from (1, 1) as images, in the bitmap's own depth
// (small, so that a run tries many files; the clipping is the same at any size).
void CutImages(const BitmapFile& bitmap, int bits) {
  const struct {
    int width, height, mode;
  } cuts[] = {{8, 6, 0}, {64, 48, 1}};
  for (const auto& cut : cuts) {
    BitmapImage image{};
    if (!CreateBitmapImage(&image, 0, 0, cut.width, cut.height, bits)) continue;
    if (bits == 8)
      LoadBitmapImage(&image, &bitmap, 1, 1, cut.mode);
    else
      LoadBitmapImageRgb16(&image, &bitmap, 1, 1, cut.mode);
    DestroyBitmapImage(&image);
  }
}

// One 116x60 sprite frame from cell (cell, 1), drawn at half size hanging over the left edge.
void CutSpriteFrame(const BitmapFile& bitmap, int bits, int cell) {
  Sprite sprite{};
  if (CreateSprite(&sprite, -20, 10, 116, 60, 1, 17, DDSCAPS_SYSTEMMEMORY, 0, 8)) {
    if (bits == 8)
      LoadSpriteFrame(&sprite, &bitmap, 0, cell, 1, 0);
    else
      LoadSpriteFrameRgb16(&sprite, &bitmap, 0, cell, 1, 0);
    DrawSpriteScaled(&sprite, 58, 30, display.back_surface);
  }
  DestroySprite(&sprite);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  OpenDisplayOnce();
  static const ScratchFile file("bmp");
  if (!file.Write(data, size)) return 0;
  BitmapFile bitmap{};
  if (LoadBitmapFile(&bitmap, file.path.c_str())) {
    const int bits = bitmap.info_header.biBitCount;
    CutImages(bitmap, bits);
    CutSpriteFrame(bitmap, bits, size > 0 ? data[size - 1] % 3 : 0);
  }
  UnloadBitmapFile(&bitmap);
  HeadlessForgetOpenedFiles();  // each input frees what it allocated, so none looks like a leak
  return 0;
}
