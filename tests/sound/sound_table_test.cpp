// The sound table over the software DirectSound: loading WAV files (good, odd and broken),
// ids and slots, playing over virtual time, controls, duplicates, and the shell's waits.
#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "gameplay/game_world.h"
#include "shell/game_shell.h"
#include "soft/direct_sound.h"
#include "soft/faults.h"
#include "mmsystem.h"
#include "sound/sound_table.h"
#include "sound/wav_convert.h"
#include "test_support.h"

namespace {

std::string Le32(uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

std::string Le16(uint16_t value) { return Le32(value).substr(0, 2); }

// A chunk with its size and, after an odd size, the pad byte.
std::string Chunk(const std::string& id, const std::string& body) {
  return id + Le32(static_cast<uint32_t>(body.size())) + body + (body.size() % 2 ? std::string(1, '\0') : "");
}

// A chunk whose size field says `size`, whatever follows.
std::string ChunkClaiming(const std::string& id, uint32_t size, const std::string& body) {
  return id + Le32(size) + body;
}

// The 16-byte PCM format chunk's body.
std::string FormatBody(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1, int block = -1) {
  const uint16_t align = block < 0 ? static_cast<uint16_t>(channels * bits / 8) : static_cast<uint16_t>(block);
  return Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * align) + Le16(align) + Le16(bits);
}

// The 40-byte format chunk body of the extensible format: `bits` per sample in the file, `valid_bits`
// of them used, and the sub-format GUID whose first field is `subformat` (1 integer PCM, 3 float).
std::string ExtensibleBody(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t valid_bits, uint32_t subformat,
                           uint16_t extra_bytes = 22) {
  const std::string guid_rest = {0, 0, 0x10, 0, '\x80', 0, 0, '\xAA', 0, 0x38, '\x9B', 0x71};
  return FormatBody(channels, rate, bits, 0xFFFE) + Le16(extra_bytes) + Le16(valid_bits) + Le32(0) + Le32(subformat) +
         guid_rest;
}

// How a test file stores its samples.
struct SampleCoding {
  int bits;
  bool is_float;
};

// A full-scale 32-bit sample as a file in `coding` holds it: integers keep its top bits (8-bit
// ones offset by 128), floats hold it divided by 2^31.
std::string EncodeSample(int32_t value, SampleCoding coding) {
  const uint32_t word = static_cast<uint32_t>(value);
  if (coding.is_float) {
    const float scaled = static_cast<float>(value) / 2147483648.0f;
    uint32_t pattern;
    std::memcpy(&pattern, &scaled, sizeof pattern);
    return Le32(pattern);
  }
  if (coding.bits == 8) return std::string(1, static_cast<char>((word >> 24) ^ 0x80));
  return Le32(word).substr(4 - coding.bits / 8);  // the top bytes, low byte first
}

std::string Wave(const std::string& chunks) { return "RIFF" + Le32(static_cast<uint32_t>(4 + chunks.size())) + "WAVE" + chunks; }

std::string Samples(std::initializer_list<int> bytes) {
  std::string text;
  for (int byte : bytes) text += static_cast<char>(byte);
  return text;
}

// The plain game format: 11025 Hz, 8-bit, mono.
std::string GameWave(const std::string& samples) {
  return Wave(Chunk("fmt ", FormatBody(1, 11025, 8)) + Chunk("data", samples));
}

class SoundTableTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
    sound_first_call = 1;
    direct_sound = nullptr;
    ASSERT_EQ(SoundInit(), 1);
  }
  void TearDown() override {
    SoundShutdown();
    sound_first_call = 1;
    direct_sound = nullptr;
    std::memset(sound_table, 0, sizeof sound_table);
    EXPECT_EQ(SoftSoundObjectCount(), 0);
    FreshMachineTest::TearDown();
  }

  int Load(const std::string& file_bytes, const char* name = "test.wav") {
    WriteTextFile(name, file_bytes);
    return LoadWav(name, SOUND_CONTROLS);
  }
  // The bytes in a slot's buffer.
  std::vector<uint8_t> BufferBytes(int id) {
    void* region = nullptr;
    DWORD length = 0;
    LPDIRECTSOUNDBUFFER buffer = sound_table[id].buffer;
    EXPECT_EQ(buffer->Lock(0, 0, &region, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    std::vector<uint8_t> bytes(static_cast<uint8_t*>(region), static_cast<uint8_t*>(region) + length);
    EXPECT_EQ(buffer->Unlock(region, length, nullptr, 0), DS_OK);
    return bytes;
  }
};

TEST_F(SoundTableTest, LoadsTakeSlotsInOrderAndA257thFails) {
  const std::string wave = GameWave(std::string(100, '\x90'));
  for (int expected = 0; expected < SOUND_SLOTS; ++expected) ASSERT_EQ(Load(wave), expected);
  EXPECT_EQ(Load(wave), -1);
  EXPECT_EQ(ReplicateSound(0), -1);  // no slot for the copy either
  EXPECT_EQ(sound_table[255].id, 255);
  EXPECT_EQ(sound_table[255].size, 100);
  EXPECT_EQ(sound_table[255].rate, 11025);
  EXPECT_STREQ(SoundFileName(0), "test.wav");
  EXPECT_STREQ(SoundFileName(3), "test.wav");
  EXPECT_EQ(SoundInit(), 1);  // empties the table again, same DirectSound
  EXPECT_EQ(SoftSoundObjectCount(), 1);
  EXPECT_EQ(Load(wave), 0);
}

TEST_F(SoundTableTest, AFailedReadKeepsNoSlotButAFailedBufferKeepsItsSlot) {
  const std::string wave = GameWave(std::string(100, '\x90'));
  EXPECT_EQ(LoadWav("missing.wav", SOUND_CONTROLS), -1);
  EXPECT_EQ(Load(wave), 0);
  InjectFault(PlatformCall::CreateSoundBuffer, 1);
  EXPECT_EQ(Load(wave), -1);
  EXPECT_EQ(sound_table[1].state, 1);
  EXPECT_EQ(sound_table[1].buffer, nullptr);
  EXPECT_EQ(Load(wave), 2);
}

TEST_F(SoundTableTest, AFailedLockLeavesNoBufferAndNothingWritten) {
  InjectFault(PlatformCall::SoundLock, 1);
  EXPECT_EQ(Load(GameWave(std::string(100, '\x90'))), -1);
  EXPECT_EQ(sound_table[0].buffer, nullptr);
  EXPECT_EQ(sound_table[0].state, 1);
  EXPECT_EQ(SoftSoundObjectCount(), 1);  // only DirectSound itself
  EXPECT_EQ(SoundStatus(0), -1);
}

TEST_F(SoundTableTest, ChunksBeforeBetweenAndOddSizedAreSteppedOver) {
  const std::string list = Chunk("LIST", "INFOISFT" + Le32(3) + "ab" + std::string(1, '\0'));
  const std::string wave = Wave(list + Chunk("fmt ", FormatBody(1, 11025, 8)) + Chunk("junk", "odd") +
                                Chunk("fact", Le32(5)) + Chunk("data", Samples({1, 2, 3, 4, 5})));
  const int id = Load(wave);
  ASSERT_EQ(id, 0);
  EXPECT_EQ(BufferBytes(id), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(sound_table[id].size, 5);
}

TEST_F(SoundTableTest, FormatChunksOf16BytesAndLongerAreRead) {
  const int plain = Load(GameWave(Samples({9, 8, 7, 6})), "plain.wav");
  EXPECT_EQ(plain, 0);
  const std::string longer = FormatBody(1, 11025, 8) + Le16(6) + "extra!" + std::string(1, 'z');
  const int extended = Load(Wave(Chunk("fmt ", longer) + Chunk("data", Samples({5, 4, 3, 2}))), "long.wav");
  ASSERT_EQ(extended, 1);
  EXPECT_EQ(BufferBytes(extended), (std::vector<uint8_t>{5, 4, 3, 2}));
}

TEST_F(SoundTableTest, MalformedFilesFailCleanly) {
  const std::string data = Chunk("data", std::string(64, '\x80'));
  const std::string good_format = Chunk("fmt ", FormatBody(1, 11025, 8));
  const std::vector<std::string> broken = {
      "",
      "RIFF",
      Wave(""),
      Chunk("RIFX", "WAVE" + good_format + data),
      "RIFF" + Le32(100) + "AVI " + good_format + data,
      Wave(Chunk("fmt ", FormatBody(1, 11025, 8, 2)) + data),           // a compressed format
      Wave(Chunk("fmt ", FormatBody(1, 11025, 8, 3)) + data),           // float of 8 bits
      Wave(Chunk("fmt ", FormatBody(1, 11025, 64, 3)) + data),          // float of 64 bits
      Wave(Chunk("fmt ", ExtensibleBody(1, 11025, 8, 8, 2)) + data),    // a compressed sub-format
      Wave(Chunk("fmt ", ExtensibleBody(1, 11025, 16, 16, 1).substr(0, 39) + "\x70") + data),  // not the GUID
      Wave(Chunk("fmt ", ExtensibleBody(1, 11025, 16, 16, 1).substr(0, 38)) + data),  // chunk cut short
      Wave(Chunk("fmt ", ExtensibleBody(1, 11025, 16, 16, 1, 0)) + data),  // no room said for the rest
      Wave(Chunk("fmt ", ExtensibleBody(1, 11025, 24, 0x118, 1)) + data),  // more valid bits than stored
      Wave(Chunk("fmt ", ExtensibleBody(1, 11025, 16, 16, 3)) + data),  // float of 16 bits
      Wave(Chunk("fmt ", FormatBody(1, 11025, 8).substr(0, 14)) + data),  // short format
      Wave(Chunk("fmt ", FormatBody(0, 11025, 8)) + data),               // no channels
      Wave(Chunk("fmt ", FormatBody(1, 0, 8)) + data),                   // no rate
      Wave(Chunk("fmt ", FormatBody(2, 11025, 16, 1, 3)) + data),        // block alignment wrong
      Wave(Chunk("fmt ", FormatBody(1, 11025, 12)) + data),              // 12-bit samples
      Wave(good_format),                                                  // no data
      Wave(data + good_format),                                           // data before the format
      Wave(good_format + ChunkClaiming("junk", 0xFFFFFFFFu, "xx") + data),  // skip runs off the end
      Wave(ChunkClaiming("fmt ", 0xFFFFFFF8u, FormatBody(1, 11025, 8)) + data),  // format never ends
      Wave(good_format).substr(0, 30),                                    // truncated in the format
  };
  for (size_t i = 0; i < broken.size(); ++i) EXPECT_EQ(Load(broken[i]), -1) << "case " << i;
  EXPECT_EQ(sound_table[0].state, 0);
  EXPECT_EQ(SoftSoundObjectCount(), 1);
}

TEST_F(SoundTableTest, DataThatRunsPastTheFileGivesTheSamplesTheFileHolds) {
  const std::string format = Chunk("fmt ", FormatBody(1, 11025, 8));
  const int huge = Load(Wave(format + ChunkClaiming("data", 0xFFFFFFF0u, Samples({10, 20, 30, 40, 50}))));
  ASSERT_EQ(huge, 0);
  EXPECT_EQ(BufferBytes(huge), (std::vector<uint8_t>{10, 20, 30, 40, 50}));
  // A RIFF size that claims less than the file holds still finds chunks inside it only.
  const std::string short_riff = "RIFF" + Le32(4 + 8 + 16) + "WAVE" + format + Chunk("data", Samples({1, 2, 3, 4}));
  EXPECT_EQ(Load(short_riff), -1);
}

TEST_F(SoundTableTest, OtherPcmLayoutsAreConvertedToTheBufferFormat) {
  // 16-bit stereo at 22050 Hz: channels averaged, every two frames averaged into one.
  std::string stereo;
  const int16_t frames[8][2] = {{1024, 3072}, {3072, 5120}, {-8192, -8192}, {0, -16384},
                                {2560, 2560}, {2560, 2560}, {-32768, -32768}, {-32768, -32768}};
  for (const auto& frame : frames) stereo += Le16(static_cast<uint16_t>(frame[0])) + Le16(static_cast<uint16_t>(frame[1]));
  const int id = Load(Wave(Chunk("fmt ", FormatBody(2, 22050, 16)) + Chunk("data", stereo)));
  ASSERT_EQ(id, 0);
  EXPECT_EQ(sound_table[id].rate, 22050);
  EXPECT_EQ(sound_table[id].size, 4);
  // (2048 + 4096) / 2 = 3072 -> 128 + 12; (-8192 - 8192) / 2 = -8192 -> 128 - 32.
  EXPECT_EQ(BufferBytes(id), (std::vector<uint8_t>{140, 96, 138, 0}));
  // 16-bit mono at 22050 Hz: pairs averaged before the top byte is kept (255 and 256 average 255).
  const std::string pairs = Le16(255) + Le16(256) + Le16(0) + Le16(1) + Le16(static_cast<uint16_t>(-256)) +
                            Le16(static_cast<uint16_t>(-256)) + Le16(32767) + Le16(32767);
  const int mono = Load(Wave(Chunk("fmt ", FormatBody(1, 22050, 16)) + Chunk("data", pairs)), "mono.wav");
  ASSERT_EQ(mono, 1);
  EXPECT_EQ(BufferBytes(mono), (std::vector<uint8_t>{128, 128, 127, 255}));
  // 8-bit mono at 3675 Hz: each sample becomes three, easing a third of the way at a time.
  const int slow = Load(Wave(Chunk("fmt ", FormatBody(1, 3675, 8)) + Chunk("data", Samples({100, 142, 61}))));
  ASSERT_EQ(slow, 2);
  EXPECT_EQ(BufferBytes(slow), (std::vector<uint8_t>{100, 114, 128, 142, 115, 88, 61, 61, 61}));
}

TEST_F(SoundTableTest, RatesBelow1000HzAndSoundsTooLongForAnyBufferAreRefused) {
  // 23 KB at 1 Hz would become 253 MB at 11025 Hz; no recording is made below 1000 Hz.
  for (uint32_t rate : {1u, 999u})
    EXPECT_EQ(Load(Wave(Chunk("fmt ", FormatBody(1, rate, 8)) + Chunk("data", std::string(23000, '\x90')))), -1)
        << rate;
  EXPECT_EQ(sound_table[0].state, 0);  // refused on reading: the slot stays free
  const int slowest = Load(Wave(Chunk("fmt ", FormatBody(1, 1000, 8)) + Chunk("data", Samples({200, 200, 200, 200}))));
  ASSERT_EQ(slowest, 0);
  EXPECT_EQ(sound_table[slowest].size, 44);  // 4 frames at 1000 Hz are 44.1 at 11025 Hz
  // 24347888 frames at 1000 Hz: 268435465 bytes, more than the largest sound buffer (0x0FFFFFFF).
  EXPECT_EQ(Load(Wave(Chunk("fmt ", FormatBody(1, 1000, 8)) + Chunk("data", std::string(24347888, '\x90')))), -1);
  EXPECT_EQ(sound_table[1].state, 0);
  // The size in 64 bits (a 32-bit count would wrap); 16-bit stereo at 3675 Hz triples 8 frames.
  EXPECT_EQ(ConvertedSize(PcmLayout{1000, 1, 8}, 0xFFFFFFFFu), 47352014427u);
  EXPECT_EQ(ConvertedSize(PcmLayout{3675, 2, 16}, 8 * 4), 24u);
}

TEST_F(SoundTableTest, WideFloatAndExtensibleLayoutsDecodeToTheSamplesWritten) {
  // Full-scale samples and the bytes they become: the top 8 bits, offset by 128.
  const std::vector<int32_t> values = {0x7FFFF000, INT32_MIN, 0x12345000, -0x12345000, 0, 0x00FFF000};
  const std::vector<uint8_t> expected = {0xFF, 0x00, 0x92, 0x6D, 0x80, 0x80};
  struct Kind {
    const char* name;
    std::string format;
    SampleCoding coding;
  };
  const Kind kinds[] = {
      {"24-bit", FormatBody(1, 11025, 24), {24, false}},
      {"32-bit", FormatBody(1, 11025, 32), {32, false}},
      {"float", FormatBody(1, 11025, 32, 3), {32, true}},
      {"extensible 8-bit", ExtensibleBody(1, 11025, 8, 8, 1), {8, false}},
      {"extensible 16-bit", ExtensibleBody(1, 11025, 16, 16, 1), {16, false}},
      {"extensible 20 bits in 24", ExtensibleBody(1, 11025, 24, 20, 1), {24, false}},
      {"extensible 32-bit", ExtensibleBody(1, 11025, 32, 32, 1), {32, false}},
      {"extensible float", ExtensibleBody(1, 11025, 32, 32, 3), {32, true}},
  };
  for (const Kind& kind : kinds) {
    std::string samples;
    for (int32_t value : values) samples += EncodeSample(value, kind.coding);
    const int id = Load(Wave(Chunk("fmt ", kind.format) + Chunk("data", samples)), kind.name);
    ASSERT_GE(id, 0) << kind.name;
    EXPECT_EQ(sound_table[id].rate, 11025) << kind.name;
    EXPECT_EQ(BufferBytes(id), expected) << kind.name;
  }
  // Six channels of 24 bits: every frame's channels averaged. The last frame has 0x4000 in two
  // channels and 0 in four: 0x8000 / 6 = 0x1555, whose top byte is 0x15.
  std::string six;
  for (int32_t value : values)
    for (int channel = 0; channel < 6; ++channel) six += EncodeSample(value, {24, false});
  for (int32_t value : {0x40000000, 0x40000000, 0, 0, 0, 0}) six += EncodeSample(value, {24, false});
  const int surround = Load(Wave(Chunk("fmt ", ExtensibleBody(6, 11025, 24, 24, 1)) + Chunk("data", six)));
  ASSERT_GE(surround, 0);
  std::vector<uint8_t> six_expected = expected;
  six_expected.push_back(0x95);
  EXPECT_EQ(BufferBytes(surround), six_expected);
  // Floats beyond full scale are held at it; a float that is not a number is silence.
  // 2, -2, not a number, 0.5.
  const std::string loud = Le32(0x40000000) + Le32(0xC0000000) + Le32(0x7FC00000) + Le32(0x3F000000);
  const int clipped = Load(Wave(Chunk("fmt ", FormatBody(1, 11025, 32, 3)) + Chunk("data", loud)), "loud.wav");
  ASSERT_GE(clipped, 0);
  EXPECT_EQ(BufferBytes(clipped), (std::vector<uint8_t>{0xFF, 0x00, 0x80, 0xC0}));
}

TEST_F(SoundTableTest, PlayLoopStopAndRestartOverVirtualTime) {
  // 441 bytes: 40 ms of sound.
  const int id = Load(GameWave(std::string(441, '\xA0')));
  ASSERT_EQ(id, 0);
  EXPECT_EQ(SoundStatus(id), 0);
  const uint32_t start = HeadlessNow();
  ASSERT_EQ(PlaySound(id, 0), 1);
  EXPECT_EQ(SoundStatus(id), DSBSTATUS_PLAYING);
  HeadlessAdvance(30);
  ASSERT_EQ(PlaySound(id, 0, 0, 0, 0), 1);  // restarts from the beginning
  while (SoundPlaying(id)) {
  }
  EXPECT_EQ(HeadlessNow() - start, 31u + 40u);
  ASSERT_EQ(PlaySound(id, DSBPLAY_LOOPING), 1);
  HeadlessAdvance(1000);
  EXPECT_EQ(SoundStatus(id), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  EXPECT_EQ(StopSound(id), 1);
  EXPECT_EQ(SoundStatus(id), 0);
  DWORD position = 99;
  ASSERT_EQ(sound_table[id].buffer->GetCurrentPosition(&position, nullptr), DS_OK);
  EXPECT_EQ(position, 0u);
}

TEST_F(SoundTableTest, PlayAndWaitReturnsWhenTheSamplesAreConsumed) {
  const int id = Load(GameWave(std::string(1103, '\x70')));  // 100 ms and a bit
  const uint32_t start = HeadlessNow();
  PlayAndWait(id);
  EXPECT_EQ(HeadlessNow() - start, 101u);
  PlayAndWait(-1);  // a sound that failed to load: no wait
  EXPECT_EQ(HeadlessNow() - start, 101u);
}

// The headless host with its clock readings, sleeps and event pumps counted, and the longest
// virtual stretch between two pumps.
struct HostCalls {
  int clock_reads = 0;
  int sleeps = 0;
  uint32_t last_pump = 0;
  uint32_t longest_without_pump = 0;
};
HostCalls host_calls;

uint32_t CountedMilliseconds() {
  ++host_calls.clock_reads;
  return headless_host.milliseconds();
}
void CountedSleep(uint32_t ms) {
  ++host_calls.sleeps;
  headless_host.sleep(ms);
}
void CountedPump() {
  host_calls.longest_without_pump = std::max(host_calls.longest_without_pump, HeadlessNow() - host_calls.last_pump);
  host_calls.last_pump = HeadlessNow();
  headless_host.pump_events();
}

// Installs the counting host over the running headless machine.
void CountHostCalls() {
  static HostServices counting = headless_host;
  counting.milliseconds = CountedMilliseconds;
  counting.sleep = CountedSleep;
  counting.pump_events = CountedPump;
  host_calls = HostCalls{};
  host_calls.last_pump = HeadlessNow();
  InstallHost(&counting);
}

TEST_F(SoundTableTest, TheTimeLeftFollowsThePlayPositionAndTheFrequency) {
  const int id = Load(GameWave(std::string(1103, '\x70')));  // 100 ms and a bit
  EXPECT_EQ(SoundMsLeft(id), 100);
  ASSERT_EQ(PlaySound(id, 0), 1);
  HeadlessAdvance(40);  // 441 samples played
  EXPECT_EQ(SoundMsLeft(id), 60);
  ASSERT_EQ(SetSoundFrequency(id, 22050), 1);
  EXPECT_EQ(SoundMsLeft(id), 30);
  HeadlessAdvance(20);  // 441 samples more
  EXPECT_EQ(SoundMsLeft(id), 10);
  EXPECT_EQ(SoundMsLeft(-1), 0);
  EXPECT_EQ(SoundMsLeft(12), 0);
}

TEST_F(SoundTableTest, PlayAndWaitSleepsThroughTheSoundAndEndsWhereATightPollWould) {
  const int id = Load(GameWave(std::string(22050, '\x70')));  // two seconds
  uint32_t start = HeadlessNow();
  ASSERT_EQ(PlaySound(id, 0), 1);
  while (SoundPlaying(id)) {
  }
  const uint32_t polled = HeadlessNow() - start;
  EXPECT_EQ(polled, 2000u);
  CountHostCalls();
  start = HeadlessNow();
  PlayAndWait(id);
  EXPECT_EQ(HeadlessNow() - start, polled);
  // A tight poll reads the clock 2000 times; the wait sleeps a frame at a time and polls only
  // in the last milliseconds, and still lets the host read its events every frame.
  EXPECT_GE(host_calls.sleeps, 2000 / static_cast<int>(FRAME_MS));
  EXPECT_LE(host_calls.clock_reads, 2000 / static_cast<int>(FRAME_MS) + 16);
  EXPECT_LE(host_calls.longest_without_pump, FRAME_MS);
}

TEST_F(SoundTableTest, SceneOnesIntroSleepsThroughTheCallAndEndsWithIt) {
  const int call = Load(GameWave(std::string(11025, '\x70')));  // one second
  ASSERT_EQ(PlaySound(call, 0), 1);
  uint32_t start = HeadlessNow();
  while (SoundPlaying(call)) {
  }
  const uint32_t polled = HeadlessNow() - start;
  animal_call_sounds[0] = call;
  CountHostCalls();
  start = HeadlessNow();
  SceneIntroScreen(1);  // starts the call, shows one frame, holds until the call is over
  animal_call_sounds[0] = -1;
  EXPECT_EQ(HeadlessNow() - start, polled);
  EXPECT_EQ(scene_intro_pending[0], 0);
  EXPECT_LE(host_calls.clock_reads, 1000 / static_cast<int>(FRAME_MS) + 16);
  EXPECT_LE(host_calls.longest_without_pump, FRAME_MS);
}

TEST_F(SoundTableTest, TheTitleSpeaksItsThreePromptsInItsFirstPassOnly) {
  // 100 ms, 200 ms and 300 ms prompts, and no key: the first pass holds for all three after its
  // frame, the second is one frame.
  space_prompt_sound = Load(GameWave(std::string(1103, '\x70')), "space.wav");
  esc_prompt_sound = Load(GameWave(std::string(2205, '\x70')), "esc.wav");
  enter_prompt_sound = Load(GameWave(std::string(3308, '\x70')), "enter.wav");
  uint32_t start = HeadlessNow();
  TitleScreen();
  const uint32_t first = HeadlessNow() - start;
  start = HeadlessNow();
  TitleScreen();
  const uint32_t second = HeadlessNow() - start;
  space_prompt_sound = esc_prompt_sound = enter_prompt_sound = -1;
  EXPECT_EQ(prompt_pending, 0);
  EXPECT_EQ(second, FRAME_MS + 2);
  EXPECT_GE(first, second + 600);
  EXPECT_LT(first, second + 610);
}

TEST_F(SoundTableTest, TheCreditsStartTheirSoundOnceWithoutLooping) {
  banana_sound = Load(GameWave(std::string(1103, '\x70')), "banana.wav");
  CreditsScreen();
  EXPECT_EQ(SoundStatus(banana_sound), DSBSTATUS_PLAYING);
  EXPECT_EQ(prompt_pending, 0);
  banana_sound = -1;
}

TEST_F(SoundTableTest, SoundsWithoutABufferAreHarmless) {
  EXPECT_EQ(PlaySound(-1, 0), 1);
  EXPECT_EQ(PlaySound(7, 0), 1);
  EXPECT_EQ(StopSound(300), 1);
  EXPECT_EQ(DeleteSound(-1), 1);
  EXPECT_EQ(SoundStatus(-1), -1);
  EXPECT_EQ(SoundStatus(256), -1);
  EXPECT_FALSE(SoundPlaying(-1));
  EXPECT_EQ(SetSoundVolume(3, 50), 0);
  EXPECT_EQ(ReplicateSound(-1), -1);
  EXPECT_EQ(ReplicateSound(SOUND_SLOTS), -1);  // past the table: nothing read
  EXPECT_STREQ(SoundFileName(SOUND_SLOTS), "");
  EXPECT_EQ(ReplicateSound(5), -1);  // no buffer to duplicate: the slot is given back
  EXPECT_EQ(sound_table[0].state, 0);
}

TEST_F(SoundTableTest, AFailedStatusQueryCountsAsStopped) {
  const int id = Load(GameWave(std::string(441, '\xA0')));
  ASSERT_EQ(PlaySound(id, DSBPLAY_LOOPING), 1);
  InjectFault(PlatformCall::SoundGetStatus, 1);
  EXPECT_EQ(SoundStatus(id), 0);
  EXPECT_TRUE(SoundPlaying(id));
  InjectFault(PlatformCall::SoundGetStatus, 1, 1000000);
  PlayAndWait(id);  // ends instead of spinning
  EXPECT_FALSE(SoundPlaying(id));
}

// A stand-in buffer that accepts everything and reports itself stopped; tests override parts.
struct FakeBuffer : IDirectSoundBuffer {
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD, LPDWORD) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE GetFrequency(LPDWORD) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE GetPan(LPLONG) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) override {
    *status = 0;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE GetVolume(LPLONG) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Lock(DWORD, DWORD, LPVOID*, LPDWORD, LPVOID*, LPDWORD, DWORD) override {
    return DSERR_INVALIDCALL;
  }
  HRESULT STDMETHODCALLTYPE Play(DWORD, DWORD, DWORD) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE SetFrequency(DWORD) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE SetPan(LONG) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE SetVolume(LONG) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Stop() override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return DS_OK; }
};

// A buffer that reports itself lost and stopped (status DSBSTATUS_BUFFERLOST alone).
struct LostBuffer final : FakeBuffer {
  HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) override {
    *status = DSBSTATUS_BUFFERLOST;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE Play(DWORD, DWORD, DWORD) override { return DSERR_BUFFERLOST; }
};

TEST_F(SoundTableTest, ALostBufferIsNotPlayingAndPlayReportsTheFailure) {
  LostBuffer lost;
  sound_table[9].buffer = &lost;
  EXPECT_EQ(SoundStatus(9), DSBSTATUS_BUFFERLOST);
  EXPECT_FALSE(SoundPlaying(9));
  EXPECT_EQ(PlaySound(9, 0), 0);
  PlayAndWait(9);  // returns
  sound_table[9].buffer = nullptr;
}

TEST_F(SoundTableTest, VolumeFrequencyAndPanReachTheBuffer) {
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
  ASSERT_EQ(SetSoundFrequency(id, 22050), 1);
  DWORD frequency = 0;
  ASSERT_EQ(sound_table[id].buffer->GetFrequency(&frequency), DS_OK);
  EXPECT_EQ(frequency, 22050u);
  EXPECT_EQ(SetSoundFrequency(id, 50), 0);
  const int fixed = LoadWav("test.wav", 0);  // no controls asked for
  EXPECT_EQ(SetSoundVolume(fixed, 100), 0);
  EXPECT_EQ(DeleteAllSounds(), 1);
  EXPECT_EQ(sound_table[id].buffer, nullptr);
  EXPECT_EQ(sound_table[fixed].buffer, nullptr);
}

TEST_F(SoundTableTest, ReplicasPlayIndependentlyAndDeletedSoundsKeepTheirSlot) {
  const int id = Load(GameWave(std::string(441, '\xA0')));
  const int copy = ReplicateSound(id);
  ASSERT_EQ(copy, 1);
  EXPECT_EQ(sound_table[copy].id, 1);
  EXPECT_EQ(sound_table[copy].size, 441);
  EXPECT_NE(sound_table[copy].buffer, sound_table[id].buffer);
  ASSERT_EQ(PlaySound(copy, DSBPLAY_LOOPING), 1);
  EXPECT_EQ(SoundStatus(id), 0);
  EXPECT_EQ(DeleteSound(id), 1);
  EXPECT_EQ(sound_table[id].buffer, nullptr);
  EXPECT_EQ(sound_table[id].state, 1);
  EXPECT_EQ(SoundStatus(copy), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  EXPECT_EQ(Load(GameWave(std::string(8, '\x80'))), 2);
  EXPECT_EQ(StopAllSounds(), 1);
  EXPECT_EQ(SoundStatus(copy), 0);
  EXPECT_EQ(DeleteAllSounds(), 1);
  EXPECT_EQ(SoftSoundObjectCount(), 1);
}

// A buffer whose lock hands out its memory in two regions, 3 bytes and then an over-long rest.
struct SplitBuffer final : FakeBuffer {
  uint8_t memory[8] = {};
  HRESULT STDMETHODCALLTYPE Lock(DWORD, DWORD bytes, LPVOID* first, LPDWORD first_length, LPVOID* second,
                                 LPDWORD second_length, DWORD) override {
    *first = memory + 5;
    *first_length = 3;
    *second = memory;
    *second_length = bytes;  // more than asked for: the loader must copy only what it has
    return DS_OK;
  }
};

// A DirectSound whose buffers are SplitBuffers.
struct SplitSound final : IDirectSound {
  SplitBuffer buffer;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC, LPDIRECTSOUNDBUFFER* out, LPUNKNOWN) override {
    *out = &buffer;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER, LPDIRECTSOUNDBUFFER*) override {
    return DSERR_GENERIC;
  }
  HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND, DWORD) override { return DS_OK; }
};

TEST_F(SoundTableTest, SamplesAreCopiedAcrossBothLockRegions) {
  SplitSound split;
  LPDIRECTSOUND real = direct_sound;
  direct_sound = &split;
  const int id = Load(GameWave(Samples({1, 2, 3, 4, 5, 6, 7, 8})));
  direct_sound = real;
  ASSERT_EQ(id, 0);
  EXPECT_EQ(std::vector<uint8_t>(split.buffer.memory, split.buffer.memory + 8),
            (std::vector<uint8_t>{4, 5, 6, 7, 8, 1, 2, 3}));
  sound_table[id].buffer = nullptr;
}

TEST_F(SoundTableTest, ListChunksAreFoundByTheirFormType) {
  const std::string list_info = Chunk("LIST", "INFO" + Chunk("ISFT", "abc"));
  const std::string list_adtl = Chunk("LIST", "adtl" + Chunk("labl", "xy"));
  WriteTextFile("lists.wav", Wave(list_info + list_adtl));
  HMMIO file = mmioOpenA(const_cast<LPSTR>("lists.wav"), nullptr, MMIO_READ);
  ASSERT_NE(file, nullptr);
  MMCKINFO riff{};
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  ASSERT_EQ(mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF), 0u);
  MMCKINFO list{};
  list.fccType = mmioFOURCC('a', 'd', 't', 'l');
  ASSERT_EQ(mmioDescend(file, &list, &riff, MMIO_FINDLIST), 0u);
  EXPECT_EQ(list.fccType, mmioFOURCC('a', 'd', 't', 'l'));
  EXPECT_EQ(list.dwDataOffset, 12u + list_info.size() + 8u);
  MMCKINFO label{};
  ASSERT_EQ(mmioDescend(file, &label, &list, 0), 0u);
  EXPECT_EQ(label.ckid, mmioFOURCC('l', 'a', 'b', 'l'));
  char text[8] = {};
  EXPECT_EQ(mmioRead(file, text, 8), 2);  // the file ends after the label
  EXPECT_EQ(std::string(text), "xy");
  EXPECT_EQ(mmioClose(file, 0), 0u);
}

TEST_F(SoundTableTest, RiffReadsKeepTheirPlaceAndNoFileIsNeverTouched) {
  WriteTextFile("abcd.wav", Wave(Chunk("abcd", "123456")));
  HMMIO file = mmioOpenA(const_cast<LPSTR>("abcd.wav"), nullptr, MMIO_READ);
  ASSERT_NE(file, nullptr);
  MMCKINFO riff{};
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  ASSERT_EQ(mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF), 0u);
  MMCKINFO chunk{};
  ASSERT_EQ(mmioDescend(file, &chunk, &riff, 0), 0u);
  char text[4] = {};
  ASSERT_EQ(mmioRead(file, text, 2), 2);
  ASSERT_EQ(mmioRead(file, text, 2), 2);
  EXPECT_EQ(std::string(text, 2), "34");
  EXPECT_EQ(mmioSeek(file, -1, SEEK_CUR), 23);
  EXPECT_NE(mmioAscend(file, nullptr, 0), 0u);
  EXPECT_NE(mmioAscend(nullptr, &chunk, 0), 0u);
  EXPECT_NE(mmioDescend(nullptr, &chunk, nullptr, 0), 0u);
  EXPECT_EQ(mmioRead(nullptr, text, 1), -1);
  EXPECT_EQ(mmioSeek(nullptr, 0, SEEK_SET), -1);
  EXPECT_NE(mmioClose(nullptr, 0), 0u);
  EXPECT_EQ(mmioClose(file, 0), 0u);
  // A list whose form type lies past the end of its parent is not found, though the file goes on.
  WriteTextFile("cut.wav", "RIFF" + Le32(4 + 8) + "WAVE" + "LIST" + Le32(4) + "INFO");
  file = mmioOpenA(const_cast<LPSTR>("cut.wav"), nullptr, MMIO_READ);
  ASSERT_EQ(mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF), 0u);
  MMCKINFO list{};
  list.fccType = mmioFOURCC('I', 'N', 'F', 'O');
  EXPECT_EQ(mmioDescend(file, &list, &riff, MMIO_FINDLIST), UINT{MMIOERR_CHUNKNOTFOUND});
  mmioClose(file, 0);
  // Nor is it found as any chunk at all.
  file = mmioOpenA(const_cast<LPSTR>("cut.wav"), nullptr, MMIO_READ);
  ASSERT_EQ(mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF), 0u);
  EXPECT_EQ(mmioDescend(file, &list, &riff, 0), UINT{MMIOERR_CHUNKNOTFOUND});
  mmioClose(file, 0);
  // An empty chunk that ends exactly where the file does is found.
  WriteTextFile("empty.wav", Wave(Chunk("data", "")));
  file = mmioOpenA(const_cast<LPSTR>("empty.wav"), nullptr, MMIO_READ);
  ASSERT_EQ(mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF), 0u);
  MMCKINFO data{};
  data.ckid = mmioFOURCC('d', 'a', 't', 'a');
  EXPECT_EQ(mmioDescend(file, &data, &riff, MMIO_FINDCHUNK), 0u);
  EXPECT_EQ(data.cksize, 0u);
  mmioClose(file, 0);
  // RIFF files are only read: opening one for writing fails and says so.
  MMIOINFO info{};
  EXPECT_EQ(mmioOpenA(const_cast<LPSTR>("empty.wav"), &info, MMIO_WRITE), nullptr);
  EXPECT_EQ(info.wErrorRet, UINT{MMIOERR_CANNOTOPEN});
}

TEST_F(SoundTableTest, ShutDownForgetsTheDeviceAndEveryBufferSoItCanRunTwiceAndStartAgain) {
  const int id = Load(GameWave(std::string(100, '\x90')));
  ASSERT_EQ(id, 0);
  EXPECT_EQ(SoundShutdown(), 1);
  EXPECT_EQ(direct_sound, nullptr);
  EXPECT_EQ(sound_table[id].buffer, nullptr);
  EXPECT_EQ(SoftSoundObjectCount(), 0);
  EXPECT_EQ(SoundStatus(id), -1);
  EXPECT_EQ(PlaySound(id, 0), 1);
  EXPECT_EQ(SoundShutdown(), 1);  // releases nothing a second time
  EXPECT_EQ(LoadWav("test.wav", SOUND_CONTROLS), -1);  // no device until the next SoundInit
  ASSERT_EQ(SoundInit(), 1);
  EXPECT_NE(direct_sound, nullptr);
  EXPECT_EQ(Load(GameWave(std::string(100, '\x90'))), 0);
  EXPECT_EQ(SoftSoundObjectCount(), 2);  // the device and the one buffer
}

TEST(SoundTableWithoutDevice, NoDirectSoundMeansEverySoundIsSilentAndHarmless) {
  StartFreshMachine();
  HeadlessSetAudioRate(0);
  sound_first_call = 1;
  direct_sound = nullptr;
  EXPECT_EQ(SoundInit(), 0);
  WriteTextFile("a.wav", GameWave(std::string(100, '\x90')));
  EXPECT_EQ(LoadWav("a.wav", SOUND_CONTROLS), -1);
  EXPECT_EQ(PlaySound(0, 0), 1);
  EXPECT_EQ(SoundStatus(0), -1);
  EXPECT_EQ(ReplicateSound(0), -1);
  EXPECT_EQ(StopAllSounds(), 1);
  EXPECT_EQ(SoundShutdown(), 1);
  sound_first_call = 1;
}

}  // namespace
