// Eight bars of melody and bass, merged into one track in time order.
#include "tune.h"

#include <algorithm>

#include "output_files.h"

namespace {

// One note: start and length in eighth notes, channel and key.
struct TuneNote {
  int start;
  int length;
  int channel;
  int key;
};

constexpr int MELODY = 0;        // channel of the melody
constexpr int BASS = 1;          // channel of the bass
constexpr int GLOCKENSPIEL = 9;  // General MIDI programs, counted from 0
constexpr int FINGER_BASS = 33;
constexpr int EIGHTH = TUNE_DIVISION / 2;

// Melody as (key, eighths) pairs, one after another; key 0 is a rest.
const int MELODY_LINE[][2] = {
    {72, 1}, {76, 1}, {79, 2}, {76, 1}, {79, 1}, {84, 2},  // C E G . E G C' .
    {81, 1}, {79, 1}, {77, 1}, {76, 1}, {74, 4},           // A G F E D . . .
    {72, 1}, {76, 1}, {79, 2}, {77, 1}, {76, 1}, {74, 2},  // C E G . F E D .
    {76, 1}, {74, 1}, {72, 1}, {74, 1}, {79, 4},           // E D C D G . . .
    {84, 1}, {83, 1}, {81, 1}, {79, 1}, {77, 2}, {81, 2},  // C' B A G F . A .
    {79, 1}, {77, 1}, {76, 1}, {74, 1}, {72, 2}, {76, 2},  // G F E D C . E .
    {74, 1}, {76, 1}, {77, 1}, {74, 1}, {79, 2}, {71, 2},  // D E F D G . B, .
    {72, 2}, {79, 1}, {76, 1}, {72, 4},                    // C . G E C . . .
};
// Bass roots, one a half bar (four eighths).
const int BASS_LINE[] = {48, 43, 53, 43, 48, 43, 55, 43, 53, 48, 48, 43, 50, 55, 48, 36};

std::vector<TuneNote> Notes() {
  std::vector<TuneNote> notes;
  int at = 0;
  for (const auto& step : MELODY_LINE) {
    if (step[0] != 0) notes.push_back({at, step[1], MELODY, step[0]});
    at += step[1];
  }
  for (int i = 0; i < static_cast<int>(sizeof BASS_LINE / sizeof BASS_LINE[0]); ++i)
    notes.push_back({i * 4, 3, BASS, BASS_LINE[i]});
  return notes;
}

// One note-on or note-off at a tick.
struct TuneEvent {
  int tick;
  bool on;
  int channel;
  int key;
};

std::vector<TuneEvent> Events() {
  std::vector<TuneEvent> events;
  for (const TuneNote& note : Notes()) {
    events.push_back({note.start * EIGHTH, true, note.channel, note.key});
    events.push_back({(note.start + note.length) * EIGHTH - 4, false, note.channel, note.key});  // detached
  }
  // Offs before ons at the same tick; otherwise by channel and key, so the order is fixed.
  std::sort(events.begin(), events.end(), [](const TuneEvent& a, const TuneEvent& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    if (a.on != b.on) return !a.on;
    return a.channel != b.channel ? a.channel < b.channel : a.key < b.key;
  });
  return events;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutVarLength(std::vector<uint8_t>& out, uint32_t value) {
  uint8_t groups[4];
  int count = 0;
  do {
    groups[count++] = value & 0x7F;
    value >>= 7;
  } while (value != 0 && count < 4);
  while (count > 1) out.push_back(groups[--count] | 0x80);
  out.push_back(groups[0]);
}

std::vector<uint8_t> TrackEvents() {
  std::vector<uint8_t> track;
  const uint32_t micros_per_quarter = 60000000 / TUNE_TEMPO_BPM;
  const uint8_t start[] = {0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00,              // tempo (filled below)
                           0x00, 0xC0 | MELODY, GLOCKENSPIEL, 0x00, 0xC0 | BASS, FINGER_BASS,
                           0x00, 0xB0 | BASS, 7, 90};                              // bass a little softer
  track.assign(start, start + sizeof start);
  track[4] = static_cast<uint8_t>(micros_per_quarter >> 16);
  track[5] = static_cast<uint8_t>(micros_per_quarter >> 8);
  track[6] = static_cast<uint8_t>(micros_per_quarter);
  int tick = 0;
  for (const TuneEvent& event : Events()) {
    PutVarLength(track, static_cast<uint32_t>(event.tick - tick));
    tick = event.tick;
    track.push_back(static_cast<uint8_t>((event.on ? 0x90 : 0x80) | event.channel));
    track.push_back(static_cast<uint8_t>(event.key));
    track.push_back(event.on ? (event.channel == MELODY ? 100 : 80) : 0);
  }
  const uint8_t end[] = {0x00, 0xFF, 0x2F, 0x00};
  track.insert(track.end(), end, end + sizeof end);
  return track;
}

}  // namespace

std::vector<uint8_t> CheerfulTuneMidi() {
  const std::vector<uint8_t> events = TrackEvents();
  std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
  PutBigEndian(file, 6, 4);
  PutBigEndian(file, 0, 2);  // format 0: one track
  PutBigEndian(file, 1, 2);
  PutBigEndian(file, TUNE_DIVISION, 2);
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  PutBigEndian(file, static_cast<uint32_t>(events.size()), 4);
  file.insert(file.end(), events.begin(), events.end());
  return file;
}

bool WriteTune(const std::string& folder) { return WriteFileBytes(folder + "/" + TUNE_FILE, CheerfulTuneMidi()); }
