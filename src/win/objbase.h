// Forwards to the system's COM start-up header (link ole32).
#pragma once

#include "system_prelude.h"
#include <windows.h>
#include_next <objbase.h>
#include "system_names.h"
