// What the screens and the scenes share: the game's state and progress flags, the backdrop,
// and the small routines every screen and scene uses (keys, waiting on sounds, Escape).
#pragma once

#include <cstdint>

#include "win32.h"
#include "display/display.h"
#include "image/bitmap_file.h"
#include "image/bitmap_image.h"

// Which screen or scene the next main-loop pass runs.
enum GameState : int32_t {
  StateTitle = 0,
  StateScene1 = 1,
  StateScene2 = 2,
  StateScene3 = 3,
  StateScene4 = 4,
  StateGameEnd = 5,
  StateInstructions = 6,
  StateCredits = 7,
};

// Milliseconds per paced frame.
constexpr uint32_t FRAME_MS = 30;
// Number of animal scenes.
constexpr int SCENE_COUNT = 4;
extern int32_t game_state;                    // the state the next pass runs
extern uint8_t show_title;                    // in StateTitle: show the title (else start scene 1)
extern uint8_t prompt_pending;                // the next screen has still to speak its prompt
extern uint8_t scene_intro_pending[SCENE_COUNT];  // scene N's intro has still to run
extern uint8_t game_over_shown;               // in StateGameEnd: lost (else won)
extern uint8_t quit_requested;                // the program is ending: no more screen passes
extern BitmapImage backdrop;                  // the 640x480 picture drawn first in every frame
extern BitmapFile work_bitmap;                // holds one picture file at a time while it is cut


// True when the key is down now (asynchronous state) or was down at the last keyboard snapshot.
bool KeyPressed(int virtual_key, int dik_code);
// True while the sound is playing (its DSBSTATUS_PLAYING bit); a sound id of -1 never plays.
bool SoundPlaying(int sound_id);
// Plays the sound once and waits, reading no keys and no messages, until it has stopped.
void PlayAndWait(int sound_id);
// Waits, reading no keys and no messages, until the sound has stopped: asleep for most of it,
// polling its status only as its end nears.
void WaitForSound(int sound_id);
// The Escape action: posts WM_DESTROY, stops all sounds and fades the screen to red.
void RequestQuit();
// Fills the back surface with colour 0 and copies the backdrop into it.
void DrawBackdrop();
// Makes a picture file the 640x480 backdrop and its palette the display's palette.
void LoadBackdrop(const char* file_name);
// Marks every scene's intro as still to run, before a new game.
void ResetSceneIntros();
