// The music table over DirectMusic. Only a load needs the performance and the loader checked: a
// slot holds a segment only between the load that made it and MusicShutdown, which empties every
// slot before it releases the performance. A failed load releases the segment it obtained.
#include "sound/midi_music.h"

#include "sound/sound_table.h"
#include "display/display.h"

MidiSlot midi_table[MIDI_SLOTS];
IDirectMusicPerformance* music_performance = nullptr;
IDirectMusicLoader* music_loader = nullptr;
int active_midi = -1;

namespace {

// Every track of a segment.
constexpr DWORD ALL_TRACKS = 0xFFFFFFFF;

// The slot for an id that holds a file, or null.
MidiSlot* HeldSlot(int id) {
  if (id < 0 || id >= MIDI_SLOTS) return nullptr;
  MidiSlot& slot = midi_table[id];
  return slot.segment != nullptr && slot.state != MIDI_FREE ? &slot : nullptr;
}

void ReleaseSegmentState(MidiSlot& slot) {
  if (slot.segment_state) slot.segment_state->Release();
  slot.segment_state = nullptr;
}

void ClearTable() {
  for (int i = 0; i < MIDI_SLOTS; ++i) midi_table[i] = MidiSlot{nullptr, nullptr, i, MIDI_FREE};
  active_midi = -1;
}

bool ToWide(const char* text, WCHAR* wide, int capacity) {
  return MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, wide, capacity) > 0;
}

// Points the loader at the working directory.
bool SearchWorkingDirectory() {
  char szDir[MAX_PATH];
  WCHAR wszDir[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, szDir);
  if (length == 0 || length >= MAX_PATH) return false;
  if (!ToWide(szDir, wszDir, MAX_PATH)) return false;
  return SUCCEEDED(music_loader->SetSearchDirectory(GUID_DirectMusicAllTypes, wszDir, FALSE));
}

// Asks the loader for the segment in a file; null when it cannot be had.
IDirectMusicSegment* LoadSegment(const char* file_name) {
  DMUS_OBJECTDESC ObjDesc = {};
  ObjDesc.dwSize = sizeof(DMUS_OBJECTDESC);
  ObjDesc.guidClass = CLSID_DirectMusicSegment;
  ObjDesc.dwValidData = DMUS_OBJ_CLASS | DMUS_OBJ_FILENAME;
  if (!ToWide(file_name, ObjDesc.wszFileName, DMUS_MAX_FILENAME)) return nullptr;
  IDirectMusicSegment* pSegment = nullptr;
  if (FAILED(music_loader->GetObject(&ObjDesc, IID_IDirectMusicSegment, reinterpret_cast<void**>(&pSegment))))
    return nullptr;
  return pSegment;
}

// Closes and releases the performance and the loader, whichever exist.
void ReleaseMusicObjects() {
  if (music_performance) {
    music_performance->CloseDown();
    music_performance->Release();
  }
  if (music_loader) music_loader->Release();
  music_performance = nullptr;
  music_loader = nullptr;
}

// Releases what a failed MusicInit made and ends COM, so that nothing is left behind.
int AbandonInit() {
  ReleaseMusicObjects();
  CoUninitialize();
  return 0;
}

}  // namespace

int MusicInit() {
  if (music_performance || music_loader) return 0;  // already running
  if (FAILED(CoInitialize(nullptr))) return 0;
  if (FAILED(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC, IID_IDirectMusicPerformance,
                              reinterpret_cast<void**>(&music_performance))))
    return AbandonInit();
  if (FAILED(music_performance->Init(nullptr, direct_sound, main_window))) return AbandonInit();
  if (FAILED(music_performance->AddPort(nullptr))) return AbandonInit();
  if (FAILED(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader,
                              reinterpret_cast<void**>(&music_loader))))
    return AbandonInit();
  ClearTable();
  return 1;
}

int LoadMidi(const char* file_name) {
  if (!music_performance || !music_loader || file_name == nullptr) return -1;
  int id = 0;
  while (id < MIDI_SLOTS && midi_table[id].state != MIDI_FREE) ++id;
  if (id == MIDI_SLOTS || !SearchWorkingDirectory()) return -1;
  IDirectMusicSegment* pSegment = LoadSegment(file_name);
  if (pSegment == nullptr) return -1;
  if (FAILED(pSegment->SetParam(GUID_StandardMIDIFile, ALL_TRACKS, 0, 0, music_performance)) ||
      FAILED(pSegment->SetParam(GUID_Download, ALL_TRACKS, 0, 0, music_performance))) {
    pSegment->Release();
    return -1;
  }
  midi_table[id] = MidiSlot{pSegment, nullptr, id, MIDI_LOADED};
  return id;
}

int PlayMidi(int id) {
  MidiSlot* slot = HeldSlot(id);
  if (slot == nullptr) return 0;
  if (active_midi != -1) StopMidi(active_midi);
  active_midi = -1;
  ReleaseSegmentState(*slot);
  if (FAILED(music_performance->PlaySegment(slot->segment, 0, 0, &slot->segment_state))) return 0;
  slot->state = MIDI_PLAYING;
  active_midi = id;
  return 1;
}

int StopMidi(int id) {
  MidiSlot* slot = HeldSlot(id);
  if (slot == nullptr) return 0;
  music_performance->Stop(slot->segment, nullptr, 0, 0);
  slot->state = MIDI_STOPPED;
  active_midi = -1;
  return 1;
}

int MidiStatus(int id) {
  MidiSlot* slot = HeldSlot(id);
  if (slot == nullptr) return 0;
  slot->state = music_performance->IsPlaying(slot->segment, nullptr) == S_OK ? MIDI_PLAYING : MIDI_STOPPED;
  return slot->state;
}

int DeleteMidi(int id) {
  if (id < 0 || id >= MIDI_SLOTS || midi_table[id].segment == nullptr) return 1;
  MidiSlot& slot = midi_table[id];
  slot.segment->SetParam(GUID_Unload, ALL_TRACKS, 0, 0, music_performance);
  ReleaseSegmentState(slot);
  slot.segment->Release();
  slot.segment = nullptr;
  slot.state = MIDI_FREE;
  return 1;
}

int DeleteAllMidi() {
  for (int id = 0; id < MIDI_SLOTS; ++id) DeleteMidi(id);
  return 1;
}

int MusicShutdown() {
  const bool running = music_performance || music_loader;
  if (music_performance) music_performance->Stop(nullptr, nullptr, 0, 0);
  DeleteAllMidi();
  ReleaseMusicObjects();
  active_midi = -1;
  if (running) CoUninitialize();
  return 1;
}
