// vork-replay: the key script, the arguments, a run cut off by its time limit and the WAV file.
// Whole runs, and the log's lines, are pinned by the golden runs (tests/golden).
#include <sys/stat.h>

#include "replay.h"
#include "test_support.h"

namespace {

// Good scripts are read by every golden run.
TEST(KeyScript, NamesTheBadLine) {
  std::vector<KeyEvent> events;
  std::string error;
  const std::pair<const char*, const char*> bad_scripts[] = {
      {"10 down ESCAPE\nx down SPACE\n", "line 2: bad time 'x'"},
      {"10 press SPACE\n", "line 1: expected"},
      {"10 down F1\n", "line 1: unknown key 'F1'"},
      {"10 down SPACE extra\n", "line 1: expected"},
      {"9999999999 down SPACE\n", "line 1: bad time"},
      {"10 close now\n", "line 1: expected"}};
  for (const auto& [script, said] : bad_scripts) {
    SCOPED_TRACE(script);
    EXPECT_FALSE(ParseKeyScript(script, &events, &error));
    EXPECT_EQ(error.rfind(said, 0), 0u) << error;
  }
}

TEST(ReplayArguments, NeedAssetsAndOutAndKnownValues) {
  struct Row {
    std::vector<const char*> args;
    const char* error;  // null: accepted
  };
  const Row rows[] = {
      {{"--assets", "a", "--out", "o", "--png", "all", "--max-ms", "500", "--wav", "w.wav", "--autopilot", "caught"},
       nullptr},
      {{"--assets", "a"}, "usage"},
      {{"--assets", "a", "--out"}, "usage"},
      {{"--assets", "a", "--out", "o", "--png", "some"}, "--png takes all, last or none"},
      {{"--assets", "a", "--out", "o", "--max-ms", "5s"}, "--max-ms takes a whole number of milliseconds"},
      {{"--assets", "a", "--out", "o", "--autopilot", "fly"}, "--autopilot takes win, wrong-letters or caught"},
      {{"--assets", "a", "--out", "o", "--fast", "1"}, "usage"}};
  for (const Row& row : rows) {
    std::vector<char*> argv = {const_cast<char*>("vork-replay")};
    for (const char* arg : row.args) argv.push_back(const_cast<char*>(arg));
    ReplayOptions options;
    std::string error;
    SCOPED_TRACE(argv.size());
    EXPECT_EQ(ParseReplayArguments(static_cast<int>(argv.size()), argv.data(), &options, &error), !row.error);
    EXPECT_TRUE(!row.error || error.rfind(row.error, 0) == 0) << error;
    EXPECT_TRUE(row.error || options.png == PngChoice::All) << "the accepted row asks for every frame";
  }
}

// In a folder without the game's files, the autopilot playing: the out folder is made, the log
// names the missing files and ends in a timeout, every frame is a PNG and the keys are written.
TEST(Replay, StopsAtMaxMsWithStatusTwoAndWritesTheAutopilotsKeys) {
  StartFreshMachine();
  ReplayOptions options;
  options.assets_dir = ".";
  options.out_dir = "made/for/this";
  options.max_ms = 300;
  options.png = PngChoice::All;
  options.autopilot = "win";
  std::string error;
  EXPECT_EQ(RunReplay(options, &error), 2) << error;
  const std::string log = ReadTextFile("made/for/this/log.txt");
  EXPECT_EQ(log.rfind("0 open PALDATA3.PAL missing\n0 frame 0\n", 0), 0u) << log.substr(0, 200);
  EXPECT_EQ(log.substr(log.size() - 8), "timeout\n");
  EXPECT_EQ(ReadTextFile("made/for/this/frame-1.png").substr(1, 3), "PNG");
  EXPECT_NE(ReadTextFile("made/for/this/keys.txt").find("\n1 down SPACE\n"), std::string::npos);
  display = DisplayState{};
}

uint32_t ReadLe(const std::string& bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
  return value;
}

TEST(ReplayWav, HoldsTheMixedFramesAsStereoPcm) {
  StartFreshMachine();
  ASSERT_TRUE(WriteStereoWav("out.wav", {1, -2, 32767, -32768}, 44100));
  const std::string bytes = ReadTextFile("out.wav");
  ASSERT_EQ(bytes.size(), 44u + 8u);
  EXPECT_EQ(bytes.substr(0, 4) + bytes.substr(8, 8) + bytes.substr(36, 4), "RIFFWAVEfmt data");
  // Offset, width and value of each number in the header and the samples.
  const uint32_t fields[][3] = {{4, 4, 44},     {16, 4, 16}, {20, 2, 1},  {22, 2, 2},     {24, 4, 44100},
                                {28, 4, 176400}, {32, 2, 4},  {34, 2, 16}, {40, 4, 8},     {44, 2, 1},
                                {46, 2, 0xFFFE}, {48, 2, 32767}, {50, 2, 0x8000}};
  for (const auto& field : fields) EXPECT_EQ(ReadLe(bytes, field[0], static_cast<int>(field[1])), field[2]) << field[0];
}

}  // namespace
