// The autopilot test page's entry: the web program's start, with the autopilot made the player
// when the page's address asks for it.
#include <unistd.h>

#include "hosts/web/web_host.h"
#include "soft/host.h"
#include "web_autopilot.h"
#include "win32.h"

namespace {

// Stands in for the instance handle the real platform gives WinMain; the game only passes it on.
HINSTANCE__ instance_record;

}  // namespace

int main() {
  WebHostStart();
  InstallHost(&web_host);
  StartWebAutopilotIfAsked();
  if (chdir("/game") != 0) return 1;
  char command_line[] = "";
  int result = WinMain(&instance_record, nullptr, command_line, SW_SHOWNORMAL);
  InstallHost(nullptr);
  WebHostStop();
  return result;
}
