// One paced frame's work without the wait: fill the back surface, lock it, copy the 640x480
// backdrop, unlock, flip, and convert the shown frame through its palette to ARGB as the real
// host does. memcpy of the same bytes is the floor to compare against.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "display/frame.h"
#include "hosts/headless/headless_host.h"
#include "image/bitmap_image.h"
#include "hosts/common/frame_convert.h"

namespace {

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;

PaletteLookup lookup;
std::vector<uint32_t> screen(WIDTH * HEIGHT);

// Present as the real host does it: palette lookup (rebuilt only on change), then conversion.
void ConvertingPresent(const HostFrame& frame) {
  UpdatePaletteLookup(lookup, frame.palette);
  ConvertFrame(frame, lookup.argb, reinterpret_cast<uint8_t*>(screen.data()), WIDTH * 4);
}

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

HostServices BenchHost() {
  HostServices host = headless_host;
  host.present = ConvertingPresent;
  return host;
}

void OpenBenchDisplay(BitmapImage* image) {
  static const HostServices host = BenchHost();
  HeadlessStart();
  InstallHost(&host);
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = BenchWindowProc;
  window_class.lpszClassName = "BENCH";
  RegisterClassA(&window_class);
  main_window = CreateWindowExA(0, "BENCH", "bench", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr, nullptr, nullptr);
  DisplayInit(WIDTH, HEIGHT, 8, 0);
  CreateBitmapImage(image, 0, 0, WIDTH, HEIGHT, 8);
  for (int i = 0; i < WIDTH * HEIGHT; ++i) image->pixels[i] = static_cast<uint8_t>(i * 7);
  image->flags |= IMAGE_LOADED;
}

void BM_FrameWithoutWait(benchmark::State& state) {
  BitmapImage image{};
  OpenBenchDisplay(&image);
  for (auto _ : state) {
    FillSurface(display.back_surface, 0, nullptr);
    LockBackSurface();
    DrawBitmapImage(&image, display.back_buffer, display.back_pitch, 0);
    UnlockBackSurface();
    FlipPages();
  }
  benchmark::DoNotOptimize(screen.data());
  state.SetBytesProcessed(state.iterations() * WIDTH * HEIGHT);
  DestroyBitmapImage(&image);
  DisplayShutdown();
  display = DisplayState{};
}
BENCHMARK(BM_FrameWithoutWait);

void BM_MemcpyFloor(benchmark::State& state) {
  std::vector<uint8_t> source(WIDTH * HEIGHT, 3), target(WIDTH * HEIGHT);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), source.size());
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * WIDTH * HEIGHT);
}
BENCHMARK(BM_MemcpyFloor);

}  // namespace

BENCHMARK_MAIN();
