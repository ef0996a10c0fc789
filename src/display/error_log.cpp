// Diagnostic log: the opening line with a millisecond time stamp, then messages as written.
#include "display/error_log.h"

#include <cstdarg>
#include <ctime>

#include "data_file.h"

FILE* error_log_file = nullptr;

namespace {

// Local time as "Www Mmm dd hh:mm:ss.mmm, yyyy\n".
void FormatTimeStamp(char* out, size_t size) {
  timespec now{};
  timespec_get(&now, TIME_UTC);
  const time_t seconds = now.tv_sec;
  tm local{};
  localtime_r(&seconds, &local);
  char text[32];  // the runtime's 24-character text: "Www Mmm dd hh:mm:ss yyyy\n"
  std::strftime(text, sizeof text, "%a %b %e %H:%M:%S %Y\n", &local);
  const unsigned short milliseconds = static_cast<unsigned short>(now.tv_nsec / 1000000);
  std::snprintf(out, size, "%.19s.%hu, %s", text, milliseconds, text + 20);
}

}  // namespace

namespace {

// Whether error_log_file was opened here from a path (then it is ours to close).
bool log_opened_from_path = false;

// Lets go of the current log before another takes its place: a stream opened from a path is
// closed, one the caller handed in stays the caller's.
void DropLog() {
  if (error_log_file && log_opened_from_path) std::fclose(error_log_file);
  error_log_file = nullptr;
  log_opened_from_path = false;
}

}  // namespace

int OpenErrorLog(const char* path, FILE* stream) {
  DropLog();
  if (stream == nullptr && path == nullptr) return 0;
  error_log_file = stream ? stream : OpenDataFile(path, "w");
  if (error_log_file == nullptr) return 0;
  char time_stamp[64];
  FormatTimeStamp(time_stamp, sizeof time_stamp);
  LogWrite("\nOpening Error Output File (%s) on %s\n", path ? path : "", time_stamp);
  if (stream) return 1;
  // Reopen for appending, so that everything written from now on follows the opening line.
  std::fclose(error_log_file);
  error_log_file = OpenDataFile(path, "a+");
  log_opened_from_path = error_log_file != nullptr;
  return error_log_file ? 1 : 0;
}

int CloseErrorLog() {
  if (error_log_file == nullptr) return 0;
  LogWrite("\nClosing Error Output File.");
  if (error_log_file != stdout && error_log_file != stderr) std::fclose(error_log_file);
  error_log_file = nullptr;
  log_opened_from_path = false;
  return 1;
}

int LogWrite(const char* format, ...) {
  if (format == nullptr || error_log_file == nullptr) return 0;
  char buffer[80];  // one message: at most 79 characters, a longer one is cut here
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(buffer, sizeof buffer, format, arguments);
  va_end(arguments);
  std::fputs(buffer, error_log_file);
  std::fflush(error_log_file);
  return 1;
}
