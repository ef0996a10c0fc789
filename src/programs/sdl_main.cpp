// The program's entry on a real machine: start the SDL host and run the game's WinMain on it.
#include <cstdio>
#include <string>

#include "soft/host.h"
#include "hosts/sdl/instance_lock.h"
#include "hosts/sdl/sdl_host.h"
#include "win32.h"

namespace {

// Stands in for the instance handle the real platform gives WinMain; the game only passes it on.
HINSTANCE__ instance_record;

// Takes the one-copy lock of the user's session; false when a copy already runs, which is then
// asked to come to the front. Without a usable lock file the game runs anyway.
bool BecomeTheOnlyCopy(int* lock) {
  ListenForRaiseRequests();  // before the lock names this process, so a request never kills it
  const std::string path = SessionLockPath();
  if (TakeInstanceLock(path, lock) != LockOutcome::HELD) return true;
  const bool raised = AskToRaise(InstanceLockHolder(path));
  std::fprintf(stderr, "vork: the game is already running%s\n", raised ? "; it is brought to the front" : "");
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  int lock = -1;
  if (!BecomeTheOnlyCopy(&lock)) return 0;
  std::string error;
  if (!SdlHostStart(&error)) {
    std::fprintf(stderr, "vork: cannot open a window: %s\n", error.c_str());
    ReleaseInstanceLock(lock);
    return 1;
  }
  InstallHost(&sdl_host);
  std::string command_line = CommandLineOf(argc, argv);
  int result = WinMain(&instance_record, nullptr, &command_line[0], SW_SHOWNORMAL);
  SdlHostStop();
  ReleaseInstanceLock(lock);
  return result;
}
