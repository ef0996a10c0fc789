// DirectSound in software: buffers in ordinary memory, mixed by soft/sound_mixer into the
// host's audio output, which pulls the mixed samples (from its own thread on a real machine,
// in virtual time on the headless host). One lock guards the buffers and the mixer.
#include <mutex>
#include <new>

#include "dsound.h"
#include "soft/com_object.h"
#include "soft/direct_sound.h"
#include "soft/faults.h"
#include "soft/host.h"
#include "soft/sound_mixer.h"

namespace {

// Buffers that can exist at once (the sound table holds 256).
constexpr int MAX_BUFFERS = 1024;

struct SoftSoundBuffer;

// Sample bytes shared by a buffer and its duplicates.
struct SoundData {
  uint8_t* bytes;
  uint32_t size;
  int references;
};

// Everything the mixer thread and the program share.
struct SoundMachine {
  std::mutex lock;
  uint32_t out_rate = 0;  // 0 until a DirectSound object opened the host's output
  MixVoice* voices[MAX_BUFFERS] = {};
  SoftSoundBuffer* buffers[MAX_BUFFERS] = {};
  int count = 0;
  int live_objects = 0;
  SoundObserver observer = nullptr;
  MusicSource music = nullptr;  // added after the buffers, in the same pass
};

SoundMachine sound;

void PullMixedSound(int16_t* samples, int frames) {
  std::lock_guard<std::mutex> hold(sound.lock);
  MixVoices(sound.voices, sound.count, sound.out_rate, samples, frames);
  if (sound.music) sound.music(samples, frames);
}

void Notify(IDirectSoundBuffer* buffer, SoundEvent event) {
  if (sound.observer) sound.observer(buffer, event);
}

struct SoftSoundBuffer final : ComObject<IDirectSoundBuffer> {
  SoundData* data = nullptr;
  DWORD caps = 0;
  WAVEFORMATEX format = {};
  LONG volume = 0;
  LONG pan = 0;
  bool locked = false;
  MixVoice voice = {};

  SoftSoundBuffer(SoundData* shared, DWORD flags, const WAVEFORMATEX& wave) : data(shared), caps(flags), format(wave) {
    ++data->references;
    voice.data = data->bytes;
    voice.frames = data->size / wave.nBlockAlign;
    voice.channels = wave.nChannels;
    voice.bits = wave.wBitsPerSample;
    voice.frequency = wave.nSamplesPerSec;
    voice.left_gain = voice.right_gain = UNIT_GAIN;
    ++sound.live_objects;
    std::lock_guard<std::mutex> hold(sound.lock);
    sound.voices[sound.count] = &voice;
    sound.buffers[sound.count] = this;
    ++sound.count;
  }
  ~SoftSoundBuffer() override {
    {
      std::lock_guard<std::mutex> hold(sound.lock);
      for (int i = 0; i < sound.count; ++i) {
        if (sound.buffers[i] != this) continue;
        --sound.count;
        sound.buffers[i] = sound.buffers[sound.count];
        sound.voices[i] = sound.voices[sound.count];
        break;
      }
    }
    if (--data->references == 0) {
      delete[] data->bytes;
      delete data;
    }
    --sound.live_objects;
  }

  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD play_cursor, LPDWORD write_cursor) override {
    std::lock_guard<std::mutex> hold(sound.lock);
    const DWORD position = static_cast<DWORD>(voice.position >> 16) * format.nBlockAlign;
    if (play_cursor) *play_cursor = position;
    if (write_cursor) *write_cursor = position;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE GetFrequency(LPDWORD frequency) override {
    if (!frequency) return DSERR_INVALIDPARAM;
    if (!(caps & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
    *frequency = voice.frequency;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPan(LPLONG out) override {
    if (!out) return DSERR_INVALIDPARAM;
    if (!(caps & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
    *out = pan;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE GetVolume(LPLONG out) override {
    if (!out) return DSERR_INVALIDPARAM;
    if (!(caps & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    *out = volume;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) override;
  HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* region_1, LPDWORD length_1, LPVOID* region_2,
                                 LPDWORD length_2, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Play(DWORD reserved, DWORD priority, DWORD flags) override {
    if (reserved != 0 || priority != 0) return DSERR_INVALIDPARAM;
    {
      std::lock_guard<std::mutex> hold(sound.lock);
      voice.playing = true;
      voice.looping = (flags & DSBPLAY_LOOPING) != 0;
    }
    Notify(this, (flags & DSBPLAY_LOOPING) ? SoundEvent::Loop : SoundEvent::Play);
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) override {
    if (position >= data->size) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> hold(sound.lock);
    voice.position = static_cast<uint64_t>(position / format.nBlockAlign) << 16;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE SetFrequency(DWORD frequency) override {
    if (!(caps & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
    if (frequency == DSBFREQUENCY_ORIGINAL) frequency = format.nSamplesPerSec;
    if (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> hold(sound.lock);
    voice.frequency = frequency;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE SetPan(LONG value) override {
    if (!(caps & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
    if (value < DSBPAN_LEFT || value > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
    pan = value;
    UpdateGains();
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE SetVolume(LONG value) override {
    if (!(caps & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    if (value < DSBVOLUME_MIN || value > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    volume = value;
    UpdateGains();
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE Stop() override {
    bool was_playing;
    {
      std::lock_guard<std::mutex> hold(sound.lock);
      was_playing = voice.playing;
      voice.playing = false;
    }
    if (was_playing) Notify(this, SoundEvent::Stop);
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE Unlock(LPVOID region_1, DWORD length_1, LPVOID region_2, DWORD length_2) override;

  void UpdateGains() {
    int32_t left = 0, right = 0;
    VoiceGains(volume, pan, &left, &right);
    std::lock_guard<std::mutex> hold(sound.lock);
    voice.left_gain = left;
    voice.right_gain = right;
  }
};

HRESULT SoftSoundBuffer::GetStatus(LPDWORD status) {
  if (!status) return DSERR_INVALIDPARAM;
  // A status query is where programs wait for a sound: let the machine's time and events move.
  Host().pump_events();
  Host().milliseconds();
  if (FaultHits(PlatformCall::SoundGetStatus)) return DSERR_GENERIC;
  std::lock_guard<std::mutex> hold(sound.lock);
  *status = voice.playing ? (DSBSTATUS_PLAYING | (voice.looping ? DSBSTATUS_LOOPING : 0)) : 0;
  return DS_OK;
}

HRESULT SoftSoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* region_1, LPDWORD length_1, LPVOID* region_2,
                              LPDWORD length_2, DWORD flags) {
  if (!region_1 || !length_1) return DSERR_INVALIDPARAM;
  *region_1 = nullptr, *length_1 = 0;
  if (region_2) *region_2 = nullptr;
  if (length_2) *length_2 = 0;
  if (FaultHits(PlatformCall::SoundLock)) return DSERR_INVALIDCALL;
  if (locked) return DSERR_INVALIDCALL;
  if (flags & DSBLOCK_ENTIREBUFFER) offset = 0, bytes = data->size;
  else if (flags & DSBLOCK_FROMWRITECURSOR) GetCurrentPosition(nullptr, &offset);
  if (bytes == 0 || bytes > data->size || offset >= data->size) return DSERR_INVALIDPARAM;
  const DWORD first = bytes < data->size - offset ? bytes : data->size - offset;
  *region_1 = data->bytes + offset;
  *length_1 = first;
  if (first < bytes && region_2 && length_2) {  // the rest wraps round to the start
    *region_2 = data->bytes;
    *length_2 = bytes - first;
  }
  locked = true;
  return DS_OK;
}

HRESULT SoftSoundBuffer::Unlock(LPVOID region_1, DWORD length_1, LPVOID region_2, DWORD length_2) {
  if (!locked) return DSERR_INVALIDCALL;
  const uint8_t* start = data->bytes;
  const uint8_t* first = static_cast<const uint8_t*>(region_1);
  if (first < start || first + length_1 > start + data->size) return DSERR_INVALIDPARAM;
  if (region_2 && (region_2 != start || length_1 + length_2 > data->size)) return DSERR_INVALIDPARAM;
  locked = false;
  return DS_OK;
}

// A format the mixer plays: PCM, 1 or 2 channels of 8 or 16 bits, block alignment that fits.
bool PlayableFormat(const WAVEFORMATEX* format) {
  if (!format || format->wFormatTag != WAVE_FORMAT_PCM) return false;
  if (format->nChannels < 1 || format->nChannels > 2) return false;
  if (format->wBitsPerSample != 8 && format->wBitsPerSample != 16) return false;
  if (format->nBlockAlign != format->nChannels * format->wBitsPerSample / 8) return false;
  return format->nSamplesPerSec >= DSBFREQUENCY_MIN && format->nSamplesPerSec <= DSBFREQUENCY_MAX;
}

struct SoftDirectSound final : ComObject<IDirectSound> {
  SoftDirectSound() { ++sound.live_objects; }
  ~SoftDirectSound() override { --sound.live_objects; }

  HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer,
                                              LPUNKNOWN outer) override {
    if (!buffer) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (!desc || desc->dwSize != sizeof(DSBUFFERDESC) || outer) return DSERR_INVALIDPARAM;
    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) return DSERR_INVALIDCALL;
    if (!PlayableFormat(desc->lpwfxFormat)) return DSERR_BADFORMAT;
    const DWORD size = desc->dwBufferBytes;
    if (size < DSBSIZE_MIN || size > DSBSIZE_MAX || size % desc->lpwfxFormat->nBlockAlign != 0)
      return DSERR_INVALIDPARAM;
    if (FaultHits(PlatformCall::CreateSoundBuffer) || sound.count >= MAX_BUFFERS) return DSERR_OUTOFMEMORY;
    const uint8_t silence = desc->lpwfxFormat->wBitsPerSample == 8 ? 0x80 : 0;
    uint8_t* bytes = new (std::nothrow) uint8_t[size];
    if (!bytes) return DSERR_OUTOFMEMORY;
    auto* data = new SoundData{bytes, size, 0};
    for (DWORD i = 0; i < size; ++i) data->bytes[i] = silence;
    *buffer = new SoftSoundBuffer(data, desc->dwFlags, *desc->lpwfxFormat);
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                                                 LPDIRECTSOUNDBUFFER* duplicate) override {
    if (!duplicate) return DSERR_INVALIDPARAM;
    *duplicate = nullptr;
    if (!original) return DSERR_INVALIDPARAM;
    if (sound.count >= MAX_BUFFERS) return DSERR_OUTOFMEMORY;
    auto* source = static_cast<SoftSoundBuffer*>(original);
    auto* copy = new SoftSoundBuffer(source->data, source->caps, source->format);
    copy->volume = source->volume;
    copy->pan = source->pan;
    copy->UpdateGains();
    copy->voice.frequency = source->voice.frequency;
    *duplicate = copy;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND, DWORD level) override {
    return level >= DSSCL_NORMAL && level <= DSSCL_WRITEPRIMARY ? DS_OK : DSERR_INVALIDPARAM;
  }
};

}  // namespace

HRESULT WINAPI DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* direct_sound, LPUNKNOWN outer) {
  if (!direct_sound) return DSERR_INVALIDPARAM;
  *direct_sound = nullptr;
  if (device || outer) return DSERR_INVALIDPARAM;
  if (FaultHits(PlatformCall::DirectSoundCreate)) return DSERR_NODRIVER;
  const int rate = Host().open_audio ? Host().open_audio(PullMixedSound) : 0;
  if (rate <= 0) return DSERR_NODRIVER;
  {
    std::lock_guard<std::mutex> hold(sound.lock);
    sound.out_rate = static_cast<uint32_t>(rate);
  }
  *direct_sound = new SoftDirectSound;
  return DS_OK;
}

void SetSoundObserver(SoundObserver observer) { sound.observer = observer; }

int SoftSoundObjectCount() { return sound.live_objects; }

void SoftSoundReset() {
  std::lock_guard<std::mutex> hold(sound.lock);
  sound.out_rate = 0;
  sound.observer = nullptr;
}

void SetMusicSource(MusicSource source) {
  std::lock_guard<std::mutex> hold(sound.lock);
  sound.music = source;
}

uint32_t SoftSoundRate() {
  std::lock_guard<std::mutex> hold(sound.lock);
  return sound.out_rate;
}
