// Data files on Windows: the C runtime's fopen; nothing watches which files a run opens.
#include "data_file.h"

FILE* OpenDataFile(const char* path, const char* mode) {
  if (path == nullptr || mode == nullptr) return nullptr;
  return std::fopen(path, mode);
}
