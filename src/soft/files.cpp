// The file calls of the picture reader (OpenFile, _lread, _llseek, _lclose) over OpenDataFile, so
// the host hears of every file the program opens. Handles index a small table of open streams.
#include <cstdio>
#include <cstring>

#include "data_file.h"
#include "soft/faults.h"
#include "soft/files.h"
#include "win32.h"

namespace {

// More files than the program ever holds open at once.
constexpr int MAX_OPEN_FILES = 16;
// Handles start above the standard streams' numbers, as real file handles do.
constexpr HFILE FIRST_HANDLE = 3;
// Error codes OpenFile reports in nErrCode.
constexpr WORD ERROR_FILE_NOT_FOUND_CODE = 2;
constexpr WORD ERROR_TOO_MANY_OPEN_FILES_CODE = 4;
constexpr WORD ERROR_ACCESS_DENIED_CODE = 5;

FILE* open_files[MAX_OPEN_FILES];

FILE* StreamOf(HFILE file) {
  const int slot = file - FIRST_HANDLE;
  if (slot < 0 || slot >= MAX_OPEN_FILES) return nullptr;
  return open_files[slot];
}

int FreeSlot() {
  for (int slot = 0; slot < MAX_OPEN_FILES; ++slot)
    if (open_files[slot] == nullptr) return slot;
  return -1;
}

void Report(LPOFSTRUCT open_info, LPCSTR file_name, WORD error) {
  if (open_info == nullptr) return;
  std::memset(open_info, 0, sizeof *open_info);
  open_info->cBytes = static_cast<BYTE>(sizeof *open_info);
  open_info->nErrCode = error;
  if (file_name) std::strncpy(open_info->szPathName, file_name, OFS_MAXPATHNAME - 1);
}

}  // namespace

HFILE WINAPI OpenFile(LPCSTR file_name, LPOFSTRUCT open_info, UINT style) {
  if (file_name == nullptr || (style & 3) != OF_READ) {  // only reading is offered
    Report(open_info, file_name, ERROR_ACCESS_DENIED_CODE);
    return HFILE_ERROR;
  }
  const int slot = FreeSlot();
  if (slot < 0) {
    Report(open_info, file_name, ERROR_TOO_MANY_OPEN_FILES_CODE);
    return HFILE_ERROR;
  }
  open_files[slot] = OpenDataFile(file_name, "rb");
  Report(open_info, file_name, open_files[slot] ? 0 : ERROR_FILE_NOT_FOUND_CODE);
  return open_files[slot] ? FIRST_HANDLE + slot : HFILE_ERROR;
}

UINT WINAPI _lread(HFILE file, LPVOID buffer, UINT count) {
  FILE* stream = StreamOf(file);
  if (stream == nullptr || (buffer == nullptr && count > 0)) return static_cast<UINT>(HFILE_ERROR);
  if (FaultHits(PlatformCall::FileRead)) return static_cast<UINT>(HFILE_ERROR);
  return static_cast<UINT>(std::fread(buffer, 1, count, stream));
}

LONG WINAPI _llseek(HFILE file, LONG offset, int origin) {
  FILE* stream = StreamOf(file);
  static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (stream == nullptr || origin < FILE_BEGIN || origin > FILE_END) return HFILE_ERROR;
  if (std::fseek(stream, offset, whence[origin]) != 0) return HFILE_ERROR;
  const long position = std::ftell(stream);
  return position < 0 || position > 0x7FFFFFFF ? HFILE_ERROR : static_cast<LONG>(position);
}

HFILE WINAPI _lclose(HFILE file) {
  FILE* stream = StreamOf(file);
  if (stream == nullptr) return HFILE_ERROR;
  open_files[file - FIRST_HANDLE] = nullptr;
  return std::fclose(stream) == 0 ? 0 : HFILE_ERROR;
}

int SoftOpenFileCount() {
  int count = 0;
  for (FILE* stream : open_files) count += stream != nullptr;
  return count;
}
