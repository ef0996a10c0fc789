// The software DirectSound on the headless host: buffers, locks, status over virtual time,
// duplicates, controls, and what reaches the audio output.
#include "dsound.h"
#include "soft/direct_sound.h"
#include "soft/faults.h"
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

  // A buffer holding `bytes`, with every control.
  LPDIRECTSOUNDBUFFER Buffer(const std::vector<uint8_t>& bytes, DWORD caps = 224) {
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = caps | DSBCAPS_STATIC;
    desc.dwBufferBytes = static_cast<DWORD>(bytes.size());
    desc.lpwfxFormat = &format;
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    if (!buffer) return nullptr;
    void* region = nullptr;
    DWORD length = 0;
    EXPECT_EQ(buffer->Lock(0, desc.dwBufferBytes, &region, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    std::memcpy(region, bytes.data(), length);
    EXPECT_EQ(buffer->Unlock(region, length, nullptr, 0), DS_OK);
    return buffer;
  }
  DWORD Status(LPDIRECTSOUNDBUFFER buffer) {
    DWORD status = 99;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    return status;
  }
};

// A buffer with a second reference outlives the first Release; neither object hands out another
// interface.
TEST_F(DirectSoundTest, ABufferLivesUntilItsLastReferenceIsReleased) {
  LPDIRECTSOUNDBUFFER buffer = Buffer(std::vector<uint8_t>(64, 128));
  const int live = SoftSoundObjectCount();
  EXPECT_EQ(buffer->AddRef(), 2u);
  EXPECT_EQ(buffer->Release(), 1u);
  EXPECT_EQ(SoftSoundObjectCount(), live);
  EXPECT_EQ(Status(buffer), 0u);  // still a working buffer
  void* other = &other;
  EXPECT_EQ(buffer->QueryInterface(GUID{}, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  other = &other;
  EXPECT_EQ(ds->QueryInterface(GUID{}, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(ds->AddRef(), 2u);
  EXPECT_EQ(ds->Release(), 1u);
  EXPECT_EQ(buffer->Release(), 0u);
  EXPECT_EQ(SoftSoundObjectCount(), live - 1);
}

TEST_F(DirectSoundTest, NoAudioOutputMeansNoDirectSound) {
  HeadlessSetAudioRate(0);
  LPDIRECTSOUND none = reinterpret_cast<LPDIRECTSOUND>(1);
  EXPECT_EQ(DirectSoundCreate(nullptr, &none, nullptr), DSERR_NODRIVER);
  EXPECT_EQ(none, nullptr);
}

TEST_F(DirectSoundTest, ASoundPlaysUntilItsSamplesAreConsumedAndNotAMillisecondLonger) {
  // 110 bytes at 11025 Hz last 10 ms: 441 of the 44100 Hz output's frames are due at 10 ms.
  LPDIRECTSOUNDBUFFER buffer = Buffer(std::vector<uint8_t>(110, 200));
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  HeadlessAdvance(8);
  EXPECT_EQ(Status(buffer), DWORD{DSBSTATUS_PLAYING});  // the query moves the clock to 9 ms
  EXPECT_EQ(HeadlessNow(), 9u);
  EXPECT_EQ(Status(buffer), 0u);  // 10 ms
  const std::vector<int16_t>& audio = HeadlessAudio();
  ASSERT_EQ(audio.size(), 441u * 2);
  EXPECT_EQ(audio[0], 72 * 256);
  EXPECT_EQ(audio[439 * 2 + 1], 72 * 256);
  EXPECT_EQ(audio[440 * 2], 0);
  buffer->Release();
}

TEST_F(DirectSoundTest, ALoopingSoundStaysOnUntilStoppedAndPlayResumesWhereItWas) {
  LPDIRECTSOUNDBUFFER buffer = Buffer(std::vector<uint8_t>(20, 130));
  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  HeadlessAdvance(100);
  EXPECT_EQ(Status(buffer), DWORD{DSBSTATUS_PLAYING | DSBSTATUS_LOOPING});
  ASSERT_EQ(buffer->Stop(), DS_OK);
  EXPECT_EQ(Status(buffer), 0u);
  DWORD play = 0, write = 0;
  ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
  EXPECT_EQ(play, (101u * 44100 / 1000 / 4) % 20);  // frames mixed by 101 ms, a quarter each, round the loop
  EXPECT_EQ(buffer->Play(1, 0, 0), DSERR_INVALIDPARAM);
  buffer->Release();
}

TEST_F(DirectSoundTest, LockFromTheWriteCursorWrapsIntoASecondRegion) {
  LPDIRECTSOUNDBUFFER buffer = Buffer(std::vector<uint8_t>(10, 128));
  ASSERT_EQ(buffer->SetCurrentPosition(6), DS_OK);
  void* first = nullptr;
  void* second = nullptr;
  DWORD first_length = 0, second_length = 0;
  ASSERT_EQ(buffer->Lock(0, 8, &first, &first_length, &second, &second_length, DSBLOCK_FROMWRITECURSOR), DS_OK);
  EXPECT_EQ(first_length, 4u);
  EXPECT_EQ(second_length, 4u);
  EXPECT_EQ(static_cast<uint8_t*>(first) - static_cast<uint8_t*>(second), 6);
  void* again = nullptr;
  DWORD again_length = 0;
  EXPECT_EQ(buffer->Lock(0, 1, &again, &again_length, nullptr, nullptr, 0), DSERR_INVALIDCALL);
  EXPECT_EQ(buffer->Unlock(first, first_length, second, second_length), DS_OK);
  EXPECT_EQ(buffer->Unlock(first, first_length, second, second_length), DSERR_INVALIDCALL);
  EXPECT_EQ(buffer->Lock(0, 11, &again, &again_length, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
  // The whole buffer from the cursor: 4 bytes to the end, 6 from the start.
  ASSERT_EQ(buffer->Lock(0, 10, &first, &first_length, &second, &second_length, DSBLOCK_FROMWRITECURSOR), DS_OK);
  EXPECT_EQ(second_length, 6u);
  EXPECT_EQ(buffer->Unlock(first, first_length, second, second_length + 1), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Unlock(first, first_length, second, second_length), DS_OK);
  EXPECT_EQ(buffer->SetCurrentPosition(10), DSERR_INVALIDPARAM);
  buffer->Release();
}

TEST_F(DirectSoundTest, DuplicatesShareTheSamplesButPlayIndependently) {
  LPDIRECTSOUNDBUFFER original = Buffer(std::vector<uint8_t>(1103, 160));
  ASSERT_EQ(original->SetVolume(-600), DS_OK);
  LPDIRECTSOUNDBUFFER copy = nullptr;
  ASSERT_EQ(ds->DuplicateSoundBuffer(original, &copy), DS_OK);
  LONG volume = 0;
  ASSERT_EQ(copy->GetVolume(&volume), DS_OK);
  EXPECT_EQ(volume, -600);
  ASSERT_EQ(copy->SetVolume(0), DS_OK);
  ASSERT_EQ(original->Play(0, 0, 0), DS_OK);
  ASSERT_EQ(copy->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  HeadlessAdvance(1);
  EXPECT_EQ(HeadlessAudio()[0], (32 * 256 * 16423 >> 15) + 32 * 256);
  ASSERT_EQ(original->Stop(), DS_OK);
  EXPECT_EQ(Status(original), 0u);
  EXPECT_EQ(Status(copy), DWORD{DSBSTATUS_PLAYING | DSBSTATUS_LOOPING});
  original->Release();  // the samples stay with the duplicate
  HeadlessAdvance(200);
  EXPECT_EQ(HeadlessAudio().back(), 32 * 256);
  copy->Release();
}

TEST_F(DirectSoundTest, ControlsNeedTheirCapabilityAndStayInRange) {
  LPDIRECTSOUNDBUFFER plain = Buffer(std::vector<uint8_t>(8, 128), 0);
  EXPECT_EQ(plain->SetVolume(-100), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(plain->SetPan(100), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(plain->SetFrequency(22050), DSERR_CONTROLUNAVAIL);
  plain->Release();
  LPDIRECTSOUNDBUFFER buffer = Buffer(std::vector<uint8_t>(8, 128));
  EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->SetPan(10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->SetFrequency(99), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->SetFrequency(200001), DSERR_INVALIDPARAM);
  ASSERT_EQ(buffer->SetFrequency(22050), DS_OK);
  ASSERT_EQ(buffer->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
  DWORD frequency = 0;
  ASSERT_EQ(buffer->GetFrequency(&frequency), DS_OK);
  EXPECT_EQ(frequency, 11025u);
  ASSERT_EQ(buffer->SetPan(-2500), DS_OK);
  LONG pan = 0;
  ASSERT_EQ(buffer->GetPan(&pan), DS_OK);
  EXPECT_EQ(pan, -2500);
  buffer->Release();
}

TEST_F(DirectSoundTest, BuffersOnlyInFormatsTheMixerPlays) {
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwBufferBytes = 100;
  desc.lpwfxFormat = &format;
  LPDIRECTSOUNDBUFFER buffer = nullptr;
  format.wFormatTag = 3;  // floating point
  EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_BADFORMAT);
  format.wFormatTag = WAVE_FORMAT_PCM;
  desc.lpwfxFormat = nullptr;
  EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_BADFORMAT);
  desc.lpwfxFormat = &format;
  format.nBlockAlign = 2;
  EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_BADFORMAT);
  format = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  desc.dwBufferBytes = 102;  // not whole frames
  EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
  desc.dwBufferBytes = 3 * 4;
  desc.dwSize = 20;
  EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
  desc.dwSize = sizeof desc;
  InjectFault(PlatformCall::CreateSoundBuffer, 1);
  EXPECT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_OUTOFMEMORY);
  EXPECT_EQ(buffer, nullptr);
  ASSERT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
  buffer->Release();
}

std::vector<std::pair<IDirectSoundBuffer*, SoundEvent>> observed;

TEST_F(DirectSoundTest, TheObserverHearsPlaysLoopsAndStopsOfPlayingBuffers) {
  observed.clear();
  SetSoundObserver([](IDirectSoundBuffer* buffer, SoundEvent event) { observed.emplace_back(buffer, event); });
  LPDIRECTSOUNDBUFFER buffer = Buffer(std::vector<uint8_t>(20, 128));
  buffer->Stop();  // not playing: nothing to tell
  buffer->Play(0, 0, 0);
  buffer->Stop();
  buffer->Play(0, 0, DSBPLAY_LOOPING);
  buffer->Stop();
  buffer->Stop();
  const std::vector<std::pair<IDirectSoundBuffer*, SoundEvent>> expected = {
      {buffer, SoundEvent::Play}, {buffer, SoundEvent::Stop}, {buffer, SoundEvent::Loop}, {buffer, SoundEvent::Stop}};
  EXPECT_EQ(observed, expected);
  SetSoundObserver(nullptr);
  buffer->Release();
}

TEST_F(DirectSoundTest, NewBuffersHoldSilenceAndALockThatFitsHasOneRegion) {
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwBufferBytes = 8;
  desc.lpwfxFormat = &format;
  LPDIRECTSOUNDBUFFER quiet = nullptr;
  ASSERT_EQ(ds->CreateSoundBuffer(&desc, &quiet, nullptr), DS_OK);
  void* first = nullptr;
  void* second = reinterpret_cast<void*>(1);
  DWORD first_length = 0, second_length = 9;
  ASSERT_EQ(quiet->Lock(2, 4, &first, &first_length, &second, &second_length, 0), DS_OK);
  EXPECT_EQ(first_length, 4u);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(second_length, 0u);
  for (DWORD i = 0; i < first_length; ++i) EXPECT_EQ(static_cast<uint8_t*>(first)[i], 0x80);
  ASSERT_EQ(quiet->Unlock(first, first_length, nullptr, 0), DS_OK);
  quiet->Release();
  format = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 22050, 88200, 4, 16, 0};
  ASSERT_EQ(ds->CreateSoundBuffer(&desc, &quiet, nullptr), DS_OK);
  ASSERT_EQ(quiet->Lock(0, 0, &first, &first_length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
  for (DWORD i = 0; i < first_length; ++i) EXPECT_EQ(static_cast<uint8_t*>(first)[i], 0);
  ASSERT_EQ(quiet->Unlock(first, first_length, nullptr, 0), DS_OK);
  quiet->Release();
}

}  // namespace
