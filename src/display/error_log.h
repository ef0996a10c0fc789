/// \file
/// The library's optional diagnostic log: short formatted messages to one text stream.
#pragma once

#include <cstddef>
#include <cstdio>
#include <ctime>

#include "format_check.h"

/// The open log stream; null while no log is open (then every LogWrite does nothing).
extern FILE* error_log_file;

/// Opens the log on `stream` when given, else on the file `path` (emptied first); 1 when a log is open.
/// The log open before is let go first (closed if it was opened from a path); with neither a
/// stream nor a path the log stays closed and the result is 0.
int OpenErrorLog(const char* path, FILE* stream);
/// Writes the closing line and closes the log (a standard stream stays open); 0 when none was open.
int CloseErrorLog();
/// printf-style message of at most 79 characters (longer ones are cut); 0 when no log is open.
int LogWrite(const char* format, ...) PRINTF_FORMAT(1, 2);
/// The opening line's time stamp, "Www Mmm dd hh:mm:ss.mmm, yyyy\n" (day padded with a space).
void FormatLogTimeStamp(const tm& local, int milliseconds, char* out, size_t size);
