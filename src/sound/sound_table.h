// The sound table. Sound output arrives with the sound library; until then nothing plays.
#pragma once

// Stops every sound in the table; always 1.
int StopAllSounds();
