// The library's optional diagnostic log: short formatted messages to one text stream.
#pragma once

#include <cstdio>

// The open log stream; null while no log is open (then every LogWrite does nothing).
extern FILE* error_log_file;

// Opens the log on `stream` when given, else on the file `path` (emptied first); 1 when a log is open.
// The log open before is let go first (closed if it was opened from a path); with neither a
// stream nor a path the log stays closed and the result is 0.
int OpenErrorLog(const char* path, FILE* stream);
// Writes the closing line and closes the log (a standard stream stays open); 0 when none was open.
int CloseErrorLog();
// printf-style message of at most 79 characters (longer ones are cut); 0 when no log is open.
int LogWrite(const char* format, ...) __attribute__((format(printf, 1, 2)));
