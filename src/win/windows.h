// Forwards to the system's windows.h.
#pragma once

#include "system_prelude.h"
#include_next <windows.h>
#include "system_names.h"
