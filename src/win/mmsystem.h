// Forwards to the system's multimedia header: wave formats and the mmio file functions (link winmm).
#pragma once

#include "system_prelude.h"
#include <windows.h>
#include_next <mmsystem.h>
#include "system_names.h"
