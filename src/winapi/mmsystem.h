/// \file
/// The multimedia subset the sound library is written against: the PCM wave format record and
/// the RIFF file functions (mmio). Names and values are the published ones.
#pragma once

#include "win32.h"

// ---- Wave formats -------------------------------------------------------------------------

#define WAVE_FORMAT_PCM 1  ///< Wave format tag: integer PCM samples.

#pragma pack(push, 1)
/// A wave format as stored in a WAV file's format chunk; cbSize extra bytes follow it.
typedef struct tWAVEFORMATEX {
  WORD wFormatTag;        ///< WAVE_FORMAT_* tag
  WORD nChannels;         ///< channels: 1 mono, 2 stereo
  DWORD nSamplesPerSec;   ///< frames per second
  DWORD nAvgBytesPerSec;  ///< bytes per second
  WORD nBlockAlign;       ///< bytes per frame
  WORD wBitsPerSample;    ///< bits per sample
  WORD cbSize;            ///< bytes of extra format data after this record
} WAVEFORMATEX, *LPWAVEFORMATEX;  ///< Pointer to a WAVEFORMATEX.
#pragma pack(pop)
typedef const WAVEFORMATEX* LPCWAVEFORMATEX;  ///< Pointer to a constant WAVEFORMATEX.

// ---- RIFF files ---------------------------------------------------------------------------

typedef DWORD FOURCC;   ///< A four-character code, first character in the low byte.
typedef char* HPSTR;    ///< Pointer into a buffer.
typedef UINT MMRESULT;  ///< Result of a multimedia call: 0 on success.

/// A file opened with mmioOpen.
DECLARE_HANDLE(HMMIO);

/// A FOURCC from four characters.
#define mmioFOURCC(a, b, c, d) \
  ((DWORD)(BYTE)(a) | ((DWORD)(BYTE)(b) << 8) | ((DWORD)(BYTE)(c) << 16) | ((DWORD)(BYTE)(d) << 24))

#define MMSYSERR_NOERROR 0                        ///< Success.
#define MMIOERR_BASE 256                          ///< First multimedia file error number.
#define MMIOERR_FILENOTFOUND (MMIOERR_BASE + 1)   ///< The file was not found.
#define MMIOERR_OUTOFMEMORY (MMIOERR_BASE + 2)    ///< Memory ran out.
#define MMIOERR_CANNOTOPEN (MMIOERR_BASE + 3)     ///< The file cannot be opened.
#define MMIOERR_CANNOTREAD (MMIOERR_BASE + 5)     ///< The file cannot be read.
#define MMIOERR_CANNOTSEEK (MMIOERR_BASE + 7)     ///< The file position cannot be moved.
#define MMIOERR_CHUNKNOTFOUND (MMIOERR_BASE + 9)  ///< No chunk with the asked-for identifier.

#define MMIO_READ 0x00000000       ///< mmioOpen: for reading.
#define MMIO_WRITE 0x00000001      ///< mmioOpen: for writing.
#define MMIO_READWRITE 0x00000002  ///< mmioOpen: for reading and writing.
#define MMIO_ALLOCBUF 0x00010000   ///< mmioOpen: with an I/O buffer.

#define MMIO_FINDCHUNK 0x0010  ///< mmioDescend: a chunk with the identifier ckid.
#define MMIO_FINDRIFF 0x0020   ///< mmioDescend: a RIFF chunk with the form type fccType.
#define MMIO_FINDLIST 0x0040   ///< mmioDescend: a LIST chunk with the list type fccType.

#define MMIO_DIRTY 0x10000000  ///< The chunk's size must be written when it is ascended from.

// The multimedia records are byte-packed, as the system declares them.
#pragma pack(push, 1)
/// Open-time options and results of mmioOpenA; pass null for the defaults.
typedef struct _MMIOINFO {
  DWORD dwFlags;      ///< flags the file was opened with
  FOURCC fccIOProc;   ///< I/O procedure's code
  LPVOID pIOProc;     ///< I/O procedure
  UINT wErrorRet;     ///< error code of a failed mmioOpen
  HANDLE htask;       ///< task that opened the file
  LONG cchBuffer;     ///< size of the I/O buffer
  HPSTR pchBuffer;    ///< the I/O buffer
  HPSTR pchNext;      ///< next byte to read or write in it
  HPSTR pchEndRead;   ///< one past the last valid byte read
  HPSTR pchEndWrite;  ///< one past the last byte that may be written
  LONG lBufOffset;    ///< file offset of the buffer's start
  LONG lDiskOffset;   ///< current file offset
  DWORD adwInfo[3];   ///< I/O procedure's own data
  DWORD dwReserved1;  ///< reserved
  DWORD dwReserved2;  ///< reserved
  HMMIO hmmio;        ///< the file's handle
} MMIOINFO, *LPMMIOINFO;  ///< Pointer to a MMIOINFO.

/// One RIFF chunk: its id, data size, form type (RIFF and LIST), and where its data starts.
typedef struct _MMCKINFO {
  FOURCC ckid;         ///< chunk identifier
  DWORD cksize;        ///< bytes of data in the chunk
  FOURCC fccType;      ///< form or list type of RIFF and LIST chunks
  DWORD dwDataOffset;  ///< file offset of the chunk's data
  DWORD dwFlags;       ///< MMIO_DIRTY when the size must be written
} MMCKINFO, *LPMMCKINFO;  ///< Pointer to a MMCKINFO.
#pragma pack(pop)
typedef const MMCKINFO* LPCMMCKINFO;  ///< Pointer to a constant MMCKINFO.

/// Opens a file for chunk-wise reading; null when it cannot be opened.
HMMIO WINAPI mmioOpenA(LPSTR file_name, LPMMIOINFO info, DWORD flags);
/// Enters a chunk: the next one, or with MMIO_FINDRIFF / MMIO_FINDCHUNK / MMIO_FINDLIST the first
/// of the id (and form type) wanted inside `parent` (or the file); 0 on success.
MMRESULT WINAPI mmioDescend(HMMIO file, LPMMCKINFO chunk, LPCMMCKINFO parent, UINT flags);
/// Reads up to `count` bytes at the current position; the bytes read, or -1 on error.
LONG WINAPI mmioRead(HMMIO file, HPSTR data, LONG count);
/// Leaves a chunk: moves past its data and its pad byte; 0 on success.
MMRESULT WINAPI mmioAscend(HMMIO file, LPMMCKINFO chunk, UINT flags);
/// Moves the position: origin SEEK_SET, SEEK_CUR or SEEK_END; the new position, or -1.
LONG WINAPI mmioSeek(HMMIO file, LONG offset, int origin);
/// Closes the file; 0 on success.
MMRESULT WINAPI mmioClose(HMMIO file, UINT flags);
