// Resets every part of the software platform in turn; the parts never reset each other.
#include "soft/platform_reset.h"

#include "soft/direct_draw.h"
#include "soft/direct_input.h"
#include "soft/direct_sound.h"
#include "soft/faults.h"
#include "soft/soft_windows.h"

void SoftPlatformReset() {
  SoftWindowsReset();
  ClearFaults();
  SoftSetDesktopBits(8);
  SoftInputReset();
  SoftSoundReset();
}
