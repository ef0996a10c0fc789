#include "sound/sound_table.h"

int StopAllSounds() { return 1; }
