// The demo's window, palette and frame loop, and what one frame draws.
#include "demo.h"

#include <cmath>
#include <cstdio>

#include "display/draw_extras.h"
#include "display/frame.h"
#include "hosts/headless/headless_host.h"
#include "vector/fast_math.h"
#include "vector/polygon.h"

namespace {

constexpr const char* DEMO_CLASS_NAME = "VORKDEMOCLASS";
constexpr uint32_t DEMO_FRAME_MS = 30;
constexpr int OCTAGON_SIDES = 8;
constexpr int FAN_LINES = 32;

LRESULT CALLBACK DemoWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

HWND OpenDemoWindow(HINSTANCE instance) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = DemoWindowProc;
  window_class.hInstance = instance;
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszClassName = DEMO_CLASS_NAME;
  RegisterClassA(&window_class);
  return CreateWindowExA(0, DEMO_CLASS_NAME, "VORK! demo", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
                         instance, nullptr);
}

// A fully saturated colour of the given hue, 0..359 degrees.
PaletteEntry Hue(int degrees) {
  auto channel = [degrees](int offset) {
    const int d = (degrees + offset) % 360;
    const int ramp = d < 60 ? 255 : d < 120 ? 255 * (120 - d) / 60 : d < 240 ? 0 : d < 300 ? 255 * (d - 240) / 60 : 255;
    return static_cast<uint8_t>(ramp);
  };
  return PaletteEntry{channel(0), channel(240), channel(120), 0};
}

void SetDemoPalette() {
  PaletteEntry palette[PALETTE_SIZE] = {};
  for (int i = DEMO_RANGE_FIRST; i <= DEMO_RANGE_LAST; ++i)
    palette[i] = Hue((i - DEMO_RANGE_FIRST) * 360 / (DEMO_RANGE_LAST - DEMO_RANGE_FIRST + 1));
  palette[DEMO_WHITE] = PaletteEntry{255, 255, 255, 0};
  palette[DEMO_GREY] = PaletteEntry{128, 128, 128, 0};
  SetPalette(palette);
}

int32_t Packed(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<int32_t>(red | green << 8 | blue << 16);
}

void AddDemoBlinkers() {
  const PaletteBlinker slow{DEMO_BLINK_A, Packed(255, 0, 0), Packed(255, 255, 0), 8, 8, 0, 0};
  const PaletteBlinker quick{DEMO_BLINK_B, Packed(0, 0, 255), Packed(255, 255, 255), 3, 12, 0, 0};
  PaletteBlink(BLINK_ADD, &slow, 0);
  PaletteBlink(BLINK_ADD, &quick, 0);
}

// The octagon of this frame: built afresh, scaled by a slow pulse, then turned.
void DrawOctagon(int frame, uint8_t* buffer, int pitch) {
  Vertex2D vertices[OCTAGON_SIDES];
  for (int i = 0; i < OCTAGON_SIDES; ++i) vertices[i] = Vertex2D{60 * cos_table[i * 45], 60 * sin_table[i * 45]};
  Polygon2D octagon{1, OCTAGON_SIDES, DEMO_OCTAGON_X, DEMO_OCTAGON_Y, 0, 0, DEMO_RANGE_FIRST, vertices};
  const float pulse = 1.4f + 0.6f * sin_table[(frame * 4) % 360];
  ScalePolygon(&octagon, pulse, pulse);
  RotatePolygon(&octagon, (frame * 3) % 360);
  FillPolygon8(&octagon, buffer, pitch);
  octagon.color = DEMO_WHITE;
  DrawPolygonOutline8(&octagon, buffer, pitch);
}

// A triangle turned the other way through the matrix forms, filled with the float filler.
void DrawSpinningTriangle(int frame, uint8_t* buffer, int pitch) {
  Vertex2D corners[3] = {{0, -50}, {43, 25}, {-43, 25}};
  Polygon2D triangle{1, 3, DEMO_TRIANGLE_X, DEMO_TRIANGLE_Y, 0, 0, DEMO_RANGE_FIRST + 16, corners};
  RotatePolygonMat(&triangle, -((frame * 5) % 360));
  int32_t x[3], y[3];
  for (int i = 0; i < 3; ++i) VertexOnScreen(&triangle, i, &x[i], &y[i]);
  DrawTriangle8(x[0], y[0], x[1], y[1], x[2], y[2], triangle.color, buffer, pitch);
}

// Lines from a circling centre to points far off the screen, clipped to the box.
void DrawLineFan(int frame, uint8_t* buffer, int pitch) {
  const int centre_x = (DEMO_CLIP_LEFT + DEMO_CLIP_RIGHT) / 2 + static_cast<int>(60 * cos_table[(frame * 2) % 360]);
  const int centre_y = (DEMO_CLIP_TOP + DEMO_CLIP_BOTTOM) / 2 + static_cast<int>(60 * sin_table[(frame * 2) % 360]);
  DrawLine8(DEMO_CLIP_LEFT - 1, DEMO_CLIP_TOP - 1, DEMO_CLIP_RIGHT + 1, DEMO_CLIP_TOP - 1, DEMO_GREY, buffer, pitch);
  DrawLine8(DEMO_CLIP_RIGHT + 1, DEMO_CLIP_TOP - 1, DEMO_CLIP_RIGHT + 1, DEMO_CLIP_BOTTOM + 1, DEMO_GREY, buffer, pitch);
  DrawLine8(DEMO_CLIP_RIGHT + 1, DEMO_CLIP_BOTTOM + 1, DEMO_CLIP_LEFT - 1, DEMO_CLIP_BOTTOM + 1, DEMO_GREY, buffer, pitch);
  DrawLine8(DEMO_CLIP_LEFT - 1, DEMO_CLIP_BOTTOM + 1, DEMO_CLIP_LEFT - 1, DEMO_CLIP_TOP - 1, DEMO_GREY, buffer, pitch);
  const int saved[4] = {display.clip_min_x, display.clip_max_x, display.clip_min_y, display.clip_max_y};
  display.clip_min_x = DEMO_CLIP_LEFT, display.clip_max_x = DEMO_CLIP_RIGHT;
  display.clip_min_y = DEMO_CLIP_TOP, display.clip_max_y = DEMO_CLIP_BOTTOM;
  for (int k = 0; k < FAN_LINES; ++k) {
    const int angle = (k * 360 / FAN_LINES + frame) % 360;
    DrawClippedLine8(centre_x, centre_y, centre_x + static_cast<int>(1000 * cos_table[angle]),
                     centre_y + static_cast<int>(1000 * sin_table[angle]), DEMO_RANGE_FIRST + k, buffer, pitch);
  }
  display.clip_min_x = saved[0], display.clip_max_x = saved[1];
  display.clip_min_y = saved[2], display.clip_max_y = saved[3];
}

// The parts drawn by blits and text output, on the unlocked back surface.
void DrawSurfaceParts(int frame) {
  for (int k = 0; k <= DEMO_RANGE_LAST - DEMO_RANGE_FIRST; ++k) {
    const int left = DEMO_STRIPES_X + k * DEMO_STRIPE_WIDTH;
    FillRect(left, DEMO_STRIPES_Y, left + DEMO_STRIPE_WIDTH, DEMO_STRIPES_Y + DEMO_STRIPE_HEIGHT,
             static_cast<uint32_t>(DEMO_RANGE_FIRST + k), display.back_surface);
  }
  FillRect(DEMO_BLINK_A_X, DEMO_BLINK_Y, DEMO_BLINK_A_X + DEMO_BLINK_SIZE, DEMO_BLINK_Y + DEMO_BLINK_SIZE, DEMO_BLINK_A,
           display.back_surface);
  FillRect(DEMO_BLINK_B_X, DEMO_BLINK_Y, DEMO_BLINK_B_X + DEMO_BLINK_SIZE, DEMO_BLINK_Y + DEMO_BLINK_SIZE, DEMO_BLINK_B,
           display.back_surface);
  DrawTextIndexed("VORK! library demo: polygons, clipped lines, palette effects, text", DEMO_TEXT_X, DEMO_TEXT_Y,
                  DEMO_WHITE, display.back_surface);
  char counter[32];
  std::snprintf(counter, sizeof counter, "frame %d", frame);
  DrawTextRGB(counter, DEMO_TEXT_X, DEMO_TEXT_Y + 16, RGB(128, 128, 128), display.back_surface);
}

void DrawDemoFrame(int frame) {
  FillRect(0, 0, display.screen_width, display.screen_height, 0, display.back_surface);
  DrawSurfaceParts(frame);
  uint8_t* buffer = LockBackSurface();
  if (!buffer) return;
  DrawOctagon(frame, buffer, display.back_pitch);
  DrawSpinningTriangle(frame, buffer, display.back_pitch);
  DrawLineFan(frame, buffer, display.back_pitch);
  UnlockBackSurface();
}

// One frame: draw, show, then move the palette on for the next one.
void RunDemoFrame(int frame, const DemoOptions& options) {
  StartClock();
  DrawDemoFrame(frame);
  FlipPages();
  if (options.after_flip) options.after_flip(frame);
  RotatePaletteRange(DEMO_RANGE_FIRST, DEMO_RANGE_LAST);
  PaletteBlink(BLINK_RUN, nullptr, 0);
  WaitClock(DEMO_FRAME_MS);
}

// Headless runs: where pictures go, how often, and how many were not written.
struct HeadlessPictures {
  std::string out_dir;
  int every = 1;
  int last = 0;
  int failures = 0;
};

HeadlessPictures headless_pictures;

void SaveHeadlessPicture(int frame) {
  if (frame % headless_pictures.every != 0 && frame != headless_pictures.last) return;
  const std::string path = headless_pictures.out_dir + "/frame-" + std::to_string(frame) + ".png";
  if (HeadlessFrames().empty() || !HeadlessSavePng(HeadlessFrames().back(), path)) ++headless_pictures.failures;
}

}  // namespace

int DemoMain(HINSTANCE instance, const DemoOptions& options) {
  const HWND window = OpenDemoWindow(instance);
  main_window = window;
  if (!window || !DisplayInit(640, 480, 8, 0)) return 1;
  SetDemoPalette();
  BuildSinCosTables();
  blink_table = BlinkTable{};
  AddDemoBlinkers();
  MSG msg{};
  int exit_code = 0;
  for (int frame = 0; options.frame_limit == 0 || frame < options.frame_limit; ++frame) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        exit_code = static_cast<int>(msg.wParam);
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    RunDemoFrame(frame, options);
    if (GetAsyncKeyState(VK_ESCAPE) & 0x8000) PostMessageA(window, WM_DESTROY, 0, 0);
  }
  DisplayShutdown();
  return exit_code;
}

int RunDemoHeadless(const std::string& out_dir, int frames, int png_every) {
  HeadlessStart(0);
  HeadlessKeepFrames(FrameKeeping::Last);
  headless_pictures = HeadlessPictures{out_dir, png_every > 0 ? png_every : 1, frames - 1, 0};
  DemoOptions options;
  options.frame_limit = frames;
  options.after_flip = SaveHeadlessPicture;
  static HINSTANCE__ instance_record;
  const int exit_code = DemoMain(&instance_record, options);
  return exit_code != 0 || headless_pictures.failures != 0 ? 1 : 0;
}
