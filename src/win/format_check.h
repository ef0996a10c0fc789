// The printf-format check needs nothing from the system: the portable header serves.
#pragma once

#include "../winapi/format_check.h"
