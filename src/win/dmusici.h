// Forwards to the system's DirectMusic header (COM: link ole32 and dxguid).
#pragma once

#include "system_prelude.h"
#include <windows.h>
#include <mmsystem.h>
#include_next <dmusici.h>
#include "system_names.h"
