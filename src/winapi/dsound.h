// The subset of DirectSound that the sound library is written against: the DirectSound object,
// secondary buffers with their lock, play, status, volume, pan and frequency controls.
// Names and values are the published ones.
#pragma once

#include "mmsystem.h"
#include "win32.h"

struct IDirectSound;
struct IDirectSoundBuffer;
typedef IDirectSound* LPDIRECTSOUND;
typedef IDirectSoundBuffer* LPDIRECTSOUNDBUFFER;
typedef const GUID* LPCGUID;

// ---- Result codes -------------------------------------------------------------------------

#define MAKE_DSHRESULT(code) ((HRESULT)(0x88780000u | (code)))

#define DS_OK S_OK
#define DSERR_GENERIC E_FAIL
#define DSERR_INVALIDPARAM E_INVALIDARG
#define DSERR_OUTOFMEMORY E_OUTOFMEMORY
#define DSERR_NOINTERFACE E_NOINTERFACE
#define DSERR_ALLOCATED MAKE_DSHRESULT(10)
#define DSERR_CONTROLUNAVAIL MAKE_DSHRESULT(30)
#define DSERR_INVALIDCALL MAKE_DSHRESULT(50)
#define DSERR_PRIOLEVELNEEDED MAKE_DSHRESULT(70)
#define DSERR_BADFORMAT MAKE_DSHRESULT(100)
#define DSERR_NODRIVER MAKE_DSHRESULT(120)
#define DSERR_BUFFERLOST MAKE_DSHRESULT(150)

// ---- Flags and limits ---------------------------------------------------------------------

#define DSSCL_NORMAL 0x00000001
#define DSSCL_PRIORITY 0x00000002
#define DSSCL_EXCLUSIVE 0x00000003
#define DSSCL_WRITEPRIMARY 0x00000004

#define DSBCAPS_PRIMARYBUFFER 0x00000001
#define DSBCAPS_STATIC 0x00000002
#define DSBCAPS_LOCHARDWARE 0x00000004
#define DSBCAPS_LOCSOFTWARE 0x00000008
#define DSBCAPS_CTRL3D 0x00000010
#define DSBCAPS_CTRLFREQUENCY 0x00000020
#define DSBCAPS_CTRLPAN 0x00000040
#define DSBCAPS_CTRLVOLUME 0x00000080
#define DSBCAPS_CTRLPOSITIONNOTIFY 0x00000100
#define DSBCAPS_GLOBALFOCUS 0x00008000
#define DSBCAPS_GETCURRENTPOSITION2 0x00010000

#define DSBPLAY_LOOPING 0x00000001

#define DSBSTATUS_PLAYING 0x00000001
#define DSBSTATUS_BUFFERLOST 0x00000002
#define DSBSTATUS_LOOPING 0x00000004

#define DSBLOCK_FROMWRITECURSOR 0x00000001
#define DSBLOCK_ENTIREBUFFER 0x00000002

#define DSBFREQUENCY_ORIGINAL 0
#define DSBFREQUENCY_MIN 100
#define DSBFREQUENCY_MAX 200000
#define DSBPAN_LEFT -10000
#define DSBPAN_CENTER 0
#define DSBPAN_RIGHT 10000
#define DSBVOLUME_MIN -10000
#define DSBVOLUME_MAX 0
#define DSBSIZE_MIN 4
#define DSBSIZE_MAX 0x0FFFFFFF

// What a new buffer is to be: capabilities, size in bytes and sample format.
typedef struct _DSBUFFERDESC {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwBufferBytes;
  DWORD dwReserved;
  LPWAVEFORMATEX lpwfxFormat;
  GUID guid3DAlgorithm;
} DSBUFFERDESC, *LPDSBUFFERDESC;
typedef const DSBUFFERDESC* LPCDSBUFFERDESC;

// ---- Interfaces ---------------------------------------------------------------------------

// A buffer of sound samples, played and mixed with the others.
struct IDirectSoundBuffer : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD play_cursor, LPDWORD write_cursor) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFrequency(LPDWORD frequency) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPan(LPLONG pan) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVolume(LPLONG volume) = 0;
  virtual HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* region_1, LPDWORD length_1,
                                         LPVOID* region_2, LPDWORD length_2, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetFrequency(DWORD frequency) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetPan(LONG pan) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unlock(LPVOID region_1, DWORD length_1, LPVOID region_2, DWORD length_2) = 0;
};

// The DirectSound object: makes and duplicates buffers.
struct IDirectSound : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer,
                                                      LPUNKNOWN outer) = 0;
  virtual HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                                                         LPDIRECTSOUNDBUFFER* duplicate) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) = 0;
};

// Creates the DirectSound object on a device (null: the default one).
HRESULT WINAPI DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* direct_sound, LPUNKNOWN outer);
