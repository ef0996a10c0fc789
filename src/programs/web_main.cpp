// The program's entry in a web browser: start the web host and run the game's WinMain on it,
// in the folder of files packed with the page.
#include <unistd.h>

#include "soft/host.h"
#include "hosts/web/web_host.h"
#include "win32.h"

namespace {

// Stands in for the instance handle the real platform gives WinMain; the game only passes it on.
HINSTANCE__ instance_record;

// Where the build packs the pictures, sounds and palette.
constexpr const char* GAME_FOLDER = "/game";

}  // namespace

int main() {
  WebHostStart();
  InstallHost(&web_host);
  if (chdir(GAME_FOLDER) != 0) return 1;
  char command_line[] = "";
  int result = WinMain(&instance_record, nullptr, command_line, SW_SHOWNORMAL);
  InstallHost(nullptr);
  WebHostStop();
  return result;
}
