// Removes the system headers' macros whose names the library uses for its own functions.
// Included again after each system header (no include guard on purpose), because any of them
// may bring in the header that defines such a name.

// mmsystem.h maps PlaySound to PlaySoundA or PlaySoundW; the sound table has its own PlaySound.
#undef PlaySound
