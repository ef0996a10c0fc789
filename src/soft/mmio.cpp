// RIFF file reading over ordinary files. Positions are kept in 64 bits and every chunk search
// moves forward by at least a chunk header, so no chunk size, however wrong, can wrap a
// position or make a search go on forever.
#include <cstdio>
#include <cstring>

#include "data_file.h"
#include "mmsystem.h"
#include "soft/faults.h"

namespace {

// The record behind an HMMIO handle.
struct MmioFile {
  FILE* file;
  uint64_t size;      // bytes in the file
  uint64_t position;  // where the next read starts
};

MmioFile* Opened(HMMIO handle) { return reinterpret_cast<MmioFile*>(handle); }

constexpr FOURCC RIFF_ID = mmioFOURCC('R', 'I', 'F', 'F');
constexpr FOURCC LIST_ID = mmioFOURCC('L', 'I', 'S', 'T');
constexpr uint64_t HEADER_BYTES = 8;
constexpr uint64_t FORM_TYPE_BYTES = 4;

uint32_t LittleEndian32(const uint8_t* bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

// Reads `count` bytes at `offset`; false if the file does not hold them all.
bool ReadAt(MmioFile* file, uint64_t offset, uint8_t* out, uint64_t count) {
  if (offset > file->size || count > file->size - offset) return false;
  if (std::fseek(file->file, static_cast<long>(offset), SEEK_SET) != 0) return false;
  return std::fread(out, 1, count, file->file) == count;
}

bool HasFormType(FOURCC id) { return id == RIFF_ID || id == LIST_ID; }

// Whether a chunk found at the current place is the one the flags ask for.
bool IsWanted(const MMCKINFO& found, const MMCKINFO& wanted, UINT flags) {
  if (flags & MMIO_FINDRIFF) return found.ckid == RIFF_ID && found.fccType == wanted.fccType;
  if (flags & MMIO_FINDLIST) return found.ckid == LIST_ID && found.fccType == wanted.fccType;
  if (flags & MMIO_FINDCHUNK) return found.ckid == wanted.ckid;
  return true;
}

// Reads the chunk header at `offset`; false when it does not fit before `end`.
bool ReadHeader(MmioFile* file, uint64_t offset, uint64_t end, MMCKINFO* chunk) {
  uint8_t header[HEADER_BYTES + FORM_TYPE_BYTES];
  if (offset + HEADER_BYTES > end || !ReadAt(file, offset, header, HEADER_BYTES)) return false;
  chunk->ckid = LittleEndian32(header);
  chunk->cksize = LittleEndian32(header + 4);
  chunk->fccType = 0;
  chunk->dwDataOffset = static_cast<DWORD>(offset + HEADER_BYTES);
  chunk->dwFlags = 0;
  if (HasFormType(chunk->ckid)) {
    if (offset + HEADER_BYTES + FORM_TYPE_BYTES > end) return false;
    if (!ReadAt(file, offset + HEADER_BYTES, header + HEADER_BYTES, FORM_TYPE_BYTES)) return false;
    chunk->fccType = LittleEndian32(header + HEADER_BYTES);
  }
  return true;
}

// Where the chunk's data ends, pad byte included.
uint64_t ChunkEnd(const MMCKINFO& chunk) {
  return static_cast<uint64_t>(chunk.dwDataOffset) + chunk.cksize + (chunk.cksize & 1);
}

}  // namespace

HMMIO WINAPI mmioOpenA(LPSTR file_name, LPMMIOINFO info, DWORD flags) {
  if (info) info->wErrorRet = MMSYSERR_NOERROR;
  const bool reading = (flags & (MMIO_WRITE | MMIO_READWRITE)) == 0;
  FILE* file = (file_name && reading) ? OpenDataFile(file_name, "rb") : nullptr;
  if (file == nullptr) {
    if (info) info->wErrorRet = reading ? MMIOERR_FILENOTFOUND : MMIOERR_CANNOTOPEN;
    return nullptr;
  }
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  if (size < 0 || size > 0x7FFFFFFF) {  // chunk offsets are 32-bit
    std::fclose(file);
    if (info) info->wErrorRet = MMIOERR_CANNOTSEEK;
    return nullptr;
  }
  return reinterpret_cast<HMMIO>(new MmioFile{file, static_cast<uint64_t>(size), 0});
}

MMRESULT WINAPI mmioDescend(HMMIO handle, LPMMCKINFO chunk, LPCMMCKINFO parent, UINT flags) {
  MmioFile* file = Opened(handle);
  if (file == nullptr || chunk == nullptr) return MMIOERR_CANNOTREAD;
  uint64_t end = file->size;
  if (parent) {
    const uint64_t parent_end = static_cast<uint64_t>(parent->dwDataOffset) + parent->cksize;
    if (parent_end < end) end = parent_end;
  }
  const MMCKINFO wanted = *chunk;
  for (uint64_t offset = file->position; offset + HEADER_BYTES <= end;) {
    MMCKINFO found;
    if (!ReadHeader(file, offset, end, &found)) return MMIOERR_CHUNKNOTFOUND;
    if (IsWanted(found, wanted, flags)) {
      *chunk = found;
      file->position = found.dwDataOffset + (HasFormType(found.ckid) ? FORM_TYPE_BYTES : 0);
      return MMSYSERR_NOERROR;
    }
    offset = ChunkEnd(found);
  }
  return MMIOERR_CHUNKNOTFOUND;
}

LONG WINAPI mmioRead(HMMIO handle, HPSTR data, LONG count) {
  MmioFile* file = Opened(handle);
  if (file == nullptr || data == nullptr || count < 0) return -1;
  if (FaultHits(PlatformCall::FileRead)) return -1;
  if (file->position >= file->size) return 0;
  const uint64_t left = file->size - file->position;
  const uint64_t wanted = static_cast<uint64_t>(count) < left ? static_cast<uint64_t>(count) : left;
  if (std::fseek(file->file, static_cast<long>(file->position), SEEK_SET) != 0) return -1;
  const size_t got = std::fread(data, 1, wanted, file->file);
  file->position += got;
  return static_cast<LONG>(got);
}

MMRESULT WINAPI mmioAscend(HMMIO handle, LPMMCKINFO chunk, UINT) {
  MmioFile* file = Opened(handle);
  if (file == nullptr || chunk == nullptr) return MMIOERR_CANNOTSEEK;
  file->position = ChunkEnd(*chunk);
  return MMSYSERR_NOERROR;
}

LONG WINAPI mmioSeek(HMMIO handle, LONG offset, int origin) {
  MmioFile* file = Opened(handle);
  if (file == nullptr) return -1;
  int64_t base = 0;
  if (origin == SEEK_CUR) base = static_cast<int64_t>(file->position);
  else if (origin == SEEK_END) base = static_cast<int64_t>(file->size);
  else if (origin != SEEK_SET) return -1;
  const int64_t target = base + offset;
  if (target < 0 || target > 0x7FFFFFFF) return -1;
  file->position = static_cast<uint64_t>(target);
  return static_cast<LONG>(target);
}

MMRESULT WINAPI mmioClose(HMMIO handle, UINT) {
  MmioFile* file = Opened(handle);
  if (file == nullptr) return MMIOERR_CANNOTREAD;
  std::fclose(file->file);
  delete file;
  return MMSYSERR_NOERROR;
}
