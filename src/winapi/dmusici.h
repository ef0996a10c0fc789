/// \file
/// The subset of DirectMusic that the music library is written against: the performance that
/// plays segments, the loader that reads them from files, and the segments themselves.
/// Names, GUIDs and values are the published ones.
#pragma once

#include "dsound.h"
#include "objbase.h"
#include "win32.h"

struct IDirectMusic;
struct IDirectMusicPort;
struct IDirectMusicSegment;
struct IDirectMusicSegmentState;
struct IDirectMusicPerformance;
struct IDirectMusicLoader;

/// Music time in the performance's ticks; reference time in 100-nanosecond steps.
typedef long MUSIC_TIME;
typedef LONGLONG REFERENCE_TIME;  ///< Time in 100-nanosecond steps.

// ---- Classes, interfaces and parameter kinds --------------------------------------------

static const GUID CLSID_DirectMusicPerformance = {0xD2AC2881, 0xB39B, 0x11D1, {0x87, 0x04, 0x00, 0x60, 0x08, 0x93, 0xB1, 0xBD}};
static const GUID CLSID_DirectMusicSegment = {0xD2AC2882, 0xB39B, 0x11D1, {0x87, 0x04, 0x00, 0x60, 0x08, 0x93, 0xB1, 0xBD}};
static const GUID CLSID_DirectMusicLoader = {0xD2AC2892, 0xB39B, 0x11D1, {0x87, 0x04, 0x00, 0x60, 0x08, 0x93, 0xB1, 0xBD}};
static const GUID GUID_DirectMusicAllTypes = {0xD2AC2893, 0xB39B, 0x11D1, {0x87, 0x04, 0x00, 0x60, 0x08, 0x93, 0xB1, 0xBD}};
static const GUID IID_IDirectMusicPerformance = {0x07D43D03, 0x6523, 0x11D2, {0x87, 0x1D, 0x00, 0x60, 0x08, 0x93, 0xB1, 0xBD}};
static const GUID IID_IDirectMusicLoader = {0x2FFAACA2, 0x5DCA, 0x11D2, {0xAF, 0xA6, 0x00, 0xAA, 0x00, 0x24, 0xD8, 0xB6}};
static const GUID IID_IDirectMusicSegment = {0xF96029A2, 0x4282, 0x11D2, {0x87, 0x17, 0x00, 0x60, 0x08, 0x93, 0xB1, 0xBD}};
static const GUID GUID_StandardMIDIFile = {0x06621075, 0xE92E, 0x11D1, {0xA8, 0xC5, 0x00, 0xC0, 0x4F, 0xA3, 0x72, 0x6E}};
static const GUID GUID_Download = {0xD2AC28A7, 0xB39B, 0x11D1, {0x87, 0x04, 0x00, 0x60, 0x08, 0x93, 0xB1, 0xBD}};
static const GUID GUID_Unload = {0xD2AC28A8, 0xB39B, 0x11D1, {0x87, 0x04, 0x00, 0x60, 0x08, 0x93, 0xB1, 0xBD}};

// ---- Object descriptions ----------------------------------------------------------------

#define DMUS_MAX_NAME 64            ///< Longest object name, in characters.
#define DMUS_MAX_CATEGORY 64        ///< Longest category name, in characters.
#define DMUS_MAX_FILENAME MAX_PATH  ///< Longest file name, in characters.

#define DMUS_OBJ_OBJECT (1 << 0)    ///< guidObject is valid.
#define DMUS_OBJ_CLASS (1 << 1)     ///< guidClass is valid.
#define DMUS_OBJ_NAME (1 << 2)      ///< wszName is valid.
#define DMUS_OBJ_CATEGORY (1 << 3)  ///< wszCategory is valid.
#define DMUS_OBJ_FILENAME (1 << 4)  ///< wszFileName is valid.
#define DMUS_OBJ_FULLPATH (1 << 5)  ///< wszFileName is a full path.
#define DMUS_OBJ_URL (1 << 6)       ///< wszFileName is a URL.
#define DMUS_OBJ_VERSION (1 << 7)   ///< vVersion is valid.
#define DMUS_OBJ_DATE (1 << 8)      ///< ftDate is valid.
#define DMUS_OBJ_LOADED (1 << 9)    ///< The object is loaded.
#define DMUS_OBJ_MEMORY (1 << 10)   ///< The object is in memory at pbMemData.
#define DMUS_OBJ_STREAM (1 << 11)   ///< The object is read from pStream.

/// A version number in two 32-bit halves.
typedef struct _DMUS_VERSION {
  DWORD dwVersionMS;  ///< high 32 bits of the version
  DWORD dwVersionLS;  ///< low 32 bits of the version
} DMUS_VERSION, *LPDMUS_VERSION;  ///< Pointer to a DMUS_VERSION.

/// What the loader is asked for: which fields are valid says how the object is found.
typedef struct _DMUS_OBJECTDESC {
  DWORD dwSize;                          ///< size of this record in bytes
  DWORD dwValidData;                     ///< DMUS_OBJ_* bits: which fields are valid
  GUID guidObject;                       ///< the object's own identifier
  GUID guidClass;                        ///< its class (CLSID_DirectMusicSegment)
  FILETIME ftDate;                       ///< date of the file
  DMUS_VERSION vVersion;                 ///< version
  WCHAR wszName[DMUS_MAX_NAME];          ///< name
  WCHAR wszCategory[DMUS_MAX_CATEGORY];  ///< category
  WCHAR wszFileName[DMUS_MAX_FILENAME];  ///< file name, or full path with DMUS_OBJ_FULLPATH
  LONGLONG llMemLength;                  ///< bytes at pbMemData
  LPBYTE pbMemData;                      ///< the object in memory
  IStream* pStream;                      ///< stream to read it from
} DMUS_OBJECTDESC, *LPDMUS_OBJECTDESC;  ///< Pointer to a DMUS_OBJECTDESC.

// ---- Flags ------------------------------------------------------------------------------

#define DMUS_SEGF_REFTIME (1 << 6)            ///< Segment: the start time is reference time, not music time.
#define DMUS_SEGF_SECONDARY (1 << 7)          ///< Segment: a secondary segment, played over the primary one.
#define DMUS_SEGF_QUEUE (1 << 8)              ///< Segment: queued after the segments already playing.
#define DMUS_SEGF_CONTROL (1 << 9)            ///< Segment: a secondary segment that takes control.
#define DMUS_SEGF_AFTERPREPARETIME (1 << 10)  ///< Segment: starts after the prepared time.
#define DMUS_SEGF_GRID (1 << 11)              ///< Segment: starts on a grid boundary.
#define DMUS_SEGF_BEAT (1 << 12)              ///< Segment: starts on a beat.
#define DMUS_SEGF_MEASURE (1 << 13)           ///< Segment: starts on a bar.
#define DMUS_SEGF_DEFAULT (1 << 14)           ///< Segment: starts at the segment's own default boundary.
#define DMUS_SEGF_NOINVALIDATE (1 << 15)      ///< Segment: does not invalidate what is already prepared.

// ---- Interfaces -------------------------------------------------------------------------

/// A piece of music: a loaded file and the tracks it holds.
struct IDirectMusicSegment : IUnknown {
  /// Hands a parameter of kind `type` (GUID_StandardMIDIFile, GUID_Download, GUID_Unload) to the
  /// tracks in `group_bits`; for the instrument kinds `param` is the performance.
  virtual HRESULT STDMETHODCALLTYPE SetParam(REFGUID type, DWORD group_bits, DWORD index, MUSIC_TIME time,
                                             void* param) = 0;
};

/// One playing of a segment.
struct IDirectMusicSegmentState : IUnknown {};

/// Plays segments through a synthesiser into the DirectSound object it was built on.
struct IDirectMusicPerformance : IUnknown {
  /// Prepares the performance over `direct_sound`; no DirectMusic object of its own when
  /// `direct_music` is null.
  virtual HRESULT STDMETHODCALLTYPE Init(IDirectMusic** direct_music, LPDIRECTSOUND direct_sound, HWND window) = 0;
  /// Plays `segment`, now or at `start_time`; its playing state goes to *segment_state when asked.
  virtual HRESULT STDMETHODCALLTYPE PlaySegment(IDirectMusicSegment* segment, DWORD flags, LONGLONG start_time,
                                                IDirectMusicSegmentState** segment_state) = 0;
  /// Stops `segment` (null: everything) at `time` (0: now).
  virtual HRESULT STDMETHODCALLTYPE Stop(IDirectMusicSegment* segment, IDirectMusicSegmentState* segment_state,
                                         MUSIC_TIME time, DWORD flags) = 0;
  /// S_OK while `segment` plays, S_FALSE otherwise.
  virtual HRESULT STDMETHODCALLTYPE IsPlaying(IDirectMusicSegment* segment,
                                              IDirectMusicSegmentState* segment_state) = 0;
  /// Adds an output port (null: the default synthesiser).
  virtual HRESULT STDMETHODCALLTYPE AddPort(IDirectMusicPort* port) = 0;
  /// Stops everything and lets go of the synthesiser; call before the last Release.
  virtual HRESULT STDMETHODCALLTYPE CloseDown() = 0;
};

/// Finds and reads music objects from files.
struct IDirectMusicLoader : IUnknown {
  /// Finds and loads the object `desc` describes, handing out its interface `iid`.
  virtual HRESULT STDMETHODCALLTYPE GetObject(LPDMUS_OBJECTDESC desc, REFIID iid, LPVOID* object) = 0;
  /// Where objects of `class_id` (GUID_DirectMusicAllTypes: every kind) are looked for.
  virtual HRESULT STDMETHODCALLTYPE SetSearchDirectory(REFGUID class_id, WCHAR* path, BOOL clear) = 0;
};
