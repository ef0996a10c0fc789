// Drawing pictures: a play frame's worth of keyed 116x60 sprites shrunk to 58x30, one keyed
// full-screen 640x480 frame, and DrawBackdrop, each next to memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "display/frame.h"
#include "hosts/headless/headless_host.h"
#include "image/sprite.h"
#include "shell/game_shell.h"

namespace {

// Sprites the game draws in one play frame, about.
constexpr int DRAWS_PER_FRAME = 25;

LRESULT CALLBACK ImageBenchWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

// A headless 640x480 8-bit display with the game's whole-screen clipper on the back surface.
void OpenImageBenchDisplay() {
  HeadlessStart();
  HeadlessKeepFrames(FrameKeeping::None);
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = ImageBenchWindowProc;
  window_class.lpszClassName = "IMAGEBENCH";
  RegisterClassA(&window_class);
  main_window =
      CreateWindowExA(0, "IMAGEBENCH", "bench", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr, nullptr, nullptr);
  DisplayInit(640, 480, 8, 0);
  const ClipRect screen{0, 0, 640, 480};
  display.back_clipper = AttachClipper(display.back_surface, 1, &screen);
}

void CloseImageBenchDisplay() {
  DisplayShutdown();
  display = DisplayState{};
}

// One frame of width x height whose pixels are a third key (0), as drawn sprites are.
void MakePatternedSprite(Sprite* sprite, int width, int height) {
  CreateSprite(sprite, 0, 0, width, height, 1, SPRITE_STILL | SPRITE_VISIBLE, DDSCAPS_SYSTEMMEMORY, 0, 8);
  int32_t pitch = 0;
  uint8_t* frame = LockSurface(sprite->frames[0], &pitch);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) frame[y * pitch + x] = static_cast<uint8_t>((x + y) % 3 ? x + y : 0);
  UnlockSurface(sprite->frames[0]);
}

void BM_ScaledSpritesOfAPlayFrame(benchmark::State& state) {
  OpenImageBenchDisplay();
  Sprite sprite{};
  MakePatternedSprite(&sprite, 116, 60);
  for (auto _ : state) {
    for (int i = 0; i < DRAWS_PER_FRAME; ++i) {
      sprite.x = 20.5f + 23.0f * i;
      sprite.y = 10.0f + 17.0f * i;
      DrawSpriteScaled(&sprite, 58, 30, display.back_surface);
    }
  }
  state.SetBytesProcessed(state.iterations() * DRAWS_PER_FRAME * 58 * 30);
  DestroySprite(&sprite);
  CloseImageBenchDisplay();
}
BENCHMARK(BM_ScaledSpritesOfAPlayFrame);

void BM_KeyedFullScreenSprite(benchmark::State& state) {
  OpenImageBenchDisplay();
  Sprite sprite{};
  MakePatternedSprite(&sprite, 640, 480);
  for (auto _ : state) DrawSprite(&sprite, display.back_surface);
  state.SetBytesProcessed(state.iterations() * 640 * 480);
  DestroySprite(&sprite);
  CloseImageBenchDisplay();
}
BENCHMARK(BM_KeyedFullScreenSprite);

void BM_DrawBackdrop(benchmark::State& state) {
  OpenImageBenchDisplay();
  CreateBitmapImage(&backdrop, 0, 0, 640, 480, 8);
  for (int i = 0; i < 640 * 480; ++i) backdrop.pixels[i] = static_cast<uint8_t>(i * 7);
  backdrop.flags |= IMAGE_LOADED;
  for (auto _ : state) DrawBackdrop();
  state.SetBytesProcessed(state.iterations() * 640 * 480);
  DestroyBitmapImage(&backdrop);
  CloseImageBenchDisplay();
}
BENCHMARK(BM_DrawBackdrop);

// memcpy of `bytes` bytes: the floor each drawing above is compared with.
void BM_MemcpyOf(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0));
  std::vector<uint8_t> source(bytes, 3), target(bytes);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), bytes);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_MemcpyOf)->Arg(DRAWS_PER_FRAME * 58 * 30)->Arg(640 * 480);

}  // namespace
