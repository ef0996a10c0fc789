// The software DirectSound on the headless host: what reaches the audio output and when, locks,
// duplicates, controls and formats.
#include "dsound.h"
#include "soft/direct_sound.h"
#include "test_support.h"

namespace {

class DirectSoundTest : public FreshMachineTest {
 protected:
  LPDIRECTSOUND ds = nullptr;
  WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0};

  void SetUp() override {
    FreshMachineTest::SetUp();
    HeadlessKeepAudio(true);
    ASSERT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), DS_OK);
    ASSERT_EQ(ds->SetCooperativeLevel(CreateTestWindow(), DSSCL_NORMAL), DS_OK);
  }
  void TearDown() override {
    if (ds) ds->Release();
    EXPECT_EQ(SoftSoundObjectCount(), 0);
    FreshMachineTest::TearDown();
  }
  // A new buffer of `size` bytes in `format` with the capabilities `caps`, or null.
  LPDIRECTSOUNDBUFFER Create(DWORD size, DWORD caps = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME) {
    DSBUFFERDESC desc{sizeof(DSBUFFERDESC), caps | DSBCAPS_STATIC, size, 0, &format, {}};
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    return buffer;
  }
  // A buffer holding `size` bytes of `value`.
  LPDIRECTSOUNDBUFFER Buffer(DWORD size, uint8_t value) {
    LPDIRECTSOUNDBUFFER buffer = Create(size);
    void* region = nullptr;
    DWORD length = 0;
    EXPECT_EQ(buffer->Lock(0, 0, &region, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    std::memset(region, value, length);
    EXPECT_EQ(buffer->Unlock(region, length, nullptr, 0), DS_OK);
    return buffer;
  }
  DWORD Status(LPDIRECTSOUNDBUFFER buffer) {
    DWORD status = 99;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    return status;
  }
};

TEST_F(DirectSoundTest, ASoundPlaysUntilItsSamplesAreConsumedAndNotAMillisecondLonger) {
  // 110 bytes at 11025 Hz last 10 ms: 441 of the 44100 Hz output's frames are due at 10 ms.
  LPDIRECTSOUNDBUFFER buffer = Buffer(110, 200);
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  HeadlessAdvance(8);
  EXPECT_EQ(Status(buffer), DWORD{DSBSTATUS_PLAYING});  // the query moves the clock to 9 ms
  EXPECT_EQ(Status(buffer), 0u);  // 10 ms
  const std::vector<int16_t>& audio = HeadlessAudio();
  ASSERT_EQ(audio.size(), 441u * 2);
  EXPECT_EQ(audio[0], 72 * 256);
  EXPECT_EQ(audio[439 * 2 + 1], 72 * 256);
  EXPECT_EQ(audio[440 * 2], 0);
  buffer->Release();
}

// A new 8-bit buffer holds silence (0x80); a lock from the write cursor wraps
// into a second region at the start; a lock that fits has one. Controls stay in their ranges.
TEST_F(DirectSoundTest, LocksHandOutSilenceInOneOrTwoRegionsAndControlsStayInRange) {
  LPDIRECTSOUNDBUFFER buffer = Create(10);
  ASSERT_EQ(buffer->SetCurrentPosition(6), DS_OK);
  void* first = nullptr;
  void* second = nullptr;
  DWORD first_length = 0, second_length = 9;
  ASSERT_EQ(buffer->Lock(0, 8, &first, &first_length, &second, &second_length, DSBLOCK_FROMWRITECURSOR), DS_OK);
  EXPECT_EQ(first_length, 4u);
  EXPECT_EQ(second_length, 4u);
  EXPECT_EQ(static_cast<uint8_t*>(first) - static_cast<uint8_t*>(second), 6);
  EXPECT_EQ(std::string(static_cast<char*>(second), 10), std::string(10, '\x80'));
  EXPECT_EQ(buffer->Unlock(first, first_length, second, second_length + 3), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Unlock(first, first_length, second, second_length), DS_OK);
  ASSERT_EQ(buffer->Lock(2, 4, &first, &first_length, &second, &second_length, 0), DS_OK);
  EXPECT_EQ(first_length, 4u);
  EXPECT_EQ(second, nullptr);
  ASSERT_EQ(buffer->Unlock(first, first_length, nullptr, 0), DS_OK);
  for (LONG volume : {1, -10001}) EXPECT_EQ(buffer->SetVolume(volume), DSERR_INVALIDPARAM) << volume;
  for (LONG pan : {10001, -10001}) EXPECT_EQ(buffer->SetPan(pan), DSERR_INVALIDPARAM) << pan;
  for (DWORD rate : {99, 200001}) EXPECT_EQ(buffer->SetFrequency(rate), DSERR_INVALIDPARAM) << rate;
  buffer->Release();
}

TEST_F(DirectSoundTest, BuffersOnlyInFormatsTheMixerPlaysAndOnlyWithAnAudioOutput) {
  const struct {
    WAVEFORMATEX format;
    DWORD size;
    HRESULT result;
  } rows[] = {
      {{3, 1, 11025, 44100, 4, 32, 0}, 100, DSERR_BADFORMAT},  // floating point
      {{WAVE_FORMAT_PCM, 1, 11025, 11025, 2, 8, 0}, 100, DSERR_BADFORMAT},  // block alignment
      {{WAVE_FORMAT_PCM, 1, 99, 99, 1, 8, 0}, 100, DSERR_BADFORMAT},
      {{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0}, 102, DSERR_INVALIDPARAM},  // not whole frames
      {{WAVE_FORMAT_PCM, 2, 200000, 800000, 4, 16, 0}, 12, DS_OK},
  };
  for (const auto& row : rows) {
    DSBUFFERDESC desc{sizeof(DSBUFFERDESC), 0, row.size, 0, const_cast<WAVEFORMATEX*>(&row.format), {}};
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), row.result) << row.size;
    EXPECT_EQ(buffer != nullptr, row.result == DS_OK);
    if (buffer) buffer->Release();
  }
  HeadlessSetAudioRate(0);  // no audio output: no DirectSound
  LPDIRECTSOUND none = reinterpret_cast<LPDIRECTSOUND>(1);
  EXPECT_EQ(DirectSoundCreate(nullptr, &none, nullptr), DSERR_NODRIVER);
  EXPECT_EQ(none, nullptr);
}

}  // namespace
