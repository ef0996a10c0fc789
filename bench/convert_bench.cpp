// The 8-to-32-bit conversion that puts a frame on the screen, beside SDL's own conversion of the
// same 8-bit paletted 640x480 picture to ARGB8888 (SDL_LowerBlit), measured in the same run.
// Ours should take no longer than SDL's.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "hosts/common/frame_convert.h"

namespace {

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;

// The picture both convert: every index used, no two neighbouring rows alike.
uint8_t PixelAt(int x, int y) { return static_cast<uint8_t>(x * 7 + y * 13 + (x * y >> 5)); }

// A palette of distinct colours: entry i is (i, 255 - i, i * 3).
std::vector<uint8_t> TestPalette() {
  std::vector<uint8_t> palette(PALETTE_BYTES);
  for (int i = 0; i < PALETTE_ENTRIES; ++i) {
    palette[i * 4 + 0] = static_cast<uint8_t>(i);
    palette[i * 4 + 1] = static_cast<uint8_t>(255 - i);
    palette[i * 4 + 2] = static_cast<uint8_t>(i * 3);
  }
  return palette;
}

// Ours, as the host presents a frame: palette table checked (built once), then every row.
void BM_ConvertFrame8ToArgb(benchmark::State& state) {
  const int pitch = WIDTH + 32;  // the soft surfaces' rows are wider than their pixels
  std::vector<uint8_t> pixels(static_cast<size_t>(pitch) * HEIGHT);
  for (int y = 0; y < HEIGHT; ++y)
    for (int x = 0; x < WIDTH; ++x) pixels[y * pitch + x] = PixelAt(x, y);
  const std::vector<uint8_t> palette = TestPalette();
  std::vector<uint32_t> out(WIDTH * HEIGHT);
  static PaletteLookup lookup{};
  const HostFrame frame{pixels.data(), WIDTH, HEIGHT, pitch, 8, palette.data()};
  for (auto _ : state) {
    UpdatePaletteLookup(lookup, frame.palette);
    ConvertFrame(frame, lookup.argb, reinterpret_cast<uint8_t*>(out.data()), WIDTH * 4);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * WIDTH * HEIGHT);
}
BENCHMARK(BM_ConvertFrame8ToArgb);

// SDL's: an INDEX8 surface with the same palette and pixels blitted to an ARGB8888 surface.
void BM_SdlLowerBlit8ToArgb(benchmark::State& state) {
  SDL_Surface* source = SDL_CreateRGBSurfaceWithFormat(0, WIDTH, HEIGHT, 8, SDL_PIXELFORMAT_INDEX8);
  SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, WIDTH, HEIGHT, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!source || !target) {
    state.SkipWithError(SDL_GetError());
    return;
  }
  const std::vector<uint8_t> palette = TestPalette();
  SDL_Color colours[PALETTE_ENTRIES];
  for (int i = 0; i < PALETTE_ENTRIES; ++i)
    colours[i] = SDL_Color{palette[i * 4], palette[i * 4 + 1], palette[i * 4 + 2], 255};
  SDL_SetPaletteColors(source->format->palette, colours, 0, PALETTE_ENTRIES);
  for (int y = 0; y < HEIGHT; ++y)
    for (int x = 0; x < WIDTH; ++x) static_cast<uint8_t*>(source->pixels)[y * source->pitch + x] = PixelAt(x, y);
  for (auto _ : state) {
    SDL_Rect source_rect{0, 0, WIDTH, HEIGHT};
    SDL_Rect target_rect{0, 0, WIDTH, HEIGHT};
    SDL_LowerBlit(source, &source_rect, target, &target_rect);
    benchmark::DoNotOptimize(target->pixels);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * WIDTH * HEIGHT);
  SDL_FreeSurface(source);
  SDL_FreeSurface(target);
}
BENCHMARK(BM_SdlLowerBlit8ToArgb);

}  // namespace
