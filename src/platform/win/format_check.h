// The printf-format check needs nothing from the system: the portable header serves.
#pragma once

#include "../format_check.h"
