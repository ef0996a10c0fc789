// The music table over the software DirectMusic and its synthesiser: slots, which one is active,
// segments running to their end, the note heard at its pitch, damaged files, and failed steps
// that must leave nothing behind.
#include <string>
#include <vector>

#include "soft/com_text.h"
#include "soft/direct_music.h"
#include "soft/faults.h"
#include "sound/midi_music.h"
#include "sound_fixture.h"

namespace {

std::string Be32(uint32_t value) {
  const std::string little = Le32(value);
  return std::string(little.rbegin(), little.rend());
}

const std::string END_OF_TRACK = Bytes({0x00, 0xFF, 0x2F, 0x00});
// Middle C held 16 ticks.
const std::string NOTE = Bytes({0x00, 0x90, 60, 100, 0x10, 0x80, 60, 0});

std::string Track(const std::string& events) { return "MTrk" + Be32(static_cast<uint32_t>(events.size())) + events; }

// A standard MIDI file at 96 ticks a quarter note (120 beats a minute: a tick is 5.2 ms).
std::string Smf(int format, const std::vector<std::string>& tracks) {
  const std::string header = Bytes({0, format, 0, static_cast<int>(tracks.size()), 0, 96});
  std::string file = "MThd" + Be32(6) + header;
  for (const std::string& track : tracks) file += track;
  return file;
}

// A4 on a piano from 0 ms to 500 ms, then the end of the track.
const std::string HALF_SECOND_NOTE = Smf(0, {Track(Bytes({0x00, 0x90, 69, 100, 0x60, 0x80, 69, 0}) + END_OF_TRACK)});

// One track padded with a text event to `total` bytes in all.
std::string PaddedTo(size_t total) {
  const size_t text = total - 14 - 8 - NOTE.size() - END_OF_TRACK.size() - 6;  // delta, FF 01, 3-byte length
  const int size = static_cast<int>(text);
  const std::string length = Bytes({0x80 | (size >> 14), 0x80 | ((size >> 7) & 0x7F), size & 0x7F});
  return Smf(0, {Track(Bytes({0x00, 0xFF, 0x01}) + length + std::string(text, 't') + NOTE + END_OF_TRACK)});
}

// Music and sound shut down after each test, with every music object released and COM ended.
class MusicMachineTest : public SoundMachineTest {
 protected:
  void TearDown() override {
    EXPECT_EQ(MusicShutdown(), 1);
    SetSoundFontFolders(nullptr);
    ExpectNothingMade();
    SoundMachineTest::TearDown();
  }
  // No music object is left and COM is ended (after a shut-down or a failed MusicInit).
  static void ExpectNothingMade() {
    EXPECT_EQ(music_performance, nullptr);
    EXPECT_EQ(music_loader, nullptr);
    EXPECT_EQ(SoftMusicObjectCount(), 0);
    EXPECT_EQ(SoftComStarts(), 0);
  }
};

// Music running over sound, and the half-second note in note.mid.
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
};

TEST_F(MidiMusicTest, LoadsTakeSlotsInOrderAndA65thFails) {
  for (int expected = 0; expected < MIDI_SLOTS; ++expected) ASSERT_EQ(LoadMidi("note.mid"), expected);
  EXPECT_EQ(LoadMidi("note.mid"), -1);
  EXPECT_EQ(SoftMusicObjectCount(), 2 + MIDI_SLOTS);  // performance, loader, segments
  EXPECT_EQ(DeleteMidi(17), 1);
  EXPECT_EQ(midi_table[17].state, MIDI_FREE);
  EXPECT_EQ(LoadMidi("note.mid"), 17);
  EXPECT_EQ(DeleteAllMidi(), 1);
  EXPECT_EQ(SoftMusicObjectCount(), 2);
}

// One file plays at a time; a stop of any slot clears the active id, and neither that stop nor
// deleting that slot stops the music.
TEST_F(MidiMusicTest, TheActiveSlotFollowsPlayAndStop) {
  for (int expected : {0, 1, 2}) ASSERT_EQ(LoadMidi("note.mid"), expected);
  EXPECT_EQ(PlayMidi(0), 1);
  HeadlessAdvance(50);
  EXPECT_EQ(PlayMidi(1), 1);
  EXPECT_EQ(active_midi, 1);
  EXPECT_EQ(MidiStatus(0), MIDI_STOPPED);
  EXPECT_EQ(StopMidi(2), 1);  // another slot: the music plays on
  EXPECT_EQ(active_midi, -1);
  EXPECT_EQ(midi_table[2].state, MIDI_STOPPED);
  EXPECT_EQ(MidiStatus(1), MIDI_PLAYING);
  EXPECT_EQ(DeleteMidi(2), 1);
  EXPECT_EQ(MidiStatus(1), MIDI_PLAYING);
}

// A segment plays until its longest track ends: still playing 5 ms before (a tick is 5.2 ms),
// stopped 3 ms after, and it plays again from the start.
TEST_F(MidiMusicTest, ASegmentThatRanToItsEndReportsStopped) {
  const std::string tempo = Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}) + END_OF_TRACK;
  const std::string long_note = Bytes({0x00, 0x90, 69, 100, 0x83, 0x00, 0x80, 69, 0}) + END_OF_TRACK;  // 384 ticks
  const struct {
    std::string file;
    uint32_t end_ms;
  } files[] = {{HALF_SECOND_NOTE, 500}, {Smf(1, {Track(tempo), Track(long_note)}), 2000}};
  for (const auto& file : files) {
    SCOPED_TRACE(file.end_ms);
    const int id = Load(file.file);
    const uint32_t start = HeadlessNow();
    ASSERT_EQ(PlayMidi(id), 1);
    HeadlessAdvance(file.end_ms - 5);
    EXPECT_EQ(MidiStatus(id), MIDI_PLAYING);
    HeadlessAdvance(start + file.end_ms + 3 - HeadlessNow());
    EXPECT_EQ(MidiStatus(id), MIDI_STOPPED);
    EXPECT_EQ(midi_table[id].state, MIDI_STOPPED);
    EXPECT_EQ(active_midi, id);
    EXPECT_EQ(PlayMidi(id), 1);
    EXPECT_EQ(MidiStatus(id), MIDI_PLAYING);
  }
}

// Largest sample magnitude the output kept from `from` on.
int Peak(size_t from) {
  const std::vector<int16_t>& audio = HeadlessAudio();
  int peak = 0;
  for (size_t i = from; i < audio.size(); ++i) peak = std::max(peak, std::abs(static_cast<int>(audio[i])));
  return peak;
}

// A4 on a flute is 440 Hz: 44 rising zero crossings of the left channel in 100 ms; nothing is
// heard after the stop.
TEST_F(MidiMusicTest, TheNoteIsHeardAtItsPitchWhilePlayingOnly) {
  HeadlessKeepAudio(true);
  const std::string flute = Bytes({0x00, 0xC0, 73, 0x00, 0x90, 69, 100, 0x60, 0x80, 69, 0}) + END_OF_TRACK;
  ASSERT_EQ(Load(Smf(0, {Track(flute)})), 0);
  ASSERT_EQ(PlayMidi(0), 1);
  HeadlessAdvance(150);
  const size_t from = HeadlessAudio().size();
  HeadlessAdvance(100);
  const std::vector<int16_t>& audio = HeadlessAudio();
  int crossings = 0;
  for (size_t i = from + 2; i + 1 < audio.size(); i += 2) crossings += audio[i - 2] < 0 && audio[i] >= 0;
  EXPECT_NEAR(crossings, 44, 2);
  EXPECT_GT(Peak(from), 2000);
  ASSERT_EQ(StopMidi(0), 1);
  const size_t stopped = HeadlessAudio().size();
  HeadlessAdvance(200);
  EXPECT_GT(HeadlessAudio().size(), stopped + 2 * 8000);
  EXPECT_EQ(Peak(stopped + 2 * 64), 0);  // after the synthesiser's block of 64 frames already made
}

TEST_F(MidiMusicTest, WellFormedFilesLoadAndDamagedOnesAreRefusedLeavingNothingBehind) {
  const std::string running =
      Bytes({0x00, 0x90, 60, 100, 0x10, 60, 0, 0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7}) + END_OF_TRACK;
  const std::string metas = Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x58, 0x04, 4, 2, 24, 8,
                                   0x00, 0xFF, 0x59, 0x02, 0, 0, 0x00, 0xFF, 0x21, 0x01, 0}) + END_OF_TRACK;
  const std::string good[] = {Smf(0, {Track(running)}), Smf(1, {Track(metas), Track(running)}),
                              HALF_SECOND_NOTE + "trailing bytes", PaddedTo(1 << 20)};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Load(good[i]), i);
  DeleteAllMidi();
  const std::vector<std::string> damaged = {
      HALF_SECOND_NOTE.substr(0, 10),                                       // inside the header
      "MThx" + HALF_SECOND_NOTE.substr(4),                                  // not a header
      "MThd" + Be32(7) + HALF_SECOND_NOTE.substr(8, 6) + "\0" + HALF_SECOND_NOTE.substr(14),  // header of 7
      HALF_SECOND_NOTE.substr(0, HALF_SECOND_NOTE.size() - 1),              // track cut short
      Smf(0, {Track(Bytes({0x00, 60, 100}) + END_OF_TRACK)}),               // running status first
      Smf(0, {Track(NOTE + Bytes({0x00, 0xFF, 0x01, 0x00, 0x00, 60, 0}) + END_OF_TRACK)}),  // after a meta
      Smf(0, {Track(NOTE)}),                                                // no end of track
      Smf(0, {Track(Bytes({0x00, 0xFF, 0x51, 0x03, 0, 0, 0}) + NOTE + END_OF_TRACK)}),  // tempo zero
      Smf(0, {Track(NOTE + END_OF_TRACK + NOTE)}),                          // events after the end
      Smf(0, {Track(NOTE + END_OF_TRACK), Track(NOTE + END_OF_TRACK)}),     // format 0, two tracks
      Smf(1, {Track(NOTE + END_OF_TRACK)}).substr(0, 22) + "MThd" + Be32(0),  // alien chunk
      Smf(0, {Track(Bytes({0x00, 0x90, 60, 0x80}) + END_OF_TRACK)}),        // status as data
      Smf(0, {Track(Bytes({0x00, 0xF2, 0, 0}) + END_OF_TRACK)}),            // system common
      Smf(0, {Track(Bytes({0x80, 0x80, 0x80, 0x80, 0x00}) + NOTE + END_OF_TRACK)}),  // five-byte delta
      Smf(0, {Track(Bytes({0x00, 0xFF, 0x58, 0x03, 4, 2, 24}) + NOTE + END_OF_TRACK)}),  // short time signature
      Smf(0, {Track(Bytes({0x00, 0xFF, 0x59, 0x03, 0, 0, 0}) + NOTE + END_OF_TRACK)}),   // long key signature
      Smf(0, {Track(Bytes({0x00, 0xFF, 0x20, 0x00}) + NOTE + END_OF_TRACK)}),             // empty channel prefix
      PaddedTo((1 << 20) + 1),  // one byte over the size limit
  };
  for (size_t i = 0; i < damaged.size(); ++i) {
    EXPECT_EQ(Load(damaged[i]), -1) << "case " << i;
    EXPECT_EQ(midi_table[0].state, MIDI_FREE);
  }
  EXPECT_EQ(SoftMusicObjectCount(), 2);
  EXPECT_EQ(LoadMidi("missing.mid"), -1);
}

// Names reach the loader as wide text: a full path is taken as it is, UTF-8 of every length
// converts; a name too long for the buffer fails the load.
TEST_F(MidiMusicTest, FileNamesReachTheLoader) {
  char here[MAX_PATH];
  ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, here), 0u);
  WriteTextFile("n\xC3\xB6te\xE2\x82\xAC.mid", HALF_SECOND_NOTE);
  EXPECT_EQ(LoadMidi((std::string(here) + "/n\xC3\xB6te\xE2\x82\xAC.mid").c_str()), 0);
  EXPECT_EQ(LoadMidi(std::string(MAX_PATH, 'n').c_str()), -1);  // no room for the terminator
  EXPECT_EQ(LoadMidi(nullptr), -1);
}

TEST_F(MidiMusicTest, FailedInstrumentStepsAndPlaysLeaveNothingBehind) {
  for (int failing_call : {1, 2}) {  // standard MIDI file, then download
    InjectFault(PlatformCall::MusicSetParam, failing_call);
    EXPECT_EQ(LoadMidi("note.mid"), -1);
    EXPECT_EQ(SoftMusicObjectCount(), 2) << failing_call;
    ClearFaults();
  }
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
  ExpectNothingMade();
  EXPECT_EQ(active_midi, -1);
  EXPECT_EQ(LoadMidi("note.mid"), -1);
  for (int id : {-1, 0, 1, 64}) {  // outside the table, the playing slot and the loaded one
    EXPECT_EQ(PlayMidi(id), 0) << id;
    EXPECT_EQ(StopMidi(id), 0) << id;
    EXPECT_EQ(MidiStatus(id), 0) << id;
    EXPECT_EQ(DeleteMidi(id), 1) << id;
  }
}

TEST_F(MusicMachineTest, EachFailingStepOfMusicInitLeavesNothingBehind) {
  EXPECT_EQ(MusicInit(), 0);  // no DirectSound object yet
  ExpectNothingMade();
  ASSERT_EQ(SoundInit(), 1);
  for (int failing_call : {1, 2}) {  // the performance, then the loader
    InjectFault(PlatformCall::CoCreateInstance, failing_call);
    EXPECT_EQ(MusicInit(), 0) << failing_call;
    ExpectNothingMade();
    ClearFaults();
  }
  const char* const nowhere[] = {"/nonexistent-soundfonts", nullptr};
  SetSoundFontFolders(nowhere);  // no sound font to be found
  EXPECT_EQ(MusicInit(), 0);
  ExpectNothingMade();
  SetSoundFontFolders(nullptr);
  midi_table[5] = MidiSlot{nullptr, nullptr, 9, MIDI_PLAYING};  // left over from an earlier run
  active_midi = 7;
  EXPECT_EQ(MusicInit(), 1);
  EXPECT_EQ(SoftComStarts(), 1);
  EXPECT_EQ(midi_table[5].state, MIDI_FREE);
  EXPECT_EQ(active_midi, -1);
  EXPECT_EQ(MusicInit(), 0);  // it runs once
}

}  // namespace
