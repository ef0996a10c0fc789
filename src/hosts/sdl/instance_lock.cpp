#include "hosts/sdl/instance_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

// Set by the signal handler, read and cleared by TakeRaiseRequest.
volatile sig_atomic_t raise_requested = 0;

void OnRaiseSignal(int) { raise_requested = 1; }

// The display name as a file-name part: letters, digits, '.', '-' and '_' kept, others dropped.
std::string FileNamePart(const char* text) {
  std::string part;
  for (const char* c = text; *c; ++c)
    if (std::isalnum(static_cast<unsigned char>(*c)) || std::strchr("._-", *c)) part += *c;
  return part.empty() ? "console" : part;
}

// Opens the lock file without following a link, and only if it is a plain file of this user:
// in a shared folder another user's file or link must never be written. -1 if it is not usable.
int OpenOwnFile(const std::string& path, int flags) {
  int fd = open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
    close(fd);
    return -1;
  }
  return fd;
}

// Replaces the file's content with this process's id. A failed write only means a second start
// cannot bring this copy to the front.
void WriteOwnId(int fd) {
  const std::string id = std::to_string(static_cast<long>(getpid())) + "\n";
  if (ftruncate(fd, 0) == 0 && pwrite(fd, id.data(), id.size(), 0) < 0) return;
}

// The program file a process runs, from /proc; empty when it cannot be read.
std::string ProgramOf(const std::string& process) {
  char path[4096];
  ssize_t length = readlink(("/proc/" + process + "/exe").c_str(), path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

// True when `pid` runs this same program: a lock file can name a process id that has since
// been given to another program, which must never be signalled.
bool RunsThisProgram(long pid) {
  const std::string mine = ProgramOf("self");
  return !mine.empty() && ProgramOf(std::to_string(pid)) == mine;
}

}  // namespace

std::string InstanceLockPath(const char* runtime_dir, const char* display, unsigned uid) {
  const std::string folder = runtime_dir && *runtime_dir ? runtime_dir : "/tmp";
  return folder + "/vork-" + std::to_string(uid) + "-" + FileNamePart(display ? display : "") + ".lock";
}

std::string SessionLockPath() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) display = std::getenv("WAYLAND_DISPLAY");
  return InstanceLockPath(std::getenv("XDG_RUNTIME_DIR"), display, geteuid());
}

LockOutcome TakeInstanceLock(const std::string& path, int* descriptor) {
  *descriptor = -1;
  int fd = OpenOwnFile(path, O_RDWR | O_CREAT);
  if (fd < 0) return LockOutcome::UNAVAILABLE;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return LockOutcome::HELD;
  }
  WriteOwnId(fd);
  *descriptor = fd;
  return LockOutcome::TAKEN;
}

void ReleaseInstanceLock(int descriptor) {
  if (descriptor >= 0) close(descriptor);  // closing the only descriptor ends the lock
}

long InstanceLockHolder(const std::string& path) {
  int fd = OpenOwnFile(path, O_RDONLY);
  if (fd < 0) return 0;
  char text[24] = {};
  ssize_t length = pread(fd, text, sizeof text - 1, 0);
  close(fd);
  if (length <= 0) return 0;
  char* end = nullptr;
  long pid = std::strtol(text, &end, 10);
  return end != text && *end == '\n' && pid > 0 ? pid : 0;
}

void ListenForRaiseRequests() {
  struct sigaction action {};
  action.sa_handler = OnRaiseSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGUSR1, &action, nullptr);
}

bool AskToRaise(long pid) {
  return pid > 0 && RunsThisProgram(pid) && kill(static_cast<pid_t>(pid), SIGUSR1) == 0;
}

bool TakeRaiseRequest() {
  if (!raise_requested) return false;
  raise_requested = 0;
  return true;
}
