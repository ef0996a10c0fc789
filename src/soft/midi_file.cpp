// Standard MIDI file check: every length is tested against the bytes that are really there.
#include "soft/midi_file.h"

namespace {

// A reading position inside one stretch of bytes.
struct Cursor {
  const uint8_t* at;
  const uint8_t* end;
};

bool Take(Cursor& cursor, uint8_t* value) {
  if (cursor.at >= cursor.end) return false;
  *value = *cursor.at++;
  return true;
}

bool Skip(Cursor& cursor, uint32_t count) {
  if (count > static_cast<size_t>(cursor.end - cursor.at)) return false;
  cursor.at += count;
  return true;
}

uint32_t BigEndian(const uint8_t* bytes, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | bytes[i];
  return value;
}

bool ChunkIs(const uint8_t* bytes, const char* id) {
  for (int i = 0; i < 4; ++i)
    if (bytes[i] != static_cast<uint8_t>(id[i])) return false;
  return true;
}

// A variable-length quantity: at most four bytes, seven bits each.
bool TakeVarLength(Cursor& cursor, uint32_t* value) {
  *value = 0;
  for (int i = 0; i < 4; ++i) {
    uint8_t byte;
    if (!Take(cursor, &byte)) return false;
    *value = *value << 7 | (byte & 0x7F);
    if ((byte & 0x80) == 0) return true;
  }
  return false;
}

// Data bytes that follow a channel status byte.
int ChannelDataBytes(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

// Meta events whose length is fixed: end of track 0, tempo 3, time signature 4, key 2, and so on.
bool MetaLengthValid(uint8_t type, uint32_t length, const uint8_t* data) {
  switch (type) {
    case 0x00: return length == 0 || length == 2;
    case 0x20: case 0x21: return length == 1;
    case 0x2F: return length == 0;
    case 0x51: return length == 3 && BigEndian(data, 3) != 0;  // zero microseconds a beat never ends
    case 0x54: return length == 5;
    case 0x58: return length == 4;
    case 0x59: return length == 2;
    default: return true;
  }
}

// Meta or system-exclusive event after its status byte; *ended set by end of track.
bool TakeMetaOrSysex(Cursor& cursor, uint8_t status, bool* ended) {
  uint8_t type = 0;
  if (status == 0xFF && !Take(cursor, &type)) return false;
  uint32_t length;
  if (!TakeVarLength(cursor, &length)) return false;
  const uint8_t* data = cursor.at;
  if (!Skip(cursor, length)) return false;
  if (status != 0xFF) return true;
  *ended = type == 0x2F;
  return MetaLengthValid(type, length, data);
}

bool TakeChannelData(Cursor& cursor, uint8_t status, int already) {
  for (int i = already; i < ChannelDataBytes(status); ++i) {
    uint8_t data;
    if (!Take(cursor, &data) || (data & 0x80)) return false;
  }
  return true;
}

// One track's events, which must end exactly at the end of the chunk with end of track.
// *ticks grows by the track's length.
bool TrackValid(Cursor track, uint64_t* ticks) {
  uint8_t running = 0;  // last channel status; 0 after meta and system-exclusive events
  bool ended = false;
  while (!ended) {
    uint32_t delta;
    uint8_t byte;
    if (!TakeVarLength(track, &delta) || !Take(track, &byte)) return false;
    *ticks += delta;
    if (byte < 0x80) {  // running status: a data byte in place of a status byte
      if (running == 0 || !TakeChannelData(track, running, 1)) return false;
    } else if (byte < 0xF0) {
      running = byte;
      if (!TakeChannelData(track, byte, 0)) return false;
    } else if (byte == 0xF0 || byte == 0xF7 || byte == 0xFF) {
      running = 0;
      if (!TakeMetaOrSysex(track, byte, &ended)) return false;
    } else {
      return false;  // system common and real-time messages have no place in a file
    }
  }
  return track.at == track.end;
}

}  // namespace

bool MidiFileValid(const uint8_t* bytes, size_t size, uint64_t* length_ticks) {
  if (bytes == nullptr || size < 14 || size > MIDI_FILE_MAX_BYTES) return false;
  if (!ChunkIs(bytes, "MThd") || BigEndian(bytes + 4, 4) != 6) return false;
  const uint32_t format = BigEndian(bytes + 8, 2);
  const uint32_t tracks = BigEndian(bytes + 10, 2);
  const uint32_t division = BigEndian(bytes + 12, 2);
  if (format > 1 || tracks == 0 || (format == 0 && tracks != 1)) return false;
  if (division == 0 || (division & 0x8000)) return false;  // metrical timing only
  Cursor file{bytes + 14, bytes + size};
  uint64_t longest = 0;
  for (uint32_t i = 0; i < tracks; ++i) {
    const uint8_t* header = file.at;
    if (!Skip(file, 8) || !ChunkIs(header, "MTrk")) return false;
    const uint32_t length = BigEndian(header + 4, 4);
    const uint8_t* start = file.at;
    uint64_t ticks = 0;
    if (!Skip(file, length) || !TrackValid(Cursor{start, file.at}, &ticks)) return false;
    longest = ticks > longest ? ticks : longest;
  }
  if (length_ticks) *length_ticks = longest;
  return true;
}
