// DirectMusic in software: the loader reads and checks standard MIDI files into segments, the
// performance plays one segment at a time with FluidSynth and a General MIDI SoundFont found on
// the machine, and the synthesiser's output is added into the DirectSound mixer, so it reaches
// the same audio output in the same (real or virtual) time as the sounds.
#include <fluidsynth.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "dmusici.h"
#include "data_file.h"
#include "soft/com_object.h"
#include "soft/direct_music.h"
#include "soft/direct_sound.h"
#include "soft/faults.h"
#include "soft/host.h"
#include "soft/midi_file.h"

namespace {

// SoundFonts tried in each folder, the small one first so start-up stays quick.
const char* const SOUND_FONT_NAMES[] = {"TimGM6mb.sf2", "FluidR3_GM.sf2", "default-GM.sf2"};
// The standard SoundFont folders of the system.
const char* const STANDARD_FOLDERS[] = {"/usr/share/sounds/sf2", "/usr/share/soundfonts", nullptr};
// Frames rendered at a time into the scratch buffer before they are added to the mix.
constexpr int RENDER_CHUNK = 256;
// The synthesiser's output level: a tune of a few voices stays well clear of clipping.
constexpr double MUSIC_GAIN = 0.6;

// The synthesiser and what it plays; the audio output's thread renders it, so one lock guards it.
struct MusicMachine {
  std::mutex lock;
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_player_t* player = nullptr;
  const void* playing = nullptr;  // the segment the player plays
  float scratch[RENDER_CHUNK * 2] = {};
  const char* const* folders = STANDARD_FOLDERS;
  int live_objects = 0;
};

MusicMachine music;

int16_t Saturate(int32_t value) { return static_cast<int16_t>(value > 32767 ? 32767 : value < -32768 ? -32768 : value); }

// Adds the synthesiser's next frames into the mixed sound (called with the mixer's lock held).
void AddMusic(int16_t* samples, int frames) {
  std::lock_guard<std::mutex> hold(music.lock);
  if (music.synth == nullptr) return;
  for (int done = 0; done < frames;) {
    const int count = frames - done < RENDER_CHUNK ? frames - done : RENDER_CHUNK;
    fluid_synth_write_float(music.synth, count, music.scratch, 0, 2, music.scratch, 1, 2);  // no dither
    int16_t* out = samples + done * 2;
    for (int i = 0; i < count * 2; ++i) out[i] = Saturate(out[i] + static_cast<int32_t>(music.scratch[i] * 32767.0f));
    done += count;
  }
}

bool IsFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The first General MIDI SoundFont in the folders; "" when there is none.
std::string FindSoundFont() {
  for (const char* const* folder = music.folders; *folder; ++folder)
    for (const char* name : SOUND_FONT_NAMES) {
      const std::string path = std::string(*folder) + "/" + name;
      if (IsFile(path)) return path;
    }
  return "";
}

void Quiet(int, const char*, void*) {}

void DeleteSynth() {
  if (music.player) delete_fluid_player(music.player);
  if (music.synth) delete_fluid_synth(music.synth);
  if (music.settings) delete_fluid_settings(music.settings);
  music.player = nullptr, music.synth = nullptr, music.settings = nullptr, music.playing = nullptr;
}

// A synthesiser at the mixer's rate with the SoundFont loaded; false when either is missing.
// No reverb or chorus, so that stopped music is silent at once.
bool CreateSynth(uint32_t rate, const std::string& sound_font) {
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) fluid_set_log_function(level, Quiet, nullptr);
  music.settings = new_fluid_settings();
  if (!music.settings) return false;
  fluid_settings_setnum(music.settings, "synth.sample-rate", rate);
  fluid_settings_setint(music.settings, "synth.reverb.active", 0);
  fluid_settings_setint(music.settings, "synth.chorus.active", 0);
  fluid_settings_setint(music.settings, "synth.lock-memory", 0);
  fluid_settings_setnum(music.settings, "synth.gain", MUSIC_GAIN);
  fluid_settings_setstr(music.settings, "player.timing-source", "sample");  // time moves as audio is made
  music.synth = new_fluid_synth(music.settings);
  return music.synth && fluid_synth_sfload(music.synth, sound_font.c_str(), 1) != FLUID_FAILED;
}

// Ends the current playing at once: the player goes and every voice is cut.
void StopPlayer() {
  if (music.player) delete_fluid_player(music.player);
  music.player = nullptr;
  music.playing = nullptr;
  if (music.synth) fluid_synth_all_sounds_off(music.synth, -1);
}

struct SoftSegment final : ComObject<IDirectMusicSegment> {
  std::vector<uint8_t> bytes;  // the checked file
  uint64_t length_ticks;       // where its longest track ends
  SoftSegment(std::vector<uint8_t> file, uint64_t ticks) : bytes(std::move(file)), length_ticks(ticks) {
    ++music.live_objects;
  }
  ~SoftSegment() override {
    std::lock_guard<std::mutex> hold(music.lock);
    if (music.playing == this) music.playing = &music;  // plays on, but is no segment anyone holds
    --music.live_objects;
  }
  HRESULT STDMETHODCALLTYPE SetParam(REFGUID type, DWORD, DWORD, MUSIC_TIME, void* param) override;
};

struct SoftSegmentState final : ComObject<IDirectMusicSegmentState> {
  SoftSegmentState() { ++music.live_objects; }
  ~SoftSegmentState() override { --music.live_objects; }
};

struct SoftPerformance final : ComObject<IDirectMusicPerformance> {
  bool initialised = false;  // owns the synthesiser
  bool port_added = false;

  SoftPerformance() { ++music.live_objects; }
  ~SoftPerformance() override {
    CloseDown();
    --music.live_objects;
  }

  HRESULT STDMETHODCALLTYPE Init(IDirectMusic** direct_music, LPDIRECTSOUND direct_sound, HWND) override {
    if (initialised) return E_FAIL;
    if (direct_music) *direct_music = nullptr;
    const uint32_t rate = SoftSoundRate();
    if (direct_sound == nullptr || rate == 0) return E_INVALIDARG;  // music goes through DirectSound's output
    {
      std::lock_guard<std::mutex> hold(music.lock);
      if (music.synth) return E_FAIL;  // one performance at a time
      const std::string sound_font = FindSoundFont();
      if (sound_font.empty() || !CreateSynth(rate, sound_font)) {
        DeleteSynth();
        return E_FAIL;
      }
    }
    initialised = true;
    SetMusicSource(AddMusic);  // outside the music lock: the mixer takes its lock first
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AddPort(IDirectMusicPort* port) override {
    if (!initialised || port != nullptr) return E_INVALIDARG;  // only the default synthesiser
    port_added = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PlaySegment(IDirectMusicSegment* segment, DWORD, LONGLONG,
                                        IDirectMusicSegmentState** segment_state) override {
    if (segment_state) *segment_state = nullptr;
    if (segment == nullptr) return E_POINTER;
    if (!port_added || FaultHits(PlatformCall::PlaySegment)) return E_FAIL;
    auto* file = static_cast<SoftSegment*>(segment);
    {
      std::lock_guard<std::mutex> hold(music.lock);
      StopPlayer();
      music.player = new_fluid_player(music.synth);
      if (!music.player || fluid_player_add_mem(music.player, file->bytes.data(), file->bytes.size()) != FLUID_OK ||
          fluid_player_play(music.player) != FLUID_OK) {
        StopPlayer();
        return E_FAIL;
      }
      music.playing = segment;
    }
    if (segment_state) *segment_state = new SoftSegmentState;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Stop(IDirectMusicSegment* segment, IDirectMusicSegmentState*, MUSIC_TIME, DWORD) override {
    if (!initialised) return E_FAIL;
    std::lock_guard<std::mutex> hold(music.lock);
    if (segment == nullptr || segment == music.playing) StopPlayer();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsPlaying(IDirectMusicSegment* segment, IDirectMusicSegmentState*) override {
    if (segment == nullptr) return E_POINTER;
    // A status query is where programs wait for music: let the machine's time and events move.
    Host().pump_events();
    Host().milliseconds();
    std::lock_guard<std::mutex> hold(music.lock);
    // The segment ends at its last tick; the synthesiser's release tails may sound on after it.
    // The length is the file's own: the player learns it only once the audio output has run.
    const uint64_t length_ticks = static_cast<SoftSegment*>(segment)->length_ticks;
    const bool playing = initialised && music.playing == segment &&
                         fluid_player_get_status(music.player) == FLUID_PLAYER_PLAYING &&
                         static_cast<uint64_t>(fluid_player_get_current_tick(music.player)) < length_ticks;
    return playing ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE CloseDown() override {
    if (!initialised) return S_OK;
    SetMusicSource(nullptr);  // waits for the mixer to be done with the synthesiser
    std::lock_guard<std::mutex> hold(music.lock);
    DeleteSynth();
    initialised = false;
    port_added = false;
    return S_OK;
  }
};

HRESULT SoftSegment::SetParam(REFGUID type, DWORD, DWORD, MUSIC_TIME, void* param) {
  if (FaultHits(PlatformCall::MusicSetParam)) return E_FAIL;
  if (IsEqualGUID(type, GUID_StandardMIDIFile) || IsEqualGUID(type, GUID_Unload)) return S_OK;
  if (!IsEqualGUID(type, GUID_Download)) return E_INVALIDARG;
  // Instruments come from the SoundFont the performance loaded: it must have one.
  auto* performance = static_cast<SoftPerformance*>(static_cast<IDirectMusicPerformance*>(param));
  return performance && performance->initialised ? S_OK : E_POINTER;
}

// Wide text to UTF-8 (the file system's encoding).
std::string Utf8(const WCHAR* wide) {
  std::string text;
  for (; *wide; ++wide) {
    const uint32_t code = static_cast<uint32_t>(*wide);
    if (code < 0x80) {
      text += static_cast<char>(code);
    } else if (code < 0x800) {
      text += static_cast<char>(0xC0 | code >> 6);
      text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      text += static_cast<char>(0xE0 | code >> 12);
      text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      text += static_cast<char>(0xF0 | code >> 18);
      text += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      text += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return text;
}

// A file's bytes, or false when it cannot be read or is larger than any MIDI file we take.
// Read a piece at a time, so that a small file costs a small buffer (the segment keeps it).
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* bytes) {
  FILE* file = OpenDataFile(path.c_str(), "rb");
  if (file == nullptr) return false;
  bytes->clear();
  uint8_t piece[4096];
  size_t count = 0;
  while (bytes->size() <= MIDI_FILE_MAX_BYTES && (count = std::fread(piece, 1, sizeof piece, file)) > 0)
    bytes->insert(bytes->end(), piece, piece + count);
  std::fclose(file);
  return bytes->size() <= MIDI_FILE_MAX_BYTES;
}

// True when the terminated wide text lies within `capacity` characters.
bool Terminated(const WCHAR* text, size_t capacity) {
  for (size_t i = 0; i < capacity; ++i)
    if (text[i] == 0) return true;
  return false;
}

struct SoftLoader final : ComObject<IDirectMusicLoader> {
  std::string directory;  // where files named without a full path are looked for

  SoftLoader() { ++music.live_objects; }
  ~SoftLoader() override { --music.live_objects; }

  HRESULT STDMETHODCALLTYPE SetSearchDirectory(REFGUID, WCHAR* path, BOOL) override {
    if (path == nullptr) return E_POINTER;
    if (!Terminated(path, MAX_PATH)) return E_INVALIDARG;
    directory = Utf8(path);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetObject(LPDMUS_OBJECTDESC desc, REFIID iid, LPVOID* object) override {
    if (object == nullptr || desc == nullptr) return E_POINTER;
    *object = nullptr;
    if (desc->dwSize != sizeof(DMUS_OBJECTDESC) || !(desc->dwValidData & DMUS_OBJ_FILENAME)) return E_INVALIDARG;
    if ((desc->dwValidData & DMUS_OBJ_CLASS) && !IsEqualGUID(desc->guidClass, CLSID_DirectMusicSegment))
      return REGDB_E_CLASSNOTREG;
    if (!IsEqualGUID(iid, IID_IDirectMusicSegment)) return E_NOINTERFACE;
    if (!Terminated(desc->wszFileName, DMUS_MAX_FILENAME)) return E_INVALIDARG;
    std::string path = Utf8(desc->wszFileName);
    if (path.empty()) return E_INVALIDARG;
    const bool full = (desc->dwValidData & DMUS_OBJ_FULLPATH) || path.front() == '/';
    if (!full && !directory.empty()) path = directory + "/" + path;
    std::vector<uint8_t> bytes;
    uint64_t length_ticks = 0;
    if (!ReadFileBytes(path, &bytes) || !MidiFileValid(bytes.data(), bytes.size(), &length_ticks)) return E_FAIL;
    *object = static_cast<IDirectMusicSegment*>(new SoftSegment(std::move(bytes), length_ticks));
    return S_OK;
  }
};

}  // namespace

IDirectMusicPerformance* NewSoftPerformance() { return new SoftPerformance; }

IDirectMusicLoader* NewSoftLoader() { return new SoftLoader; }

int SoftMusicObjectCount() { return music.live_objects; }

void SetSoundFontFolders(const char* const* folders) { music.folders = folders ? folders : STANDARD_FOLDERS; }
