// The sound tests' machine: a window and sound started afresh before each test, everything
// released after it; and the bytes of the RIFF files the tests load.
#pragma once

#include <cstring>
#include <initializer_list>
#include <string>

#include "soft/direct_sound.h"
#include "sound/sound_table.h"
#include "test_support.h"

// `value` as `bytes` little-endian bytes.
inline std::string LittleEndian(uint32_t value, int bytes) {
  std::string text(bytes, '\0');
  for (int i = 0; i < bytes; ++i) text[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return text;
}

inline std::string Le32(uint32_t value) { return LittleEndian(value, 4); }

inline std::string Le16(uint16_t value) { return LittleEndian(value, 2); }

// The bytes listed, as a string (zeros included).
inline std::string Bytes(std::initializer_list<int> values) {
  std::string text;
  for (int value : values) text += static_cast<char>(value);
  return text;
}

// A chunk whose size field says `size`, whatever follows.
inline std::string ChunkClaiming(const std::string& id, uint32_t size, const std::string& body) {
  return id + Le32(size) + body;
}

// A chunk with its size and, after an odd size, the pad byte.
inline std::string Chunk(const std::string& id, const std::string& body) {
  const std::string pad(body.size() % 2, '\0');
  return ChunkClaiming(id, static_cast<uint32_t>(body.size()), body) + pad;
}

// A RIFF WAVE file holding `chunks`.
inline std::string Wave(const std::string& chunks) {
  return ChunkClaiming("RIFF", static_cast<uint32_t>(4 + chunks.size()), "WAVE" + chunks);
}

// The 16-byte PCM format chunk's body; block < 0 takes the size of one frame.
inline std::string FormatBody(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1, int block = -1) {
  const uint16_t align = static_cast<uint16_t>(block < 0 ? channels * bits / 8 : block);
  return Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * align) + Le16(align) + Le16(bits);
}

inline std::string WithFormat(const std::string& format, const std::string& samples) {
  return Wave(Chunk("fmt ", format) + Chunk("data", samples));
}

// A file in the game's own format: 11025 Hz, 8-bit, mono.
inline std::string GameWave(const std::string& samples) { return WithFormat(FormatBody(1, 11025, 8), samples); }

// 16-bit samples, little-endian.
inline std::string Int16s(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes += Le16(static_cast<uint16_t>(value));
  return bytes;
}

// A window and no sound object before each test; after it sound is shut down and no sound
// object is left.
class SoundMachineTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
    sound_first_call = 1;
    direct_sound = nullptr;
  }
  void TearDown() override {
    SoundShutdown();
    std::memset(sound_table, 0, sizeof sound_table);
    EXPECT_EQ(SoftSoundObjectCount(), 0);
    FreshMachineTest::TearDown();
  }
};

// The sound table started, and files loaded into it from bytes.
class SoundTableTest : public SoundMachineTest {
 protected:
  void SetUp() override {
    SoundMachineTest::SetUp();
    ASSERT_EQ(SoundInit(), 1);
  }
  // Writes the bytes to `name` and loads it with every control; the sound id, or -1.
  int Load(const std::string& file_bytes, const char* name = "test.wav") {
    WriteTextFile(name, file_bytes);
    return LoadWav(name, SOUND_CONTROLS);
  }
  // The bytes in a slot's buffer.
  std::string BufferBytes(int id) {
    void* region = nullptr;
    DWORD length = 0;
    LPDIRECTSOUNDBUFFER buffer = sound_table[id].buffer;
    EXPECT_EQ(buffer->Lock(0, 0, &region, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    std::string bytes(static_cast<char*>(region), length);
    EXPECT_EQ(buffer->Unlock(region, length, nullptr, 0), DS_OK);
    return bytes;
  }
};
