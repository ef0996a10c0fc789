// The game shell: program entry, the window, the message loop and the game-state machine, with
// the start-up and the screens.
#pragma once

#include "gameplay/game_routines.h"

// Class name of the game's window.
constexpr const char* WINDOW_CLASS_NAME = "WINXCLASS";
// Title of the game's window.
constexpr const char* WINDOW_TITLE = "VORK!";

// The window procedure of the game's window.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// One pass of the state machine for the current game_state.
void RunGameStatePass();

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
