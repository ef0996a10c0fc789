// Forwards to the system's DirectInput 8 header (link dinput8 and dxguid).
#pragma once

#include "system_prelude.h"
#include <windows.h>
#include_next <dinput.h>
#include "system_names.h"
