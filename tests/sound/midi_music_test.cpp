// The music table over the software DirectMusic and FluidSynth: load order and limits, playing
// and stopping, a segment running to its end, the synthesiser heard in the mix in virtual time,
// damaged files, failed steps that must leave nothing behind, and the wide-text conversion.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "objbase.h"
#include "soft/com_text.h"
#include "soft/direct_music.h"
#include "soft/faults.h"
#include "sound/midi_music.h"
#include "sound/sound_table.h"
#include "test_support.h"

namespace {

std::string Be32(uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
  return bytes;
}

std::string Be16(uint16_t value) { return Be32(value).substr(2); }

std::string Bytes(std::initializer_list<int> values) {
  std::string text;
  for (int value : values) text += static_cast<char>(value);
  return text;
}

const std::string END_OF_TRACK = Bytes({0x00, 0xFF, 0x2F, 0x00});

std::string Track(const std::string& events) { return "MTrk" + Be32(static_cast<uint32_t>(events.size())) + events; }

// A standard MIDI file at 96 ticks a quarter note (120 beats a minute: a tick is 5.2 ms).
std::string Smf(uint16_t format, const std::vector<std::string>& tracks) {
  std::string file = "MThd" + Be32(6) + Be16(format) + Be16(static_cast<uint16_t>(tracks.size())) + Be16(96);
  for (const std::string& track : tracks) file += track;
  return file;
}

// A4 on a piano from 0 ms to 500 ms, then the end of the track.
const std::string HALF_SECOND_NOTE =
    Smf(0, {Track(Bytes({0x00, 0x90, 69, 100, 0x60, 0x80, 69, 0}) + END_OF_TRACK)});

// A window and a fresh sound machine before each test; afterwards music and sound shut down,
// with every music object released and COM ended.
class MusicMachineTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
    sound_first_call = 1;
    direct_sound = nullptr;
  }
  void TearDown() override {
    EXPECT_EQ(MusicShutdown(), 1);
    SetSoundFontFolders(nullptr);
    SoundShutdown();
    sound_first_call = 1;
    direct_sound = nullptr;
    EXPECT_EQ(SoftMusicObjectCount(), 0);
    EXPECT_EQ(SoftComStarts(), 0);
    FreshMachineTest::TearDown();
  }
};

// Music running over sound, and a half-second note in note.mid.
class MidiMusicTest : public MusicMachineTest {
 protected:
  void SetUp() override {
    MusicMachineTest::SetUp();
    ASSERT_EQ(SoundInit(), 1);
    ASSERT_EQ(MusicInit(), 1);
    WriteTextFile("note.mid", HALF_SECOND_NOTE);
  }
  int Load(const std::string& bytes) {
    WriteTextFile("test.mid", bytes);
    return LoadMidi("test.mid");
  }
  // Plays a slot and checks that it still plays 5 ms before `end_ms` (one tick is 5.2 ms) and has
  // stopped 3 ms after it.
  static void ExpectPlaysUntil(int id, uint32_t end_ms) {
    const uint32_t start = HeadlessNow();
    ASSERT_EQ(PlayMidi(id), 1);
    HeadlessAdvance(end_ms - 5);
    EXPECT_EQ(MidiStatus(id), MIDI_PLAYING);
    HeadlessAdvance(start + end_ms + 3 - HeadlessNow());
    EXPECT_EQ(MidiStatus(id), MIDI_STOPPED);
    EXPECT_EQ(midi_table[id].state, MIDI_STOPPED);
  }
  // Largest sample magnitude kept from `from` on.
  static int Peak(size_t from) {
    const std::vector<int16_t>& audio = HeadlessAudio();
    int peak = 0;
    for (size_t i = from; i < audio.size(); ++i) peak = std::max(peak, std::abs(static_cast<int>(audio[i])));
    return peak;
  }
};

TEST_F(MidiMusicTest, LoadsTakeSlotsInOrderAndA65thFails) {
  EXPECT_EQ(active_midi, -1);
  for (int expected = 0; expected < MIDI_SLOTS; ++expected) {
    ASSERT_EQ(LoadMidi("note.mid"), expected);
    EXPECT_EQ(midi_table[expected].state, MIDI_LOADED);
    EXPECT_EQ(midi_table[expected].id, expected);
    EXPECT_NE(midi_table[expected].segment, nullptr);
  }
  EXPECT_EQ(LoadMidi("note.mid"), -1);
  EXPECT_EQ(SoftMusicObjectCount(), 2 + MIDI_SLOTS);  // performance, loader, segments
  EXPECT_EQ(DeleteMidi(17), 1);
  EXPECT_EQ(midi_table[17].segment, nullptr);
  EXPECT_EQ(midi_table[17].state, MIDI_FREE);
  EXPECT_EQ(LoadMidi("note.mid"), 17);
  EXPECT_EQ(DeleteAllMidi(), 1);
  EXPECT_EQ(SoftMusicObjectCount(), 2);
}

TEST_F(MidiMusicTest, PlayingSlot1WhileSlot0PlaysStopsSlot0) {
  ASSERT_EQ(LoadMidi("note.mid"), 0);
  ASSERT_EQ(LoadMidi("note.mid"), 1);
  EXPECT_EQ(PlayMidi(0), 1);
  EXPECT_EQ(active_midi, 0);
  EXPECT_EQ(midi_table[0].state, MIDI_PLAYING);
  EXPECT_NE(midi_table[0].segment_state, nullptr);
  HeadlessAdvance(50);
  EXPECT_EQ(PlayMidi(1), 1);
  EXPECT_EQ(active_midi, 1);
  EXPECT_EQ(midi_table[0].state, MIDI_STOPPED);
  EXPECT_EQ(MidiStatus(0), MIDI_STOPPED);
  EXPECT_EQ(MidiStatus(1), MIDI_PLAYING);
}

TEST_F(MidiMusicTest, ASegmentThatRanToItsEndReportsStopped) {
  ASSERT_EQ(LoadMidi("note.mid"), 0);
  ExpectPlaysUntil(0, 500);
  EXPECT_EQ(active_midi, 0);  // only StopMidi and PlayMidi change the active id
  EXPECT_EQ(PlayMidi(0), 1);  // and it plays again from the start
  EXPECT_EQ(MidiStatus(0), MIDI_PLAYING);
}

TEST_F(MidiMusicTest, AFormat1SegmentEndsWithItsLongestTrack) {
  const std::string tempo_only = Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}) + END_OF_TRACK;
  const std::string note = Bytes({0x00, 0x90, 69, 100, 0x83, 0x00, 0x80, 69, 0}) + END_OF_TRACK;  // 384 ticks
  ASSERT_EQ(Load(Smf(1, {Track(tempo_only), Track(note)})), 0);
  ExpectPlaysUntil(0, 2000);
}

TEST_F(MidiMusicTest, StopOfAnotherSlotClearsTheActiveIdButTheMusicPlaysOn) {
  ASSERT_EQ(LoadMidi("note.mid"), 0);
  ASSERT_EQ(LoadMidi("note.mid"), 1);
  ASSERT_EQ(PlayMidi(0), 1);
  EXPECT_EQ(StopMidi(1), 1);
  EXPECT_EQ(active_midi, -1);
  EXPECT_EQ(midi_table[1].state, MIDI_STOPPED);
  EXPECT_EQ(MidiStatus(0), MIDI_PLAYING);
  EXPECT_EQ(StopMidi(0), 1);
  EXPECT_EQ(MidiStatus(0), MIDI_STOPPED);
}

TEST_F(MidiMusicTest, AfterTheActiveSlotIsDeletedTheNextPlayStillWorks) {
  ASSERT_EQ(LoadMidi("note.mid"), 0);
  ASSERT_EQ(LoadMidi("note.mid"), 1);
  ASSERT_EQ(PlayMidi(0), 1);
  EXPECT_EQ(DeleteMidi(0), 1);
  EXPECT_EQ(active_midi, 0);
  EXPECT_EQ(StopMidi(0), 0);
  EXPECT_EQ(MidiStatus(0), 0);
  EXPECT_EQ(PlayMidi(1), 1);
  EXPECT_EQ(active_midi, 1);
  EXPECT_EQ(MidiStatus(1), MIDI_PLAYING);
  EXPECT_EQ(midi_table[0].state, MIDI_FREE);
}

TEST_F(MidiMusicTest, DeletingAnotherSlotLeavesThePlayingOneKnown) {
  ASSERT_EQ(LoadMidi("note.mid"), 0);
  ASSERT_EQ(LoadMidi("note.mid"), 1);
  ASSERT_EQ(PlayMidi(0), 1);
  EXPECT_EQ(DeleteMidi(1), 1);
  EXPECT_EQ(MidiStatus(0), MIDI_PLAYING);
}

TEST_F(MidiMusicTest, EmptySlotsAndIdsOutsideTheTableHoldNothing) {
  for (int id : {-1, 0, 63, 64}) {
    EXPECT_EQ(PlayMidi(id), 0) << id;
    EXPECT_EQ(StopMidi(id), 0) << id;
    EXPECT_EQ(MidiStatus(id), 0) << id;
    EXPECT_EQ(DeleteMidi(id), 1) << id;
  }
  EXPECT_EQ(active_midi, -1);
}

TEST_F(MidiMusicTest, TheSynthesiserIsHeardWhilePlayingAndSilentAfterStop) {
  HeadlessKeepAudio(true);
  ASSERT_EQ(LoadMidi("note.mid"), 0);
  HeadlessAdvance(100);
  EXPECT_EQ(Peak(0), 0);
  const size_t started = HeadlessAudio().size();
  ASSERT_EQ(PlayMidi(0), 1);
  HeadlessAdvance(200);
  EXPECT_GT(Peak(started), 2000);
  ASSERT_EQ(StopMidi(0), 1);
  const size_t stopped = HeadlessAudio().size();
  HeadlessAdvance(200);
  EXPECT_GT(HeadlessAudio().size(), stopped + 2 * 8000);
  EXPECT_EQ(Peak(stopped + 2 * 64), 0);  // after the synthesiser's block of 64 frames already made
}

TEST_F(MidiMusicTest, TheNoteSoundsAtItsPitch) {
  // A4 is 440 Hz: count rising zero crossings of the left channel over 100 ms.
  HeadlessKeepAudio(true);
  const std::string sine_like = Smf(0, {Track(Bytes({0x00, 0xC0, 73, 0x00, 0x90, 69, 100, 0x60, 0x80, 69, 0}) + END_OF_TRACK)});
  ASSERT_EQ(Load(sine_like), 0);
  ASSERT_EQ(PlayMidi(0), 1);
  HeadlessAdvance(150);
  const size_t from = HeadlessAudio().size();
  HeadlessAdvance(100);
  const std::vector<int16_t>& audio = HeadlessAudio();
  int crossings = 0;
  for (size_t i = from + 2; i + 1 < audio.size(); i += 2) crossings += audio[i - 2] < 0 && audio[i] >= 0;
  EXPECT_NEAR(crossings, 44, 2);
}

TEST_F(MidiMusicTest, DamagedFilesAreRefusedAndLeaveNothingBehind) {
  const std::string note = Bytes({0x00, 0x90, 60, 100, 0x10, 0x80, 60, 0});
  const std::vector<std::string> damaged = {
      "",
      HALF_SECOND_NOTE.substr(0, 10),                                             // inside the header
      HALF_SECOND_NOTE.substr(0, HALF_SECOND_NOTE.size() - 1),                    // track cut short
      Smf(0, {"MTrk" + Be32(1000) + note + END_OF_TRACK}),                        // length past the end
      Smf(0, {Track(Bytes({0x00, 60, 100}) + END_OF_TRACK)}),                     // running status first
      Smf(0, {Track(note + Bytes({0x00, 0xFF, 0x01, 0x00, 0x00, 60, 0}) + END_OF_TRACK)}),  // after a meta
      Smf(0, {Track(note)}),                                                      // no end of track
      Smf(0, {Track(std::string(3000, '\0') + END_OF_TRACK)}),  // data bytes as events
      Smf(0, {Track(Bytes({0x00, 0xFF, 0x51, 0x03, 0, 0, 0}) + note + END_OF_TRACK)}),  // tempo zero
      Smf(0, {Track(note + END_OF_TRACK + note)}),                                // events after the end
      Smf(0, {Track(note + END_OF_TRACK), Track(note + END_OF_TRACK)}),          // format 0, two tracks
      Smf(1, {Track(note + END_OF_TRACK)}).substr(0, 22) + "MThd" + Be32(0),    // alien chunk
      Smf(0, {Track(Bytes({0x00, 0x90, 60, 0x80}) + END_OF_TRACK)}),             // status as data
      Smf(0, {Track(Bytes({0x00, 0xF2, 0, 0}) + END_OF_TRACK)}),                 // system common
      Smf(0, {Track(Bytes({0x80, 0x80, 0x80, 0x80, 0x00}) + note + END_OF_TRACK)}),  // five-byte delta
      Smf(0, {Track(Bytes({0x00, 0xFF, 0x58, 0x03, 4, 2, 24}) + note + END_OF_TRACK)}),  // short time signature
      Smf(0, {Track(Bytes({0x00, 0xFF, 0x59, 0x03, 0, 0, 0}) + note + END_OF_TRACK)}),    // long key signature
      Smf(0, {Track(Bytes({0x00, 0xFF, 0x20, 0x00}) + note + END_OF_TRACK)}),              // empty channel prefix
  };
  std::string endless_meta;  // text events and never an end of track
  while (endless_meta.size() < 600000) endless_meta += Bytes({0x00, 0xFF, 0x01, 0x01, 'x'});
  std::vector<std::string> cases = damaged;
  cases.push_back(Smf(0, {Track(endless_meta)}));
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(Load(cases[i]), -1) << "case " << i;
    EXPECT_EQ(midi_table[0].state, MIDI_FREE);
  }
  EXPECT_EQ(SoftMusicObjectCount(), 2);
  EXPECT_EQ(LoadMidi("missing.mid"), -1);
}

TEST_F(MidiMusicTest, WellFormedFilesOfBothFormatsLoad) {
  const std::string running =
      Bytes({0x00, 0x90, 60, 100, 0x10, 60, 0, 0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7}) + END_OF_TRACK;
  EXPECT_EQ(Load(Smf(0, {Track(running)})), 0);
  const std::string tempo =
      Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x58, 0x04, 4, 2, 24, 8, 0x00, 0xFF, 0x59, 0x02, 0, 0,
             0x00, 0xFF, 0x21, 0x01, 0}) +
      END_OF_TRACK;
  EXPECT_EQ(Load(Smf(1, {Track(tempo), Track(running)})), 1);
  EXPECT_EQ(Load(HALF_SECOND_NOTE + "trailing bytes"), 2);
  char here[MAX_PATH];
  ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, here), 0u);
  EXPECT_EQ(LoadMidi((std::string(here) + "/note.mid").c_str()), 3);  // a full path is taken as it is
  WriteTextFile("n\xC3\xB6te \xE2\x82\xAC\xF0\x9F\x8E\xB5.mid", HALF_SECOND_NOTE);  // 2-, 3- and 4-byte UTF-8
  EXPECT_EQ(LoadMidi("n\xC3\xB6te \xE2\x82\xAC\xF0\x9F\x8E\xB5.mid"), 4);
}

TEST_F(MidiMusicTest, AWorkingDirectoryTooLongForTheBufferFailsTheLoad) {
  char here[MAX_PATH];
  ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, here), 0u);
  std::string deep = here;
  while (deep.size() < MAX_PATH + 10) {
    deep += "/deeper-and-deeper";
    ASSERT_TRUE(mkdir(deep.c_str(), 0755) == 0 || errno == EEXIST);
  }
  ASSERT_EQ(chdir(deep.c_str()), 0);
  WriteTextFile("note.mid", HALF_SECOND_NOTE);
  EXPECT_EQ(LoadMidi("note.mid"), -1);
  ASSERT_EQ(chdir(here), 0);
  EXPECT_EQ(LoadMidi("note.mid"), 0);
}

TEST_F(MidiMusicTest, FilesUpToTheSizeLimitLoad) {
  // One track padded with a text event to exactly the limit, then the same one byte larger.
  const std::string note = Bytes({0x00, 0x90, 60, 100, 0x10, 0x80, 60, 0}) + END_OF_TRACK;
  const auto padded = [&](size_t total) {
    const size_t text = total - 14 - 8 - note.size() - 6;  // delta, FF 01, 3-byte length
    std::string events = Bytes({0x00, 0xFF, 0x01, static_cast<int>(0x80 | (text >> 14)),
                                static_cast<int>(0x80 | ((text >> 7) & 0x7F)), static_cast<int>(text & 0x7F)}) +
                         std::string(text, 't') + note;
    return Smf(0, {Track(events)});
  };
  ASSERT_EQ(padded(1 << 20).size(), 1u << 20);
  EXPECT_EQ(Load(padded(1 << 20)), 0);
  EXPECT_EQ(Load(padded((1 << 20) + 1)), -1);
}

TEST_F(MidiMusicTest, AFailedInstrumentStepReleasesTheSegment) {
  for (int failing_call : {1, 2}) {  // standard MIDI file, then download
    InjectFault(PlatformCall::MusicSetParam, failing_call);
    EXPECT_EQ(LoadMidi("note.mid"), -1);
    EXPECT_EQ(SoftMusicObjectCount(), 2) << failing_call;
    ClearFaults();
  }
  EXPECT_EQ(LoadMidi("note.mid"), 0);
}

TEST_F(MidiMusicTest, AFileNameTooLongForTheWideBufferIsRefused) {
  const std::string long_name(MAX_PATH, 'n');  // with its terminator, one more than the buffer holds
  WriteTextFile("note.mid", HALF_SECOND_NOTE);
  EXPECT_EQ(LoadMidi(long_name.c_str()), -1);
  EXPECT_EQ(midi_table[0].state, MIDI_FREE);
  EXPECT_EQ(LoadMidi(nullptr), -1);
}

TEST_F(MidiMusicTest, AFailedPlaySegmentIsReportedAndNothingIsActive) {
  ASSERT_EQ(LoadMidi("note.mid"), 0);
  InjectFault(PlatformCall::PlaySegment, 1);
  EXPECT_EQ(PlayMidi(0), 0);
  EXPECT_EQ(active_midi, -1);
  EXPECT_EQ(midi_table[0].state, MIDI_LOADED);
  EXPECT_EQ(MidiStatus(0), MIDI_STOPPED);
  EXPECT_EQ(PlayMidi(0), 1);
}

TEST_F(MidiMusicTest, AfterShutdownNoSlotHoldsASegmentSoNoCallReachesThePerformance) {
  ASSERT_EQ(LoadMidi("note.mid"), 0);
  ASSERT_EQ(LoadMidi("note.mid"), 1);
  ASSERT_EQ(PlayMidi(0), 1);
  EXPECT_EQ(MusicShutdown(), 1);
  EXPECT_EQ(music_performance, nullptr);
  EXPECT_EQ(music_loader, nullptr);
  EXPECT_EQ(active_midi, -1);
  EXPECT_EQ(SoftComStarts(), 0);
  EXPECT_EQ(SoftMusicObjectCount(), 0);
  EXPECT_EQ(LoadMidi("note.mid"), -1);
  for (int id : {0, 1}) {  // the playing slot and the loaded one, now free
    EXPECT_EQ(midi_table[id].segment, nullptr);
    EXPECT_EQ(PlayMidi(id), 0);
    EXPECT_EQ(StopMidi(id), 0);
    EXPECT_EQ(MidiStatus(id), 0);
    EXPECT_EQ(DeleteMidi(id), 1);
  }
  EXPECT_EQ(MusicShutdown(), 1);
  EXPECT_EQ(SoftComStarts(), 0);
}

class MusicInitTest : public MusicMachineTest {
 protected:
  // MusicInit failed and left nothing made and COM ended.
  static void ExpectCleanFailure() {
    EXPECT_EQ(music_performance, nullptr);
    EXPECT_EQ(music_loader, nullptr);
    EXPECT_EQ(SoftMusicObjectCount(), 0);
    EXPECT_EQ(SoftComStarts(), 0);
  }
};

TEST_F(MusicInitTest, WithoutASoundFontMusicFailsAndSoundsStillPlay) {
  const char* const nowhere[] = {"/nonexistent-soundfonts", nullptr};
  SetSoundFontFolders(nowhere);
  ASSERT_EQ(SoundInit(), 1);
  EXPECT_EQ(MusicInit(), 0);
  ExpectCleanFailure();
  WriteTextFile("note.mid", HALF_SECOND_NOTE);
  EXPECT_EQ(LoadMidi("note.mid"), -1);
  std::string wave = "RIFF" + Bytes({40, 0, 0, 0}) + "WAVEfmt " + Bytes({16, 0, 0, 0, 1, 0, 1, 0, 0x11, 0x2B, 0, 0,
                                                                          0x11, 0x2B, 0, 0, 1, 0, 8, 0}) +
                     "data" + Bytes({4, 0, 0, 0, 0x90, 0x90, 0x90, 0x90});
  WriteTextFile("s.wav", wave);
  const int id = LoadWav("s.wav", SOUND_CONTROLS);
  ASSERT_EQ(id, 0);
  EXPECT_EQ(PlaySound(id, 1), 1);
  EXPECT_NE(SoundStatus(id) & DSBSTATUS_PLAYING, 0);
}

TEST_F(MusicInitTest, EachFailingStepLeavesNothingBehind) {
  EXPECT_EQ(MusicInit(), 0);  // no DirectSound object yet
  ExpectCleanFailure();
  ASSERT_EQ(SoundInit(), 1);
  for (int failing_call : {1, 2}) {  // the performance, then the loader
    InjectFault(PlatformCall::CoCreateInstance, failing_call);
    EXPECT_EQ(MusicInit(), 0) << failing_call;
    ExpectCleanFailure();
    ClearFaults();
  }
  midi_table[5] = MidiSlot{nullptr, nullptr, 9, MIDI_PLAYING};  // left over from an earlier run
  active_midi = 7;
  EXPECT_EQ(MusicInit(), 1);
  EXPECT_EQ(SoftComStarts(), 1);
  EXPECT_EQ(midi_table[5].state, MIDI_FREE);
  EXPECT_EQ(midi_table[5].id, 5);
  EXPECT_EQ(active_midi, -1);
  EXPECT_EQ(MusicInit(), 0);  // it runs once
}

TEST(MultiByteToWideChar, ConvertsUtf8AndRefusesABufferTooSmall) {
  WCHAR wide[8] = {};
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, "a\xC3\xA9\xE2\x82\xAC", -1, wide, 8), 4);
  EXPECT_EQ(wide[0], L'a');
  EXPECT_EQ(wide[1], 0xE9);
  EXPECT_EQ(wide[2], 0x20AC);
  EXPECT_EQ(wide[3], 0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abcdefgh", -1, nullptr, 0), 9);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abcdefgh", -1, wide, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 2, wide, 8), 2);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xFF" "b", 2, wide, 8), 2);
  EXPECT_EQ(wide[0], 0xFFFD);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "\xC3", 1, wide, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  // Only the program's own code page (UTF-8 here) is known; another fails and writes nothing.
  wide[0] = L'z';
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, wide, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(wide[0], L'z');
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", -1, wide, 8), 4);
}

TEST(GetCurrentDirectoryA, GivesTheSizeNeededWhenTheBufferHasNoRoomForTheTerminator) {
  char path[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, path);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(std::strlen(path), length);
  std::vector<char> exact(length, 'x');  // room for the characters but not the terminator
  EXPECT_EQ(GetCurrentDirectoryA(length, exact.data()), length + 1);
  EXPECT_EQ(std::string(exact.begin(), exact.end()), std::string(length, 'x'));
  std::vector<char> enough(length + 1);
  EXPECT_EQ(GetCurrentDirectoryA(length + 1, enough.data()), length);
  EXPECT_STREQ(enough.data(), path);
}

}  // namespace
