/// \file
/// Stands in for the system's windows.h: the Win32 subset the game uses.
#pragma once
#include "win32.h"
