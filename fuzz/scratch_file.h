// The fuzz targets whose library call only takes a file name write each input to one scratch
// file in memory-backed /dev/shm (in /tmp where there is none), so no input costs a disk write.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

// One file per process, /dev/shm/vork-<pid>.<extension>, removed when the process ends.
struct ScratchFile {
  std::string path;  // where the inputs are written

  explicit ScratchFile(const char* extension)
      : path(std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/vork-" +
             std::to_string(getpid()) + "." + extension) {}
  ~ScratchFile() { unlink(path.c_str()); }

  // Replaces the file's contents with the input; false when it cannot be written whole.
  bool Write(const uint8_t* data, size_t size) const {
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (file < 0) return false;
    size_t written = 0;
    while (written < size) {
      const ssize_t count = write(file, data + written, size - written);
      if (count <= 0) break;
      written += static_cast<size_t>(count);
    }
    return close(file) == 0 && written == size;
  }
};
