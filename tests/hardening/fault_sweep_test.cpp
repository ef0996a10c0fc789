// The fault sweep: a short game (title, scene 1, a few steps, Escape) is run once to count every
// platform call it makes, then again with each call in turn failing, alone and together with every
// later call of its kind (an even sample of each kind in the default run, every call with
// VORK_HARDENING_FULL=1). Every run must pass the bar of hardening_run.h. Prints a table of the
// calls counted, tried and survived by kind.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "hardening_run.h"
#include "mmsystem.h"
#include "soft/faults.h"
#include "test_support.h"

namespace {

// Calls of each kind tried in the default run; small kinds are tried whole.
constexpr int SAMPLE_PER_KIND = 20;

// A kind of platform call with the name the table gives it.
struct CallKind {
  PlatformCall call;
  const char* name;
  bool may_stop_start_up = false;  // failing it may end the program before play, as it means to
};

const CallKind CALL_KINDS[] = {
    {PlatformCall::RegisterClass, "RegisterClass", true},
    {PlatformCall::CreateWindow, "CreateWindow", true},
    {PlatformCall::DirectDrawCreate, "DirectDrawCreate", true},
    {PlatformCall::SetCooperativeLevel, "SetCooperativeLevel", true},
    {PlatformCall::SetDisplayMode, "SetDisplayMode", true},
    {PlatformCall::CreateSurface, "CreateSurface", true},
    {PlatformCall::GetAttachedSurface, "GetAttachedSurface", true},
    {PlatformCall::GetPixelFormat, "GetPixelFormat", true},
    {PlatformCall::CreatePalette, "CreatePalette", true},
    {PlatformCall::SetPalette, "SetPalette", true},
    {PlatformCall::CreateClipper, "CreateClipper"},
    {PlatformCall::SetClipList, "SetClipList"},
    {PlatformCall::SetClipper, "SetClipper"},
    {PlatformCall::SetHWnd, "SetHWnd"},
    {PlatformCall::Lock, "Lock"},
    {PlatformCall::Blt, "Blt"},
    {PlatformCall::Flip, "Flip"},
    {PlatformCall::DirectInputCreate, "DirectInputCreate"},
    {PlatformCall::CreateInputDevice, "CreateInputDevice"},
    {PlatformCall::InputAcquire, "InputAcquire"},
    {PlatformCall::DirectSoundCreate, "DirectSoundCreate"},
    {PlatformCall::CreateSoundBuffer, "CreateSoundBuffer"},
    {PlatformCall::SoundLock, "SoundLock"},
    {PlatformCall::SoundGetStatus, "SoundGetStatus"},
    {PlatformCall::CoCreateInstance, "CoCreateInstance (music)"},
    {PlatformCall::MusicSetParam, "MusicSetParam"},
    {PlatformCall::PlaySegment, "PlaySegment"},
    {PlatformCall::FileOpen, "file open"},
    {PlatformCall::FileRead, "file read"},
};

// Through the spoken prompts of the title (Space held until they end), scene 1's intro, a few
// steps right and down, then Escape held.
GameScript ShortGame() {
  GameScript script;
  script.keys = {{100, VK_SPACE, true},   {5600, VK_SPACE, false}, {6600, VK_RIGHT, true},
                 {7500, VK_RIGHT, false}, {7500, VK_DOWN, true},   {8000, VK_DOWN, false}};
  script.escape_at = 9000;
  script.limit_ms = 60000;
  return script;
}

// How the chosen call fails: alone, or with every later call of its kind (a device that is gone).
struct FaultMode {
  const char* name;
  int times;
};

const FaultMode FAULT_MODES[] = {{"that call alone", 1}, {"every call from it on", 1 << 30}};
constexpr int MODE_COUNT = 2;

// One line of the table.
struct SweepRow {
  const char* name;
  int counted = 0;
  int tried[MODE_COUNT] = {};
  int survived[MODE_COUNT] = {};
  int ended_at_start = 0;  // of those survived: no window or no display, as the program means to
};

void PrintRow(const SweepRow& row) {
  std::printf("%-26s %8d %7d %9d %7d %9d %9d\n", row.name, row.counted, row.tried[0], row.survived[0], row.tried[1],
              row.survived[1], row.ended_at_start);
}

void PrintTable(const std::vector<SweepRow>& rows) {
  std::printf("\nfault sweep (%s): the call fails alone | it and every later call of its kind fail\n",
              FullHardeningRun() ? "every call" : "an even sample of each kind");
  std::printf("%-26s %8s %7s %9s %7s %9s %9s\n", "call kind", "counted", "tried", "survived", "tried", "survived",
              "at start");
  SweepRow total{"all kinds"};
  for (const SweepRow& row : rows) {
    PrintRow(row);
    total.counted += row.counted;
    for (int m = 0; m < MODE_COUNT; ++m) {
      total.tried[m] += row.tried[m];
      total.survived[m] += row.survived[m];
    }
    total.ended_at_start += row.ended_at_start;
  }
  PrintRow(total);
  std::printf("\n");
  std::fflush(stdout);
}

// Runs the short game with the nth call of a kind failing in the given mode; counts the outcome.
void TryFault(const CallKind& kind, int nth, int mode, SweepRow* row) {
  const std::string run = std::string(kind.name) + " call " + std::to_string(nth) + " of " +
                          std::to_string(row->counted) + " failing, " + FAULT_MODES[mode].name;
  NameCurrentRun("fault sweep: " + run);
  const RunOutcome outcome =
      RunGameInFolder("game", ShortGame(), [&] { InjectFault(kind.call, nth, FAULT_MODES[mode].times); });
  ++row->tried[mode];
  if (outcome.end == RunEnd::Failed) {
    ADD_FAILURE() << run << ": " << outcome.problem;
    return;
  }
  if (outcome.end != RunEnd::Quit && !kind.may_stop_start_up) {
    ADD_FAILURE() << run << ": the program ended at start-up";
    return;
  }
  ++row->survived[mode];
  row->ended_at_start += outcome.end != RunEnd::Quit;
}

// The file faults the sweep adds: an open reports the file as not there (to the host too), a read
// as an error; the calls before and after the chosen one work.
TEST(FaultSweep, FileOpenAndReadFailuresHitOnlyTheChosenCall) {
  StartFreshMachine();
  WriteTextFile("f.bin", std::string("RIFF\x04\x00\x00\x00WAVE", 12));
  std::vector<bool> opened;
  HeadlessOnFileOpen([&](const std::string&, bool ok) { opened.push_back(ok); });
  InjectFault(PlatformCall::FileOpen, 2);
  OFSTRUCT info{};
  const HFILE first = OpenFile("f.bin", &info, OF_READ);
  EXPECT_NE(first, HFILE_ERROR);
  EXPECT_EQ(OpenFile("f.bin", &info, OF_READ), HFILE_ERROR);
  EXPECT_EQ(info.nErrCode, 2);  // not found
  HMMIO third = mmioOpenA(const_cast<LPSTR>("f.bin"), nullptr, MMIO_READ);
  EXPECT_NE(third, nullptr);  // the fault hit once only
  if (third) mmioClose(third, 0);
  EXPECT_EQ(opened, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(PlatformCallCount(PlatformCall::FileOpen), 3);

  char bytes[4] = {};
  InjectFault(PlatformCall::FileRead, 1);
  EXPECT_EQ(_lread(first, bytes, 4), static_cast<UINT>(HFILE_ERROR));
  EXPECT_EQ(_lread(first, bytes, 4), 4u);
  EXPECT_EQ(std::string(bytes, 4), "RIFF");
  HMMIO riff = mmioOpenA(const_cast<LPSTR>("f.bin"), nullptr, MMIO_READ);
  ASSERT_NE(riff, nullptr);
  InjectFault(PlatformCall::FileRead, 2);
  EXPECT_EQ(mmioRead(riff, bytes, 4), 4);
  EXPECT_EQ(mmioRead(riff, bytes, 4), -1);
  EXPECT_EQ(mmioRead(riff, bytes, 4), 4);
  EXPECT_EQ(std::string(bytes, 4), std::string("\x04\x00\x00\x00", 4));  // the failed read moved nothing on
  EXPECT_EQ(PlatformCallCount(PlatformCall::FileRead), 5);
  mmioClose(riff, 0);
  EXPECT_EQ(_lclose(first), 0);
  HeadlessOnFileOpen(nullptr);
}

TEST(FaultSweep, EveryPlatformCallOfAShortGameFailsInTurnAndTheGameStillEndsOnEscape) {
  StartFreshMachine();
  CopyGameFiles("game");
  NameCurrentRun("fault sweep: the run without faults");
  const RunOutcome clean = RunGameInFolder("game", ShortGame());
  ASSERT_EQ(clean.end, RunEnd::Quit) << clean.problem;
  std::vector<SweepRow> rows;
  for (const CallKind& kind : CALL_KINDS) rows.push_back({kind.name, PlatformCallCount(kind.call)});
  // The short game reaches every kind it is meant to, music aside (the game plays none): it
  // opens the palette, 8 pictures and 18 sounds at start-up and scene 1's two pictures.
  EXPECT_EQ(PlatformCallCount(PlatformCall::RegisterClass), 1);
  EXPECT_EQ(PlatformCallCount(PlatformCall::FileOpen), 29);
  EXPECT_GT(PlatformCallCount(PlatformCall::Flip), 50);
  EXPECT_GT(PlatformCallCount(PlatformCall::SoundGetStatus), 0);
  EXPECT_EQ(PlatformCallCount(PlatformCall::CoCreateInstance), 0);

  const char* asked = std::getenv("VORK_HARDENING_SAMPLE");  // another sample size, for a longer look
  const int sample = FullHardeningRun() ? 1 << 30 : asked ? std::atoi(asked) : SAMPLE_PER_KIND;
  for (size_t k = 0; k < rows.size(); ++k)
    for (int mode = 0; mode < MODE_COUNT; ++mode)
      for (int nth : EvenSample(rows[k].counted, sample)) TryFault(CALL_KINDS[k], nth, mode, &rows[k]);
  PrintTable(rows);
}

}  // namespace
