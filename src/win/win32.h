// Forwards our Win32 subset to the system's headers: windows.h, and mmsystem.h, which the lean
// set leaves out (the mmio file functions and wave formats).
#pragma once

#include "system_prelude.h"
#include <windows.h>
#include <mmsystem.h>
#include "system_names.h"
