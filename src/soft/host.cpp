// The installed host, and a host that does nothing for a program that installed none.
#include "soft/host.h"

namespace {

uint32_t null_clock;

bool NullOpenWindow(const char*, int, int, int, int) { return true; }
void NullVoid() {}
void NullSetDisplayMode(int, int, int) {}
void NullPresent(const HostFrame&) {}
// A clock that moves by itself, so that waits on it end even without a host.
uint32_t NullMilliseconds() { return null_clock++; }
void NullSleep(uint32_t ms) { null_clock += ms; }
bool NullDisplayLost() { return false; }
void NullShowCursor(bool) {}
void NullFileOpened(const char*, bool) {}
int NullOpenAudio(HostAudioSource) { return 0; }

const HostServices null_host = {NullOpenWindow, NullVoid,        NullSetDisplayMode, NullPresent,
                                NullVoid,       NullMilliseconds, NullSleep,          NullVoid,
                                NullDisplayLost, NullShowCursor,  NullFileOpened, NullOpenAudio};

const HostServices* installed_host = &null_host;

}  // namespace

void InstallHost(const HostServices* host) { installed_host = host ? host : &null_host; }

const HostServices& Host() { return *installed_host; }
