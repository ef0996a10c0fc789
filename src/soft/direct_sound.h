// Controls of the software DirectSound for hosts, tests and the music: watching what buffers are
// told to play, counting live objects, resetting the audio output, and mixing music into it.
#pragma once

#include <cstdint>

struct IDirectSoundBuffer;
// What a sound buffer was told to do.
enum class SoundEvent { Play, Loop, Stop };
// Told of every Play (once or looping) and of every Stop of a buffer that was playing.
typedef void (*SoundObserver)(IDirectSoundBuffer* buffer, SoundEvent event);
// Sets the observer of sound buffers (null: none).
void SetSoundObserver(SoundObserver observer);
// DirectSound objects and buffers now alive.
int SoftSoundObjectCount();
// Forgets the audio output and the observer, as at program start.
void SoftSoundReset();

// Adds `frames` stereo frames of music into the mixed samples; the mixer calls it with its lock held.
typedef void (*MusicSource)(int16_t* samples, int frames);
// Makes `source` the music added to every mix (null: none); returns once no mix is using the old one.
void SetMusicSource(MusicSource source);
// The audio output's frames per second, 0 while no DirectSound object has opened it.
uint32_t SoftSoundRate();
