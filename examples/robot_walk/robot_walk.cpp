// robot_walk: a small program on the VORK! library. A robot walks over a backdrop with the arrow
// keys, beeps on Space, and Escape ends it through a fade to red. Its two pictures and its sound
// are made here, so it needs no data files.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "display/display.h"
#include "display/frame.h"
#include "display/transitions.h"
#include "image/sprite.h"
#include "input/keyboard.h"
#include "sound/sound_table.h"

namespace {

constexpr int SCREEN_WIDTH = 640, SCREEN_HEIGHT = 480;
constexpr int ROBOT_WIDTH = 32, ROBOT_HEIGHT = 48, WALK_FRAMES = 4;
constexpr int STEP = 4;              // pixels the robot moves a frame
constexpr uint32_t FRAME_MS = 33;    // about 30 frames a second
constexpr int SOUND_RATE = 11025;    // samples a second of the beep
// Palette entries: 0 is the sprites' transparent colour; the sky takes 16..47.
enum Colour { KEY = 0, GRASS = 1, BODY = 2, EYE = 3, LEGS = 4, SKY = 16 };

//! [window]
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

// The window class, the window, and a 640x480 display with 256 colours over it.
bool OpenDisplay(HINSTANCE instance) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = "RobotWalk";
  if (RegisterClassA(&window_class) == 0) return false;
  main_window = CreateWindowExA(0, "RobotWalk", "Robot walk", WS_POPUP | WS_VISIBLE, 0, 0, SCREEN_WIDTH,
                                SCREEN_HEIGHT, nullptr, nullptr, instance, nullptr);
  app_instance = instance;
  return main_window != nullptr && DisplayInit(SCREEN_WIDTH, SCREEN_HEIGHT, 8, 0);
}
//! [window]

//! [pictures]
// An 8-bit picture in memory, in the form a .BMP file is loaded into.
struct Picture {
  int width, height;
  std::vector<uint8_t> pixels;  // palette entries, top row first
  Picture(int w, int h) : width(w), height(h), pixels(size_t(w) * h, KEY) {}
  void Fill(int x, int y, int w, int h, uint8_t colour) {
    for (int row = y; row < y + h; ++row) std::fill_n(&pixels[size_t(row) * width + x], w, colour);
  }
  // The picture as the record LoadBitmapFile fills, which sprite frames are cut from.
  BitmapFile AsBitmap() {
    BitmapFile bitmap{};
    bitmap.info_header.biWidth = width;
    bitmap.info_header.biHeight = height;
    bitmap.info_header.biBitCount = 8;
    bitmap.pixels = pixels.data();
    return bitmap;
  }
};

void SetColours() {
  PaletteEntry palette[PALETTE_SIZE] = {};
  palette[GRASS] = {40, 150, 40, PC_NOCOLLAPSE};
  palette[BODY] = {150, 160, 180, PC_NOCOLLAPSE};
  palette[EYE] = {250, 220, 40, PC_NOCOLLAPSE};
  palette[LEGS] = {70, 70, 90, PC_NOCOLLAPSE};
  for (int i = 0; i < 32; ++i)  // the sky lightens towards the horizon
    palette[SKY + i] = {uint8_t(60 + 4 * i), uint8_t(110 + 4 * i), 250, PC_NOCOLLAPSE};
  SetPalette(palette);
}

// The backdrop: a sky in bands over a strip of grass.
Picture DrawBackdrop() {
  Picture backdrop(SCREEN_WIDTH, SCREEN_HEIGHT);
  for (int band = 0; band < 32; ++band) backdrop.Fill(0, band * 12, SCREEN_WIDTH, 12, uint8_t(SKY + band));
  backdrop.Fill(0, 384, SCREEN_WIDTH, 96, GRASS);
  return backdrop;
}

// The sprite sheet: one row of walk frames, each cell with a one-pixel border around it.
Picture DrawRobotSheet() {
  Picture sheet(WALK_FRAMES * (ROBOT_WIDTH + 1) + 1, ROBOT_HEIGHT + 2);
  const int stride[WALK_FRAMES] = {0, 3, 0, -3};  // the legs apart, together and passing
  for (int frame = 0; frame < WALK_FRAMES; ++frame) {
    const int x = 1 + frame * (ROBOT_WIDTH + 1), y = 1;
    sheet.Fill(x + 8, y, 16, 12, BODY);        // head
    sheet.Fill(x + 18, y + 4, 4, 4, EYE);      // eye, looking right
    sheet.Fill(x + 4, y + 14, 24, 20, BODY);   // body
    sheet.Fill(x + 10 - stride[frame], y + 34, 5, 14, LEGS);
    sheet.Fill(x + 17 + stride[frame], y + 34, 5, 14, LEGS);
  }
  return sheet;
}
//! [pictures]

//! [sprite]
Sprite backdrop_sprite, robot;

bool MakeSprites() {
  Picture backdrop = DrawBackdrop(), sheet = DrawRobotSheet();
  const BitmapFile backdrop_bitmap = backdrop.AsBitmap(), sheet_bitmap = sheet.AsBitmap();
  if (!CreateSprite(&backdrop_sprite, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 1, SPRITE_STILL | SPRITE_VISIBLE,
                    DDSCAPS_SYSTEMMEMORY, KEY, 8) ||
      !CreateSprite(&robot, 304, 336, ROBOT_WIDTH, ROBOT_HEIGHT, WALK_FRAMES, SPRITE_SEQUENCES | SPRITE_VISIBLE,
                    DDSCAPS_SYSTEMMEMORY, KEY, 8))
    return false;
  LoadSpriteFrame(&backdrop_sprite, &backdrop_bitmap, 0, 0, 0, 1);  // mode 1: at pixel (0, 0)
  for (int frame = 0; frame < WALK_FRAMES; ++frame) LoadSpriteFrame(&robot, &sheet_bitmap, frame, frame, 0, 0);
  const int walk[] = {0, 1, 2, 3};
  LoadSpriteAnimation(&robot, 0, 4, walk);
  SetSpriteAnimation(&robot, 0);
  SetSpriteAnimSpeed(&robot, 3);  // a new frame every third step
  return true;
}
//! [sprite]

//! [keys]
// Moves the robot by the arrow keys held, within the screen, walking while it moves.
void MoveRobot() {
  const int dx = (KeyboardState[DIK_RIGHT] ? STEP : 0) - (KeyboardState[DIK_LEFT] ? STEP : 0);
  const int dy = (KeyboardState[DIK_DOWN] ? STEP : 0) - (KeyboardState[DIK_UP] ? STEP : 0);
  if (dx == 0 && dy == 0) return;
  const int x = std::min(std::max(int(robot.x) + dx, 0), SCREEN_WIDTH - ROBOT_WIDTH);
  const int y = std::min(std::max(int(robot.y) + dy, 0), SCREEN_HEIGHT - ROBOT_HEIGHT);
  SetSpritePosition(&robot, x, y);
  AnimateSprite(&robot);
}
//! [keys]

//! [sound]
// A falling beep written as a WAV file (11025 samples a second, 8 bits, mono) and loaded into
// the sound table; its id, or -1.
int MakeBeep() {
  std::vector<uint8_t> samples(2756);  // a quarter of a second
  for (size_t i = 0; i < samples.size(); ++i) {
    const double t = double(i) / SOUND_RATE, fade = 1.0 - double(i) / samples.size();
    samples[i] = uint8_t(128 + 90 * fade * std::sin(6.2832 * (880 - 800 * t) * t));
  }
  auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  const uint32_t size = uint32_t(samples.size());
  const std::string header = "RIFF" + u32(36 + size) + "WAVEfmt " + u32(16) + u32(1 | 1 << 16) +
                             u32(SOUND_RATE) + u32(SOUND_RATE) + u32(1 | 8 << 16) + "data" + u32(size);
  const std::string path = (std::filesystem::temp_directory_path() / "robot_walk_beep.wav").string();
  std::ofstream(path, std::ios::binary).write(header.data(), header.size())
      .write(reinterpret_cast<const char*>(samples.data()), size);
  const int id = LoadWav(path.c_str(), SOUND_CONTROLS);
  std::filesystem::remove(path);
  return id;
}

bool space_was_down = false;

// Plays the beep each time Space goes down.
void BeepOnSpace(int beep) {
  const bool space_down = KeyboardState[DIK_SPACE] != 0;
  if (space_down && !space_was_down) PlaySound(beep, 0);
  space_was_down = space_down;
}
//! [sound]

//! [quit]
// Escape: the picture fades to red, then the window closes, which ends the frame loop.
void QuitOnEscape() {
  if (!KeyboardState[DIK_ESCAPE]) return;
  ScreenTransition(FadeToRed, nullptr, 0);
  DestroyWindow(main_window);
}
//! [quit]

}  // namespace

//! [loop]
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!OpenDisplay(instance)) {
    std::fputs("robot_walk: cannot open the display\n", stderr);
    return 1;
  }
  SetColours();
  InputInit();
  KeyboardInit();
  SoundInit();
  const int beep = MakeBeep();
  if (!MakeSprites()) return 1;
  MSG message{};
  while (message.message != WM_QUIT) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageA(&message);
      continue;
    }
    StartClock();
    KeyboardRead();
    MoveRobot();
    BeepOnSpace(beep);
    DrawSprite(&backdrop_sprite, display.back_surface);
    DrawSprite(&robot, display.back_surface);
    FlipPages();
    QuitOnEscape();
    WaitClock(FRAME_MS);
  }
  DestroySprite(&robot);
  DestroySprite(&backdrop_sprite);
  SoundShutdown();
  KeyboardShutdown();
  InputShutdown();
  DisplayShutdown();
  return static_cast<int>(message.wParam);
}
//! [loop]
