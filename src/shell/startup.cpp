// Start-up and shut-down. For now: the display, the backdrop and the whole-screen clipper;
// sprites, keyboard and sounds join as their libraries arrive.
#include "display/display.h"
#include "display/frame.h"
#include "shell/game_shell.h"
#include "sound/sound_table.h"

BitmapImage backdrop;
BitmapFile work_bitmap;

int GameStartup() {
  DisplayInit(640, 480, 8, 0);
  LoadBackdrop("Intro1.BMP");
  const ClipRect screen_rect{0, 0, display.screen_width, display.screen_height};
  LPDIRECTDRAWCLIPPER replaced = display.back_clipper;  // the surface now holds the new one instead
  display.back_clipper = AttachClipper(display.back_surface, 1, &screen_rect);
  if (replaced) replaced->Release();
  ShowCursor(FALSE);
  return 1;
}

int GameShutdown() {
  DisplayShutdown();
  StopAllSounds();
  DestroyBitmapImage(&backdrop);
  return 1;
}
