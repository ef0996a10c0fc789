// Diagnostic log: the opening line with a millisecond time stamp, then messages as written.
#include "display/error_log.h"

#include <chrono>
#include <cstdarg>
#include <ctime>

#include "data_file.h"

FILE* error_log_file = nullptr;

// Built from standard C++ alone (no strftime %e, no localtime_r), so that every C runtime
// writes the same text.
void FormatLogTimeStamp(const tm& local, int milliseconds, char* out, size_t size) {
  static const char kDays[] = "SunMonTueWedThuFriSat";
  static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  std::snprintf(out, size, "%.3s %.3s %2d %02d:%02d:%02d.%hu, %d\n", kDays + 3 * (local.tm_wday % 7),
                kMonths + 3 * (local.tm_mon % 12), local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<unsigned short>(milliseconds), local.tm_year + 1900);
}

namespace {

// Local time now, as the opening line shows it.
void FormatTimeStamp(char* out, size_t size) {
  using std::chrono::system_clock;
  const system_clock::time_point now = system_clock::now();
  const time_t seconds = system_clock::to_time_t(now);
  const long long since_epoch =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  tm local{};
  if (const tm* converted = std::localtime(&seconds)) local = *converted;  // copied: shared buffer
  FormatLogTimeStamp(local, static_cast<int>(since_epoch % 1000), out, size);
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
