// The game shell: program entry, the window, the message loop and the game-state machine,
// with the small routines every screen and scene uses.
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
// Class name of the game's window.
constexpr const char* WINDOW_CLASS_NAME = "WINXCLASS";
// Title of the game's window.
constexpr const char* WINDOW_TITLE = "VORK!";

extern int32_t game_state;                    // the state the next pass runs
extern uint8_t show_title;                    // in StateTitle: show the title (else start scene 1)
extern uint8_t prompt_pending;                // the next screen has still to speak its prompt
extern uint8_t scene_intro_pending[SCENE_COUNT];  // scene N's intro has still to run
extern uint8_t game_over_shown;               // in StateGameEnd: lost (else won)
extern uint8_t quit_requested;                // the program is ending: no more screen passes
extern BitmapImage backdrop;                  // the 640x480 picture drawn first in every frame
extern BitmapFile work_bitmap;                // holds one picture file at a time while it is cut

// The window procedure of the game's window.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// One pass of the state machine for the current game_state.
void RunGameStatePass();

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

// Opens the display and everything the game loads; 0 (with a message) when there is no display.
int GameStartup();
// Releases everything GameStartup made; always 1.
int GameShutdown();
// The sprite part of GameShutdown.
void DestroyGameSprites();

// The title picture with its three spoken prompts; Escape, Space, Enter and C.
int TitleScreen();
// The spoken instructions; Escape, Space, and Enter to hear them again.
int InstructionsScreen();
// Scene n's animal picture while its call sounds; then the play picture and the loops.
int SceneIntroScreen(int scene);
// The game-over picture with two spoken prompts; Escape, Space.
int GameOverScreen();
// The winning sequence: every animal's name and the cheer, then the credits.
int WinScreen();
// The credits picture and its sound; Escape, Space.
int CreditsScreen();
