// The game's shared state and the small routines every screen and scene uses.
#include "gameplay/game_routines.h"

#include "display/frame.h"
#include "display/transitions.h"
#include "input/keyboard.h"
#include "sound/sound_table.h"

int32_t game_state = StateTitle;
uint8_t show_title = 1;
uint8_t prompt_pending = 1;
uint8_t scene_intro_pending[SCENE_COUNT] = {1, 1, 1, 1};
uint8_t game_over_shown = 0;
uint8_t quit_requested = 0;
BitmapImage backdrop;
BitmapFile work_bitmap;

bool KeyPressed(int virtual_key, int dik_code) {
  return (GetAsyncKeyState(virtual_key) & 0x8000) != 0 || KeyboardState[dik_code & 0xFF] != 0;
}

bool SoundPlaying(int sound_id) {
  const int status = SoundStatus(sound_id);
  return status != -1 && (status & DSBSTATUS_PLAYING) != 0;
}

void PlayAndWait(int sound_id) {
  PlaySound(sound_id, 0);
  WaitForSound(sound_id);
}

// Sleeps half of what is left of the sound, a frame at most, between two status polls: the
// processor is given away, the host still reads window events every frame, and the status is
// polled at every clock tick in the last milliseconds, so the wait ends on the same reading as a
// wait that only polls (on a clock that moves one millisecond at each reading, exactly).
void WaitForSound(int sound_id) {
  while (SoundPlaying(sound_id)) {
    const int left = SoundMsLeft(sound_id);
    if (left > 2) Sleep(static_cast<DWORD>(left / 2 < static_cast<int>(FRAME_MS) ? left / 2 : FRAME_MS));
  }
}

void RequestQuit() {
  if (quit_requested) return;  // one request ends the program; a held Escape asks only once
  quit_requested = 1;
  // A queue too full to take the message must not lose the quit: the window procedure then gets
  // WM_DESTROY at once, and the quit message it posts needs no place in the queue.
  if (!PostMessageA(main_window, WM_DESTROY, 0, 0)) SendMessageA(main_window, WM_DESTROY, 0, 0);
  StopAllSounds();
  ScreenTransition(FadeToRed, nullptr, 0);
}

namespace {

// True when drawing the backdrop overwrites every pixel of the back surface.
bool BackdropCoversScreen() {
  return (backdrop.flags & IMAGE_LOADED) && backdrop.pixels != nullptr && backdrop.bits_per_pixel == 8 &&
         backdrop.x == 0 && backdrop.y == 0 && backdrop.width >= display.screen_width &&
         backdrop.height >= display.screen_height;
}

}  // namespace

// The colour-0 fill is left out where the backdrop covers it all: the frame is the same and the
// copy alone costs little more than a memcpy of the screen.
void DrawBackdrop() {
  const bool covered = BackdropCoversScreen();
  if (!covered) FillSurface(display.back_surface, 0, nullptr);
  if (LockBackSurface() == nullptr) {
    if (covered) FillSurface(display.back_surface, 0, nullptr);
    return;
  }
  DrawBitmapImage(&backdrop, display.back_buffer, display.back_pitch, 0);
  UnlockBackSurface();
}

void LoadBackdrop(const char* file_name) {
  LoadBitmapFile(&work_bitmap, file_name);
  DestroyBitmapImage(&backdrop);
  CreateBitmapImage(&backdrop, 0, 0, 640, 480, 8);
  LoadBitmapImage(&backdrop, &work_bitmap, 0, 0, 1);
  SetPalette(work_bitmap.palette);
  UnloadBitmapFile(&work_bitmap);
}

void ResetSceneIntros() {
  for (uint8_t& pending : scene_intro_pending) pending = 1;
}
