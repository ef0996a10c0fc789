// The multimedia subset the sound library is written against: the PCM wave format record and
// the RIFF file functions (mmio). Names and values are the published ones.
#pragma once

#include "win32.h"

// ---- Wave formats -------------------------------------------------------------------------

#define WAVE_FORMAT_PCM 1

#pragma pack(push, 1)
// A wave format as stored in a WAV file's format chunk; cbSize extra bytes follow it.
typedef struct tWAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;
} WAVEFORMATEX, *LPWAVEFORMATEX;
#pragma pack(pop)
typedef const WAVEFORMATEX* LPCWAVEFORMATEX;

// ---- RIFF files ---------------------------------------------------------------------------

typedef DWORD FOURCC;
typedef char* HPSTR;
typedef UINT MMRESULT;
DECLARE_HANDLE(HMMIO);

#define mmioFOURCC(a, b, c, d) \
  ((DWORD)(BYTE)(a) | ((DWORD)(BYTE)(b) << 8) | ((DWORD)(BYTE)(c) << 16) | ((DWORD)(BYTE)(d) << 24))

#define MMSYSERR_NOERROR 0
#define MMIOERR_BASE 256
#define MMIOERR_FILENOTFOUND (MMIOERR_BASE + 1)
#define MMIOERR_OUTOFMEMORY (MMIOERR_BASE + 2)
#define MMIOERR_CANNOTOPEN (MMIOERR_BASE + 3)
#define MMIOERR_CANNOTREAD (MMIOERR_BASE + 5)
#define MMIOERR_CANNOTSEEK (MMIOERR_BASE + 7)
#define MMIOERR_CHUNKNOTFOUND (MMIOERR_BASE + 9)

#define MMIO_READ 0x00000000
#define MMIO_WRITE 0x00000001
#define MMIO_READWRITE 0x00000002
#define MMIO_ALLOCBUF 0x00010000

#define MMIO_FINDCHUNK 0x0010
#define MMIO_FINDRIFF 0x0020
#define MMIO_FINDLIST 0x0040

#define MMIO_DIRTY 0x10000000

// The multimedia records are byte-packed, as the system declares them.
#pragma pack(push, 1)
// Open-time options and results of mmioOpenA; pass null for the defaults.
typedef struct _MMIOINFO {
  DWORD dwFlags;
  FOURCC fccIOProc;
  LPVOID pIOProc;
  UINT wErrorRet;
  HANDLE htask;
  LONG cchBuffer;
  HPSTR pchBuffer;
  HPSTR pchNext;
  HPSTR pchEndRead;
  HPSTR pchEndWrite;
  LONG lBufOffset;
  LONG lDiskOffset;
  DWORD adwInfo[3];
  DWORD dwReserved1;
  DWORD dwReserved2;
  HMMIO hmmio;
} MMIOINFO, *LPMMIOINFO;

// One RIFF chunk: its id, data size, form type (RIFF and LIST), and where its data starts.
typedef struct _MMCKINFO {
  FOURCC ckid;
  DWORD cksize;
  FOURCC fccType;
  DWORD dwDataOffset;
  DWORD dwFlags;
} MMCKINFO, *LPMMCKINFO;
#pragma pack(pop)
typedef const MMCKINFO* LPCMMCKINFO;

// Opens a file for chunk-wise reading; null when it cannot be opened.
HMMIO WINAPI mmioOpenA(LPSTR file_name, LPMMIOINFO info, DWORD flags);
// Enters a chunk: the next one, or with MMIO_FINDRIFF / MMIO_FINDCHUNK / MMIO_FINDLIST the first
// of the id (and form type) wanted inside `parent` (or the file); 0 on success.
MMRESULT WINAPI mmioDescend(HMMIO file, LPMMCKINFO chunk, LPCMMCKINFO parent, UINT flags);
// Reads up to `count` bytes at the current position; the bytes read, or -1 on error.
LONG WINAPI mmioRead(HMMIO file, HPSTR data, LONG count);
// Leaves a chunk: moves past its data and its pad byte; 0 on success.
MMRESULT WINAPI mmioAscend(HMMIO file, LPMMCKINFO chunk, UINT flags);
// Moves the position: origin SEEK_SET, SEEK_CUR or SEEK_END; the new position, or -1.
LONG WINAPI mmioSeek(HMMIO file, LONG offset, int origin);
// Closes the file; 0 on success.
MMRESULT WINAPI mmioClose(HMMIO file, UINT flags);
