// The sound table over the software DirectSound: WAV files of every layout decoded to the exact
// bytes, broken ones refused, slots, controls, duplicates, failures, and play over virtual time.
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "gameplay/game_routines.h"
#include "soft/direct_sound.h"
#include "soft/faults.h"
#include "sound/sound_table.h"
#include "sound/wav_convert.h"
#include "sound_fixture.h"

namespace {

// The extensible format's 40-byte body: `valid_bits` of `bits` used, and the sub-format GUID
// whose first field is `subformat` (1 integer PCM, 3 float).
std::string ExtensibleBody(uint16_t channels, uint16_t bits, uint16_t valid_bits, uint32_t subformat,
                           uint16_t extra_bytes = 22) {
  const std::string guid_rest = {0, 0, 0x10, 0, '\x80', 0, 0, '\xAA', 0, 0x38, '\x9B', 0x71};
  return FormatBody(channels, 11025, bits, 0xFFFE) + Le16(extra_bytes) + Le16(valid_bits) + Le32(0) +
         Le32(subformat) + guid_rest;
}

// A full-scale 32-bit sample as a file of `bits` holds it: integers keep its top bytes (8-bit
// ones offset by 128), floats (is_float) hold it divided by 2^31.
std::string EncodeSample(int32_t value, int bits, bool is_float = false) {
  const uint32_t word = static_cast<uint32_t>(value);
  if (is_float) {
    const float scaled = static_cast<float>(value) / 2147483648.0f;
    uint32_t pattern;
    std::memcpy(&pattern, &scaled, sizeof pattern);
    return Le32(pattern);
  }
  if (bits == 8) return std::string(1, static_cast<char>((word >> 24) ^ 0x80));
  return Le32(word).substr(4 - bits / 8);
}

// Full-scale samples and the table bytes they become: the top 8 bits, offset by 128.
const std::vector<int32_t> FULL_SCALE = {0x7FFFF000, INT32_MIN, 0x12345000, -0x12345000, 0, 0x00FFF000};
const std::string FULL_SCALE_BYTES = Bytes({0xFF, 0x00, 0x92, 0x6D, 0x80, 0x80});

std::string Encoded(int bits, bool is_float, int channels = 1) {
  std::string samples;
  for (int32_t value : FULL_SCALE)
    for (int channel = 0; channel < channels; ++channel) samples += EncodeSample(value, bits, is_float);
  return samples;
}

// The buffer bytes each file loads as, and the rate recorded for it.
struct Decoded {
  const char* name;
  std::string file;
  std::string bytes;
  int rate;
};

std::vector<Decoded> DecodedFiles() {
  const std::string format = Chunk("fmt ", FormatBody(1, 11025, 8));
  const std::string list = Chunk("LIST", "INFOISFT" + Le32(3) + std::string("ab\0", 3));
  const std::string six_tail = EncodeSample(0x40000000, 24) + EncodeSample(0x40000000, 24) + std::string(12, '\0');
  return {
      {"chunks stepped over", Wave(list + format + Chunk("junk", "odd") + Chunk("fact", Le32(5)) +
                                   Chunk("data", "\1\2\3\4\5")), "\1\2\3\4\5", 11025},
      {"long format chunk", WithFormat(FormatBody(1, 11025, 8) + Le16(6) + "extra!z", "\5\4\3\2"), "\5\4\3\2",
       11025},
      {"data past the file", Wave(format + ChunkClaiming("data", 0xFFFFFFF0u, "\12\24\36\50\62")),
       "\12\24\36\50\62", 11025},
      // Channels averaged, then each two frames: (2048 + 4096) / 2 -> 128 + 12.
      {"16-bit stereo 22050 Hz",
       WithFormat(FormatBody(2, 22050, 16), Int16s({1024, 3072, 3072, 5120, -8192, -8192, 0, -16384, 2560, 2560,
                                                    2560, 2560, -32768, -32768, -32768, -32768})),
       Bytes({140, 96, 138, 0}), 22050},
      {"16-bit mono 22050 Hz", WithFormat(FormatBody(1, 22050, 16), Int16s({255, 256, 0, 1, -256, -256, 32767, 32767})),
       Bytes({128, 128, 127, 255}), 22050},
      {"8-bit 3675 Hz eased in thirds", WithFormat(FormatBody(1, 3675, 8), Bytes({100, 142, 61})),
       Bytes({100, 114, 128, 142, 115, 88, 61, 61, 61}), 3675},
      {"slowest rate", WithFormat(FormatBody(1, 1000, 8), "\xC8\xC8\xC8\xC8"), std::string(44, '\xC8'), 1000},
      {"24-bit", WithFormat(FormatBody(1, 11025, 24), Encoded(24, false)), FULL_SCALE_BYTES, 11025},
      {"32-bit", WithFormat(FormatBody(1, 11025, 32), Encoded(32, false)), FULL_SCALE_BYTES, 11025},
      {"float", WithFormat(FormatBody(1, 11025, 32, 3), Encoded(32, true)), FULL_SCALE_BYTES, 11025},
      {"extensible 16-bit", WithFormat(ExtensibleBody(1, 16, 16, 1), Encoded(16, false)), FULL_SCALE_BYTES, 11025},
      {"extensible 20 in 24", WithFormat(ExtensibleBody(1, 24, 20, 1), Encoded(24, false)), FULL_SCALE_BYTES, 11025},
      {"extensible float", WithFormat(ExtensibleBody(1, 32, 32, 3), Encoded(32, true)), FULL_SCALE_BYTES, 11025},
      // Six channels averaged: 0x4000 in two and 0 in four is 0x1555, top byte 0x15.
      {"six channels", WithFormat(ExtensibleBody(6, 24, 24, 1), Encoded(24, false, 6) + six_tail),
       FULL_SCALE_BYTES + "\x95", 11025},
      // Floats beyond full scale are held at it; not a number is silence: 2, -2, NaN, 0.5.
      {"float clipped", WithFormat(FormatBody(1, 11025, 32, 3), Le32(0x40000000) + Le32(0xC0000000) +
                                                                    Le32(0x7FC00000) + Le32(0x3F000000)),
       Bytes({0xFF, 0x00, 0x80, 0xC0}), 11025},
  };
}

TEST_F(SoundTableTest, EachLayoutLoadsAsTheTableBytes) {
  for (const Decoded& file : DecodedFiles()) {
    SCOPED_TRACE(file.name);
    const int id = Load(file.file);
    ASSERT_GE(id, 0);
    EXPECT_EQ(sound_table[id].rate, file.rate);
    EXPECT_EQ(sound_table[id].size, static_cast<int>(file.bytes.size()));
    EXPECT_EQ(BufferBytes(id), file.bytes);
  }
}

TEST_F(SoundTableTest, MalformedFilesAndOtherFormatsAreRefusedAndTakeNoSlot) {
  const std::string pcm(64, '\x80');
  const std::string data = Chunk("data", pcm);
  const std::string good = Chunk("fmt ", FormatBody(1, 11025, 8));
  const std::string extensible = ExtensibleBody(1, 16, 16, 1);
  const std::vector<std::string> broken = {
      "RIFF", Wave(""),
      Chunk("RIFX", "WAVE" + good + data),
      WithFormat(FormatBody(1, 11025, 8, 2), pcm),            // a compressed format
      WithFormat(FormatBody(1, 11025, 8, 3), pcm),            // float of 8 bits
      WithFormat(ExtensibleBody(1, 8, 8, 2), pcm),            // a compressed sub-format
      WithFormat(extensible.substr(0, 39) + "\x70", pcm),     // not the GUID
      WithFormat(extensible.substr(0, 38), pcm),              // cut short
      WithFormat(ExtensibleBody(1, 16, 16, 1, 0), pcm),       // no room said for the rest
      WithFormat(ExtensibleBody(1, 24, 0x118, 1), pcm),       // more valid bits than stored
      WithFormat(FormatBody(1, 11025, 8).substr(0, 14), pcm),  // short format
      WithFormat(FormatBody(0, 11025, 8), pcm),               // no channels
      WithFormat(FormatBody(1, 999, 8), std::string(23000, '\x90')),  // below 1000 Hz: no recording
      WithFormat(FormatBody(2, 11025, 16, 1, 3), pcm),        // block alignment wrong
      WithFormat(FormatBody(1, 11025, 12), pcm),              // 12-bit samples
      Wave(good),                                            // no data
      Wave(data + good),                                     // data before the format
      Wave(good + ChunkClaiming("junk", 0xFFFFFFFFu, "xx") + data),             // skip runs off the end
      Wave(ChunkClaiming("fmt ", 0xFFFFFFF8u, FormatBody(1, 11025, 8)) + data),  // format never ends
      Wave(good).substr(0, 30),                                                  // truncated in the format
      "RIFF" + Le32(4 + 8 + 16) + "WAVE" + good + data,  // data beyond what RIFF claims
      // 24347888 frames at 1000 Hz become 268435465 bytes, more than any sound buffer.
      WithFormat(FormatBody(1, 1000, 8), std::string(24347888, '\x90')),
  };
  for (size_t i = 0; i < broken.size(); ++i) EXPECT_EQ(Load(broken[i]), -1) << "case " << i;
  EXPECT_EQ(sound_table[0].state, 0);
  EXPECT_EQ(SoftSoundObjectCount(), 1);
  // Sizes in 64 bits, which a 32-bit count would wrap.
  EXPECT_EQ(ConvertedSize(PcmLayout{1000, 1, 8}, 0xFFFFFFFFu), 47352014427u);
}

TEST_F(SoundTableTest, LoadsTakeSlotsInOrderAndA257thFails) {
  const std::string wave = GameWave(std::string(100, '\x90'));
  for (int expected = 0; expected < SOUND_SLOTS; ++expected) ASSERT_EQ(Load(wave), expected);
  EXPECT_EQ(Load(wave), -1);
  EXPECT_EQ(ReplicateSound(0), -1);  // no slot for the copy either
}

TEST_F(SoundTableTest, AFailedReadKeepsNoSlotButAFailedBufferOrLockKeepsItsSlotWithoutABuffer) {
  const std::string wave = GameWave(std::string(100, '\x90'));
  EXPECT_EQ(LoadWav("missing.wav", SOUND_CONTROLS), -1);
  for (PlatformCall call : {PlatformCall::CreateSoundBuffer, PlatformCall::SoundLock}) {
    InjectFault(call, 1);
    EXPECT_EQ(Load(wave), -1);
  }
  for (int id : {0, 1}) {
    EXPECT_EQ(sound_table[id].state, 1);
    EXPECT_EQ(sound_table[id].buffer, nullptr);
  }
  EXPECT_EQ(SoftSoundObjectCount(), 1);  // only DirectSound itself
  EXPECT_EQ(Load(wave), 2);
}

TEST_F(SoundTableTest, VolumeAndPanReachTheBuffer) {
  const int id = Load(GameWave(std::string(100, '\x90')));
  LONG value = 0;
  // Volumes outside 0..100 are held at the nearer end.
  const int volumes[][2] = {{50, -1500}, {0, -3000}, {100, 0}, {INT_MIN, -3000}, {-1, -3000}, {101, 0}, {INT_MAX, 0}};
  for (const auto& volume : volumes) {
    ASSERT_EQ(SetSoundVolume(id, volume[0]), 1) << volume[0];
    ASSERT_EQ(sound_table[id].buffer->GetVolume(&value), DS_OK);
    EXPECT_EQ(value, volume[1]) << volume[0];
  }
  ASSERT_EQ(SetSoundPan(id, -10000), 1);
  ASSERT_EQ(sound_table[id].buffer->GetPan(&value), DS_OK);
  EXPECT_EQ(value, -10000);
  EXPECT_EQ(SetSoundPan(id, 10001), 0);
  const int fixed = LoadWav("test.wav", 0);  // no controls asked for
  EXPECT_EQ(SetSoundVolume(fixed, 100), 0);
  EXPECT_EQ(SetSoundVolume(SOUND_SLOTS, 100), 0);
}

TEST_F(SoundTableTest, ReplicasPlayIndependentlyAndDeletedSoundsKeepTheirSlot) {
  const int id = Load(GameWave(std::string(441, '\xA0')));
  ASSERT_EQ(SetSoundPan(id, -10000), 1);  // the copy takes it: it is heard on the left only
  const int copy = ReplicateSound(id);
  ASSERT_EQ(copy, 1);
  EXPECT_EQ(sound_table[copy].size, 441);
  HeadlessKeepAudio(true);
  ASSERT_EQ(PlaySound(copy, DSBPLAY_LOOPING), 1);
  HeadlessAdvance(10);
  const std::vector<int16_t>& audio = HeadlessAudio();
  ASSERT_GE(audio.size(), 2u);
  EXPECT_EQ((std::vector<int16_t>{32 * 256, 0}), std::vector<int16_t>(audio.end() - 2, audio.end()));
  EXPECT_EQ(SoundStatus(id), 0);
  EXPECT_EQ(DeleteSound(id), 1);
  EXPECT_EQ(sound_table[id].buffer, nullptr);
  EXPECT_EQ(sound_table[id].state, 1);
  EXPECT_EQ(SoundStatus(copy), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  EXPECT_EQ(ReplicateSound(id), -1);  // no buffer to duplicate: the slot is given back
  EXPECT_EQ(ReplicateSound(SOUND_SLOTS), -1);
  EXPECT_EQ(StopAllSounds(), 1);
  EXPECT_EQ(SoundStatus(copy), 0);
}

// The time left follows the play position and the frequency; a restarted sound ends exactly
// when its samples are consumed; a sound whose status cannot be read counts as stopped.
TEST_F(SoundTableTest, PlayLoopStopAndTheTimeLeftOverVirtualTime) {
  const int id = Load(GameWave(std::string(1103, '\x70')));  // 100 ms and a bit
  EXPECT_EQ(SoundMsLeft(id), 100);
  ASSERT_EQ(PlaySound(id, 0), 1);
  HeadlessAdvance(40);  // 441 samples played
  EXPECT_EQ(SoundMsLeft(id), 60);
  ASSERT_EQ(SetSoundFrequency(id, 22050), 1);
  EXPECT_EQ(SoundMsLeft(id), 30);
  ASSERT_EQ(SetSoundFrequency(id, 11025), 1);
  const uint32_t start = HeadlessNow();
  ASSERT_EQ(PlaySound(id, 0), 1);  // restarts from the beginning
  EXPECT_EQ(SoundStatus(id), DSBSTATUS_PLAYING);
  WaitForSound(id);
  EXPECT_EQ(HeadlessNow() - start, 101u);
  ASSERT_EQ(PlaySound(id, DSBPLAY_LOOPING), 1);
  HeadlessAdvance(1000);
  EXPECT_EQ(SoundStatus(id), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  EXPECT_EQ(StopSound(id), 1);
  EXPECT_EQ(SoundStatus(id), 0);
  EXPECT_EQ(SoundMsLeft(id), 100);  // rewound
  ASSERT_EQ(PlaySound(id, DSBPLAY_LOOPING), 1);
  InjectFault(PlatformCall::SoundGetStatus, 1, 1000000);  // a failed query counts as stopped
  EXPECT_EQ(SoundStatus(id), 0);
  PlayAndWait(id);  // ends instead of spinning
  EXPECT_FALSE(SoundPlaying(id));
}

// Shut-down forgets the device and every buffer, so it can run twice; a later SoundInit starts
// afresh, and one whose DirectSound cannot be made leaves every sound silent and harmless until
// a later SoundInit makes it.
TEST_F(SoundTableTest, ShutDownForgetsTheDeviceAndEveryBufferSoItCanRunTwiceAndStartAgain) {
  const int id = Load(GameWave(std::string(100, '\x90')));
  EXPECT_EQ(SoundInit(), 1);  // a second start empties the table and keeps its one device
  EXPECT_EQ(SoftSoundObjectCount(), 1);
  EXPECT_EQ(sound_table[id].state, 0);
  EXPECT_EQ(Load(GameWave(std::string(100, '\x90'))), id);
  EXPECT_EQ(SoundShutdown(), 1);
  EXPECT_EQ(direct_sound, nullptr);
  EXPECT_EQ(sound_table[id].buffer, nullptr);
  EXPECT_EQ(SoftSoundObjectCount(), 0);
  EXPECT_EQ(SoundShutdown(), 1);  // releases nothing a second time
  InjectFault(PlatformCall::DirectSoundCreate, 1);
  EXPECT_EQ(SoundInit(), 0);
  EXPECT_EQ(LoadWav("test.wav", SOUND_CONTROLS), -1);
  for (int id : {-1, 0, SOUND_SLOTS}) {  // outside the table, and a slot without a buffer
    SCOPED_TRACE(id);
    EXPECT_EQ(PlaySound(id, 0), 1);
    EXPECT_EQ(SoundStatus(id), -1);
    EXPECT_EQ(SoundMsLeft(id), 0);
    EXPECT_EQ(ReplicateSound(id), -1);
  }
  EXPECT_STREQ(SoundFileName(SOUND_SLOTS), "");
  EXPECT_EQ(SoundInit(), 1);  // the failed start is tried again, not taken for done
  EXPECT_NE(direct_sound, nullptr);
  EXPECT_EQ(LoadWav("test.wav", SOUND_CONTROLS), 0);
}

}  // namespace
