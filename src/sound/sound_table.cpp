// The sound table over DirectSound. WAV files are read with the RIFF functions; samples in
// any other layout the format chunk reader accepts are converted to the table's one buffer
// format on load.
#include "sound/sound_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "display/display.h"
#include "mmsystem.h"
#include "sound/wav_convert.h"

SoundSlot sound_table[SOUND_SLOTS];
LPDIRECTSOUND direct_sound;
int sound_first_call = 1;

namespace {

// Longest file name kept for a slot.
constexpr int NAME_BYTES = 260;

char sound_names[SOUND_SLOTS][NAME_BYTES];

bool HoldsBuffer(int id) { return id >= 0 && id < SOUND_SLOTS && sound_table[id].buffer != nullptr; }

int FirstFreeSlot() {
  for (int id = 0; id < SOUND_SLOTS; ++id)
    if (sound_table[id].state == 0) return id;
  return -1;
}

// The fixed format of every buffer: PCM, mono, 11025 Hz, 8 bits.
WAVEFORMATEX TableFormat() {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = TABLE_RATE;
  format.wBitsPerSample = 8;
  format.nBlockAlign = 1;
  format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
  return format;
}

// Reads the format chunk, found by its id, into `layout`; false when it is missing, short, of a
// format not read or its numbers do not add up.
bool ReadFormat(HMMIO file, const MMCKINFO& parent, PcmLayout* layout) {
  MMCKINFO child{};
  child.ckid = mmioFOURCC('f', 'm', 't', ' ');
  if (mmioDescend(file, &child, &parent, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return false;
  uint8_t chunk[EXTENSIBLE_FORMAT_BYTES] = {};
  const LONG wanted = static_cast<LONG>(child.cksize < sizeof chunk ? child.cksize : sizeof chunk);
  if (mmioRead(file, reinterpret_cast<HPSTR>(chunk), wanted) != wanted) return false;
  if (!ReadFormatChunk(chunk, static_cast<uint32_t>(wanted), layout)) return false;
  return mmioAscend(file, &child, 0) == MMSYSERR_NOERROR;
}

// Reads the data chunk into a new array of the bytes the file really holds; null on failure.
uint8_t* ReadData(HMMIO file, const MMCKINFO& parent, uint32_t* size) {
  MMCKINFO child{};
  child.ckid = mmioFOURCC('d', 'a', 't', 'a');
  if (mmioDescend(file, &child, &parent, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return nullptr;
  const LONG file_end = mmioSeek(file, 0, SEEK_END);
  if (file_end < 0 || mmioSeek(file, static_cast<LONG>(child.dwDataOffset), SEEK_SET) < 0) return nullptr;
  const uint64_t in_file = static_cast<uint64_t>(file_end) - child.dwDataOffset;
  const uint32_t bytes = static_cast<uint32_t>(child.cksize < in_file ? child.cksize : in_file);
  uint8_t* data = new (std::nothrow) uint8_t[bytes ? bytes : 1];
  if (data == nullptr) return nullptr;
  if (mmioRead(file, reinterpret_cast<HPSTR>(data), static_cast<LONG>(bytes)) != static_cast<LONG>(bytes)) {
    delete[] data;
    return nullptr;
  }
  *size = bytes;
  return data;
}

// Reads a WAV file's layout and samples; the samples come back in the table's format, in a
// new array of *size bytes. Null when the file cannot be read.
uint8_t* ReadWavFile(const char* file_name, PcmLayout* layout, uint32_t* size) {
  HMMIO file = mmioOpenA(const_cast<LPSTR>(file_name), nullptr, MMIO_READ | MMIO_ALLOCBUF);
  if (file == nullptr) return nullptr;
  MMCKINFO parent{};
  parent.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  uint8_t* data = nullptr;
  uint32_t bytes = 0;
  if (mmioDescend(file, &parent, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR && ReadFormat(file, parent, layout))
    data = ReadData(file, parent, &bytes);
  mmioClose(file, 0);
  if (data == nullptr || IsTableFormat(*layout)) {
    *size = bytes;
    return data;
  }
  const uint64_t converted_bytes = ConvertedSize(*layout, bytes);
  if (converted_bytes > DSBSIZE_MAX) {  // no sound buffer could hold it: refused before allocating
    delete[] data;
    return nullptr;
  }
  *size = static_cast<uint32_t>(converted_bytes);
  uint8_t* converted = new (std::nothrow) uint8_t[*size ? *size : 1];
  if (converted) ConvertToTableFormat(*layout, data, bytes, converted);
  delete[] data;
  return converted;
}

// Copies the samples into a new buffer's two lock regions; false (nothing written) when the
// lock fails.
bool FillBuffer(LPDIRECTSOUNDBUFFER buffer, const uint8_t* data, uint32_t size) {
  void* region_1 = nullptr;
  void* region_2 = nullptr;
  DWORD length_1 = 0, length_2 = 0;
  if (buffer->Lock(0, size, &region_1, &length_1, &region_2, &length_2, DSBLOCK_FROMWRITECURSOR) != DS_OK)
    return false;
  if (length_1 > size) length_1 = size;
  if (length_2 > size - length_1) length_2 = size - length_1;
  std::memcpy(region_1, data, length_1);
  if (region_2) std::memcpy(region_2, data + length_1, length_2);
  return buffer->Unlock(region_1, length_1, region_2, length_2) == DS_OK;
}

// Makes the slot's buffer and fills it; false (and no buffer) when either fails.
bool CreateSlotBuffer(SoundSlot& slot, const uint8_t* data, uint32_t size, uint32_t control_flags) {
  WAVEFORMATEX format = TableFormat();
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = control_flags | DSBCAPS_STATIC | DSBCAPS_LOCSOFTWARE;
  desc.dwBufferBytes = size;
  desc.lpwfxFormat = &format;
  if (direct_sound->CreateSoundBuffer(&desc, &slot.buffer, nullptr) != DS_OK) {
    slot.buffer = nullptr;
    return false;
  }
  if (FillBuffer(slot.buffer, data, size)) return true;
  slot.buffer->Release();
  slot.buffer = nullptr;
  return false;
}

// Runs a control call on a slot's buffer; 1 when it returns DS_OK.
template <typename Call>
int Control(int id, Call call) {
  if (!HoldsBuffer(id)) return 0;
  return call(sound_table[id].buffer) == DS_OK ? 1 : 0;
}

// Makes the DirectSound object for the main window; on failure none is kept.
bool CreateDirectSound() {
  if (DirectSoundCreate(nullptr, &direct_sound, nullptr) != DS_OK) {
    direct_sound = nullptr;
    return false;
  }
  if (direct_sound->SetCooperativeLevel(main_window, DSSCL_NORMAL) == DS_OK) return true;
  direct_sound->Release();
  direct_sound = nullptr;
  return false;
}

}  // namespace

int SoundInit() {
  if (sound_first_call) {
    std::memset(sound_table, 0, sizeof sound_table);
    // The first call counts as done only once the device exists, so a failed one can be retried.
    if (!CreateDirectSound()) return 0;
    sound_first_call = 0;
  }
  for (int id = 0; id < SOUND_SLOTS; ++id) {
    if (sound_table[id].buffer) {
      sound_table[id].buffer->Stop();
      sound_table[id].buffer->Release();
    }
    sound_table[id] = SoundSlot{nullptr, 0, 0, 0, id};
    sound_names[id][0] = '\0';
  }
  return 1;
}

int LoadWav(const char* file_name, uint32_t control_flags) {
  const int id = FirstFreeSlot();
  if (id < 0 || direct_sound == nullptr || file_name == nullptr) return -1;
  PcmLayout layout{};
  uint32_t size = 0;
  uint8_t* data = ReadWavFile(file_name, &layout, &size);
  if (data == nullptr) return -1;
  SoundSlot& slot = sound_table[id];
  slot.rate = static_cast<int32_t>(layout.rate);
  slot.size = static_cast<int32_t>(size);
  slot.state = 1;
  const bool made = CreateSlotBuffer(slot, data, size, control_flags);
  delete[] data;
  if (!made) return -1;
  std::snprintf(sound_names[id], NAME_BYTES, "%s", file_name);
  return id;
}

int PlaySound(int id, uint32_t play_flags, int, int, int) {
  if (!HoldsBuffer(id)) return 1;
  LPDIRECTSOUNDBUFFER buffer = sound_table[id].buffer;
  if (buffer->SetCurrentPosition(0) != DS_OK) return 0;
  return buffer->Play(0, 0, play_flags) == DS_OK ? 1 : 0;
}

int SoundMsLeft(int id) {
  if (!HoldsBuffer(id)) return 0;
  LPDIRECTSOUNDBUFFER buffer = sound_table[id].buffer;
  DWORD play_cursor = 0;
  if (buffer->GetCurrentPosition(&play_cursor, nullptr) != DS_OK) return 0;
  DWORD frequency = 0;  // a buffer made without frequency control plays at the table's rate
  if (buffer->GetFrequency(&frequency) != DS_OK || frequency == 0) frequency = TABLE_RATE;
  const uint32_t size = static_cast<uint32_t>(sound_table[id].size);
  if (play_cursor >= size) return 0;
  // The table's buffers hold one byte per sample.
  return static_cast<int>((size - play_cursor) * 1000ULL / frequency);
}

int StopSound(int id) {
  if (HoldsBuffer(id)) {
    sound_table[id].buffer->Stop();
    sound_table[id].buffer->SetCurrentPosition(0);
  }
  return 1;
}

int StopAllSounds() {
  for (int id = 0; id < SOUND_SLOTS; ++id) StopSound(id);
  return 1;
}

int DeleteSound(int id) {
  StopSound(id);
  if (HoldsBuffer(id)) {
    sound_table[id].buffer->Release();
    sound_table[id].buffer = nullptr;
  }
  return 1;
}

int DeleteAllSounds() {
  for (int id = 0; id < SOUND_SLOTS; ++id) DeleteSound(id);
  return 1;
}

int SoundStatus(int id) {
  if (!HoldsBuffer(id)) return -1;
  DWORD status = 0;
  if (sound_table[id].buffer->GetStatus(&status) != DS_OK) return 0;
  return static_cast<int>(status);
}

int SoundShutdown() {
  StopAllSounds();
  for (SoundSlot& slot : sound_table) {
    if (slot.buffer) slot.buffer->Release();
    slot.buffer = nullptr;
  }
  if (direct_sound) direct_sound->Release();
  // Nothing released is kept: a second shut-down is harmless and a later SoundInit starts afresh.
  direct_sound = nullptr;
  sound_first_call = 1;
  return 1;
}

int ReplicateSound(int id) {
  if (id < 0 || id >= SOUND_SLOTS || direct_sound == nullptr) return -1;
  const int copy = FirstFreeSlot();
  if (copy < 0) return -1;
  SoundSlot& slot = sound_table[copy];
  slot = sound_table[id];
  if (slot.buffer == nullptr || direct_sound->DuplicateSoundBuffer(sound_table[id].buffer, &slot.buffer) != DS_OK) {
    slot.buffer = nullptr;
    slot.state = 0;
    return -1;
  }
  slot.id = copy;
  std::memcpy(sound_names[copy], sound_names[id], NAME_BYTES);
  return copy;
}

int SetSoundVolume(int id, int volume) {
  volume = std::clamp(volume, 0, 100);  // beyond either end the buffer volume would overflow or be refused
  return Control(id, [volume](LPDIRECTSOUNDBUFFER buffer) { return buffer->SetVolume(-30 * (100 - volume)); });
}

int SetSoundFrequency(int id, int rate) {
  return Control(id, [rate](LPDIRECTSOUNDBUFFER buffer) { return buffer->SetFrequency(static_cast<DWORD>(rate)); });
}

int SetSoundPan(int id, int pan) {
  return Control(id, [pan](LPDIRECTSOUNDBUFFER buffer) { return buffer->SetPan(pan); });
}

const char* SoundFileName(int id) { return id >= 0 && id < SOUND_SLOTS ? sound_names[id] : ""; }
