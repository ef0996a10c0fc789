// One copy of the game per user session: the first copy holds a lock on a file, a second start
// finds it held, asks the running copy to come to the front and ends. The lock is the system's
// file lock, which ends with the process that held it, so a crashed game never blocks a start.
#pragma once

#include <string>

// What taking the lock found.
enum class LockOutcome {
  TAKEN,        // this process is the one copy now
  HELD,         // another copy holds it
  UNAVAILABLE,  // no usable lock file (not ours, not a plain file, cannot be made): run anyway
};

// The lock file for the session on `display` (DISPLAY or WAYLAND_DISPLAY, null or empty for the
// console) of user `uid`, in the per-user runtime folder `runtime_dir`, or in /tmp without one.
std::string InstanceLockPath(const char* runtime_dir, const char* display, unsigned uid);
// The lock file for this process's user and display, from its environment.
std::string SessionLockPath();
// Tries to take the lock at `path` without waiting; when taken, the file holds this process's
// id and *descriptor keeps the lock for as long as the process runs (or until released).
LockOutcome TakeInstanceLock(const std::string& path, int* descriptor);
// Gives the lock up and closes its descriptor.
void ReleaseInstanceLock(int descriptor);
// The process id the holder of the lock at `path` wrote in it; 0 when none can be read.
long InstanceLockHolder(const std::string& path);

// Makes this process note a request to come to the front (see TakeRaiseRequest).
void ListenForRaiseRequests();
// Asks the running copy `pid` to come to the front; false when it cannot be asked.
bool AskToRaise(long pid);
// True once for each request to come to the front received since the last call.
bool TakeRaiseRequest();
