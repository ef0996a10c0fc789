/// \file
/// The sound table: 256 slots, each holding one WAV file in its own DirectSound buffer, known to
/// the program by its slot index, the sound id (-1: no sound).
#pragma once

#include <cstdint>

#include "dsound.h"

/// Slots in the table.
constexpr int SOUND_SLOTS = 256;
/// The capability bits the game asks for: frequency, pan and volume can be changed.
constexpr uint32_t SOUND_CONTROLS = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

/// One slot of the table.
struct SoundSlot {
  LPDIRECTSOUNDBUFFER buffer;  ///< the sound's buffer; null when the slot holds none
  int32_t state;               ///< 0 free, 1 taken by a load (until the next SoundInit)
  int32_t rate;                ///< samples per second the file's format gives; recorded only
  int32_t size;                ///< bytes of sound in the buffer
  int32_t id;                  ///< the slot's own index
};

extern SoundSlot sound_table[SOUND_SLOTS];  ///< every slot, indexed by sound id
extern LPDIRECTSOUND direct_sound;          ///< the DirectSound object, null until SoundInit made it
extern int sound_first_call;                ///< 1 until the first SoundInit

/// Creates DirectSound (first call) and empties the table; 1 on success.
int SoundInit();
/// Loads a WAV file into the first free slot; its id, or -1.
int LoadWav(const char* file_name, uint32_t control_flags);
/// Rewinds and starts a sound (play_flags 1 loops); 1, or 0 when the rewind or the start failed.
/// The last three arguments are ignored.
int PlaySound(int id, uint32_t play_flags, int volume = 0, int rate = 0, int pan = 0);
/// Stops a sound and rewinds it; always 1.
int StopSound(int id);
/// Stops every sound; always 1.
int StopAllSounds();
/// Stops a sound and releases its buffer; the slot stays taken. Always 1.
int DeleteSound(int id);
/// Deletes every sound; always 1.
int DeleteAllSounds();
/// The sound's DirectSound status bits (0 when stopped or when the query fails); -1 without buffer.
int SoundStatus(int id);
/// Milliseconds of the sound still to play from its play position to its end, at its present
/// frequency, when played once; 0 when the slot has no buffer or the position cannot be read.
int SoundMsLeft(int id);
/// Stops and releases every sound and DirectSound; always 1.
int SoundShutdown();
/// Puts a duplicate of a sound, playing independently, into the first free slot; its id, or -1.
int ReplicateSound(int id);
/// Sets a sound's volume from 0 (-30 dB) to 100 (full), other values held to that range; 1 on success.
int SetSoundVolume(int id, int volume);
/// Sets a sound's playback frequency in samples per second; 1 on success.
int SetSoundFrequency(int id, int rate);
/// Sets a sound's pan, -10000 (left) to 10000 (right); 1 on success.
int SetSoundPan(int id, int pan);
/// The file a slot's sound was loaded from (for logs); "" when none.
const char* SoundFileName(int id);
