/// \file
/// The host for a real machine, on SDL2: a desktop window shown full screen, the keyboard,
/// the clock. The program's main starts it, installs sdl_host and runs the game.
#pragma once

#include <string>

#include "soft/host.h"

/// The SDL host's services; valid between SdlHostStart and SdlHostStop.
extern const HostServices sdl_host;

/// Starts SDL's video and events; false with a one-line reason in `error` when there is no
/// display to open a window on.
bool SdlHostStart(std::string* error);
/// Closes the window if still open and shuts SDL down.
void SdlHostStop();
/// The arguments after the program's name joined by spaces: the command line WinMain gets.
std::string CommandLineOf(int argc, char** argv);
