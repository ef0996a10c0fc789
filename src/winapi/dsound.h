/// \file
/// The subset of DirectSound that the sound library is written against: the DirectSound object,
/// secondary buffers with their lock, play, status, volume, pan and frequency controls.
/// Names and values are the published ones.
#pragma once

#include "mmsystem.h"
#include "win32.h"

struct IDirectSound;
struct IDirectSoundBuffer;
typedef IDirectSound* LPDIRECTSOUND;              ///< The DirectSound object.
typedef IDirectSoundBuffer* LPDIRECTSOUNDBUFFER;  ///< A sound buffer: samples that play, loop, stop.
typedef const GUID* LPCGUID;                      ///< Pointer to a constant GUID.

// ---- Result codes -------------------------------------------------------------------------

/// A DirectSound failure result from its code.
#define MAKE_DSHRESULT(code) ((HRESULT)(0x88780000u | (code)))

#define DS_OK S_OK                                ///< Success.
#define DSERR_GENERIC E_FAIL                      ///< Unspecified failure.
#define DSERR_INVALIDPARAM E_INVALIDARG           ///< An argument is invalid.
#define DSERR_OUTOFMEMORY E_OUTOFMEMORY           ///< Memory ran out.
#define DSERR_NOINTERFACE E_NOINTERFACE           ///< The object has no such interface.
#define DSERR_ALLOCATED MAKE_DSHRESULT(10)        ///< The device is in use by another program.

/// The buffer was not made with the control (DSBCAPS_CTRL*) the call needs.
#define DSERR_CONTROLUNAVAIL MAKE_DSHRESULT(30)
#define DSERR_INVALIDCALL MAKE_DSHRESULT(50)      ///< The call is not valid in the object's present state.
#define DSERR_PRIOLEVELNEEDED MAKE_DSHRESULT(70)  ///< The call needs a higher cooperative level.
#define DSERR_BADFORMAT MAKE_DSHRESULT(100)       ///< The wave format is not supported.
#define DSERR_NODRIVER MAKE_DSHRESULT(120)        ///< There is no sound device.
#define DSERR_BUFFERLOST MAKE_DSHRESULT(150)  ///< The buffer's memory was lost: restore it before playing.

// ---- Flags and limits ---------------------------------------------------------------------

#define DSSCL_NORMAL 0x00000001  ///< Cooperative level: share the device; the primary format stays as it is.
#define DSSCL_PRIORITY 0x00000002      ///< Cooperative level: may set the primary buffer's format.
#define DSSCL_EXCLUSIVE 0x00000003     ///< Cooperative level: exclusive use while the window has the focus.
#define DSSCL_WRITEPRIMARY 0x00000004  ///< Cooperative level: writes the primary buffer itself.

#define DSBCAPS_PRIMARYBUFFER 0x00000001        ///< Buffer: the primary buffer, the mix that is heard.
#define DSBCAPS_STATIC 0x00000002               ///< Buffer: a short sound played many times.
#define DSBCAPS_LOCHARDWARE 0x00000004          ///< Buffer: mixed by the sound card.
#define DSBCAPS_LOCSOFTWARE 0x00000008          ///< Buffer: mixed in software.
#define DSBCAPS_CTRL3D 0x00000010               ///< Buffer: has 3D position controls.
#define DSBCAPS_CTRLFREQUENCY 0x00000020        ///< Buffer: its frequency can be changed.
#define DSBCAPS_CTRLPAN 0x00000040              ///< Buffer: its pan can be changed.
#define DSBCAPS_CTRLVOLUME 0x00000080           ///< Buffer: its volume can be changed.
#define DSBCAPS_CTRLPOSITIONNOTIFY 0x00000100   ///< Buffer: can notify positions.
#define DSBCAPS_GLOBALFOCUS 0x00008000          ///< Buffer: heard also while another program has the focus.

/// Buffer: GetCurrentPosition reports the exact play position.
#define DSBCAPS_GETCURRENTPOSITION2 0x00010000

#define DSBPLAY_LOOPING 0x00000001  ///< Play: loop until stopped.

#define DSBSTATUS_PLAYING 0x00000001     ///< Status: playing.
#define DSBSTATUS_BUFFERLOST 0x00000002  ///< Status: the buffer's memory was lost.
#define DSBSTATUS_LOOPING 0x00000004     ///< Status: playing in a loop.

#define DSBLOCK_FROMWRITECURSOR 0x00000001  ///< Lock: from the write position, not from offset.
#define DSBLOCK_ENTIREBUFFER 0x00000002     ///< Lock: the whole buffer.

#define DSBFREQUENCY_ORIGINAL 0  ///< SetFrequency: back to the buffer format's rate.
#define DSBFREQUENCY_MIN 100     ///< Lowest playback frequency, samples per second.
#define DSBFREQUENCY_MAX 200000  ///< Highest playback frequency, samples per second.
#define DSBPAN_LEFT -10000       ///< Pan: left only.
#define DSBPAN_CENTER 0          ///< Pan: centre.
#define DSBPAN_RIGHT 10000       ///< Pan: right only.
#define DSBVOLUME_MIN -10000     ///< Volume: silent, -100 dB (in hundredths of a decibel).
#define DSBVOLUME_MAX 0          ///< Volume: full, no attenuation.
#define DSBSIZE_MIN 4            ///< Smallest buffer, bytes.
#define DSBSIZE_MAX 0x0FFFFFFF   ///< Largest buffer, bytes.

/// What a new buffer is to be: capabilities, size in bytes and sample format.
typedef struct _DSBUFFERDESC {
  DWORD dwSize;                ///< size of this record in bytes
  DWORD dwFlags;               ///< DSBCAPS_* bits
  DWORD dwBufferBytes;         ///< size of the buffer in bytes (0 for the primary)
  DWORD dwReserved;            ///< reserved
  LPWAVEFORMATEX lpwfxFormat;  ///< format of the samples (null for the primary)
  GUID guid3DAlgorithm;        ///< 3D algorithm, GUID_NULL here
} DSBUFFERDESC, *LPDSBUFFERDESC;  ///< Pointer to a DSBUFFERDESC.
typedef const DSBUFFERDESC* LPCDSBUFFERDESC;  ///< Pointer to a constant DSBUFFERDESC.

// ---- Interfaces ---------------------------------------------------------------------------

/// A buffer of sound samples, played and mixed with the others.
struct IDirectSoundBuffer : IUnknown {
  /// Play and write positions, in bytes from the buffer's start.
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD play_cursor, LPDWORD write_cursor) = 0;
  /// Playback frequency, samples per second.
  virtual HRESULT STDMETHODCALLTYPE GetFrequency(LPDWORD frequency) = 0;
  /// Pan, DSBPAN_LEFT..DSBPAN_RIGHT.
  virtual HRESULT STDMETHODCALLTYPE GetPan(LPLONG pan) = 0;
  /// DSBSTATUS_* bits.
  virtual HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) = 0;
  /// Volume, DSBVOLUME_MIN..DSBVOLUME_MAX.
  virtual HRESULT STDMETHODCALLTYPE GetVolume(LPLONG volume) = 0;
  /// Locks `bytes` from offset for writing: one region, or two where it wraps past the end.
  virtual HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* region_1, LPDWORD length_1,
                                         LPVOID* region_2, LPDWORD length_2, DWORD flags) = 0;
  /// Plays from the current position (DSBPLAY_LOOPING: in a loop).
  virtual HRESULT STDMETHODCALLTYPE Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
  /// Moves the play position.
  virtual HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) = 0;
  /// Sets the playback frequency (DSBFREQUENCY_ORIGINAL: the format's).
  virtual HRESULT STDMETHODCALLTYPE SetFrequency(DWORD frequency) = 0;
  /// Sets the pan.
  virtual HRESULT STDMETHODCALLTYPE SetPan(LONG pan) = 0;
  /// Sets the volume.
  virtual HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) = 0;
  /// Stops playing; the position stays.
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
  /// Unlocks the regions Lock handed out, with the bytes written to each.
  virtual HRESULT STDMETHODCALLTYPE Unlock(LPVOID region_1, DWORD length_1, LPVOID region_2, DWORD length_2) = 0;
};

/// The DirectSound object: makes and duplicates buffers.
struct IDirectSound : IUnknown {
  /// Creates a buffer as desc describes.
  virtual HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer,
                                                      LPUNKNOWN outer) = 0;
  /// A second buffer sharing the original's samples, playing on its own.
  virtual HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                                                         LPDIRECTSOUNDBUFFER* duplicate) = 0;
  /// Says how the program shares the sound device (DSSCL_*).
  virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) = 0;
};

/// Creates the DirectSound object on a device (null: the default one).
HRESULT WINAPI DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* direct_sound, LPUNKNOWN outer);
