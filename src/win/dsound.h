// Forwards to the system's DirectSound header (link dsound and dxguid).
#pragma once

#include "system_prelude.h"
#include <windows.h>
#include <mmsystem.h>
#include_next <dsound.h>
#include "system_names.h"
