// Forwards to the system's DirectDraw header (DirectDraw 7; link ddraw and dxguid).
#pragma once

#include "system_prelude.h"
#include <windows.h>
#include_next <ddraw.h>
#include "system_names.h"
