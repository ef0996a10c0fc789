// vork-replay: the key script, the arguments, and a whole run that quits with Escape.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "display/display.h"
#include "replay.h"
#include "sound/sound_table.h"
#include "test_support.h"

namespace {

TEST(KeyScript, ReadsEventsAndSkipsCommentsAndBlankLines) {
  std::vector<KeyEvent> events;
  std::string error;
  ASSERT_TRUE(ParseKeyScript("# start\n\n100 down ESCAPE\n160 up ESCAPE\n900 close\n", &events, &error)) << error;
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].time, 100u);
  EXPECT_EQ(events[0].virtual_key, VK_ESCAPE);
  EXPECT_TRUE(events[0].down);
  EXPECT_FALSE(events[1].down);
  EXPECT_EQ(events[2].virtual_key, -1);
}

TEST(KeyScript, NamesTheBadLine) {
  const char* bad_scripts[] = {"10 down ESCAPE\nx down SPACE\n", "10 press SPACE\n", "10 down F1\n",
                               "10 down SPACE extra\n", "99999999999 down SPACE\n", "10 close now\n"};
  for (const char* script : bad_scripts) {
    std::vector<KeyEvent> events;
    std::string error;
    EXPECT_FALSE(ParseKeyScript(script, &events, &error)) << script;
    EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
  }
}

TEST(ReplayArguments, NeedAssetsAndOutAndKnownValues) {
  ReplayOptions options;
  std::string error;
  const char* good[] = {"vork-replay", "--assets", "a", "--out", "o", "--png", "all", "--max-ms", "500"};
  ASSERT_TRUE(ParseReplayArguments(9, const_cast<char**>(good), &options, &error)) << error;
  EXPECT_EQ(options.png, PngChoice::All);
  EXPECT_EQ(options.max_ms, 500u);
  const char* missing_out[] = {"vork-replay", "--assets", "a"};
  ReplayOptions fresh;
  EXPECT_FALSE(ParseReplayArguments(3, const_cast<char**>(missing_out), &fresh, &error));
  const char* bad_png[] = {"vork-replay", "--assets", "a", "--out", "o", "--png", "some"};
  EXPECT_FALSE(ParseReplayArguments(7, const_cast<char**>(bad_png), &fresh, &error));
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

TEST(Replay, EscapeAtHundredMillisecondsFadesToRedAndQuits) {
  StartFreshMachine();
  mkdir("assets", 0755);
  mkdir("out", 0755);
  WriteTextFile("keys.txt", "100 down ESCAPE\n160 up ESCAPE\n");
  ReplayOptions options;
  options.assets_dir = "assets";
  options.out_dir = "out";
  options.keys_file = "keys.txt";
  options.png = PngChoice::All;
  std::string error;
  ASSERT_EQ(RunReplay(options, &error), 0) << error;
  ASSERT_EQ(chdir(".."), 0);  // the replay entered the assets folder
  const std::vector<std::string> lines = LinesOf(ReadTextFile("out/log.txt"));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "0 open PALDATA3.PAL missing");
  EXPECT_NE(lines.back().find(" quit 0"), std::string::npos) << lines.back();
  int frames = 0;
  for (const std::string& line : lines) frames += line.find(" frame ") != std::string::npos;
  EXPECT_GE(frames, 64 + 3);  // the title frames, then one frame per fade step
  const HeadlessFrame& last = HeadlessFrames().back();
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(last.palette[i * 4], 255);
    EXPECT_EQ(last.palette[i * 4 + 1] | last.palette[i * 4 + 2], 0);
  }
  std::ifstream png("out/frame-" + std::to_string(frames - 1) + ".png", std::ios::binary);
  char signature[4] = {};
  png.read(signature, 4);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
  display = DisplayState{};
}

TEST(Replay, StopsAtMaxMsWithStatusTwo) {
  StartFreshMachine();
  mkdir("out2", 0755);
  ReplayOptions options;
  options.assets_dir = ".";
  options.out_dir = "out2";
  options.max_ms = 300;
  options.png = PngChoice::None;
  std::string error;
  EXPECT_EQ(RunReplay(options, &error), 2);
  EXPECT_NE(ReadTextFile("out2/log.txt").find("timeout"), std::string::npos);
  display = DisplayState{};
}

TEST(Replay, MakesTheOutFolderAndTheAutopilotWritesItsKeys) {
  StartFreshMachine();
  ReplayOptions options;
  options.assets_dir = ".";
  options.out_dir = "made/for/this";
  options.max_ms = 300;
  options.png = PngChoice::None;
  options.autopilot = "win";
  std::string error;
  EXPECT_EQ(RunReplay(options, &error), 2) << error;
  EXPECT_NE(ReadTextFile("made/for/this/log.txt").find("timeout"), std::string::npos);
  // The autopilot pressed Space on the title in its first frame, a millisecond on.
  EXPECT_NE(ReadTextFile("made/for/this/keys.txt").find(" down SPACE\n"), std::string::npos);
  display = DisplayState{};
  const char* bad[] = {"vork-replay", "--assets", "a", "--out", "o", "--autopilot", "fly"};
  ReplayOptions fresh;
  EXPECT_FALSE(ParseReplayArguments(7, const_cast<char**>(bad), &fresh, &error));
  EXPECT_EQ(error, "--autopilot takes win, wrong-letters or caught");
}

}  // namespace

namespace {

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
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(ReadLe(bytes, 4, 4), 36u + 8u);
  EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(ReadLe(bytes, 16, 4), 16u);
  EXPECT_EQ(ReadLe(bytes, 20, 2), 1u);
  EXPECT_EQ(ReadLe(bytes, 22, 2), 2u);
  EXPECT_EQ(ReadLe(bytes, 24, 4), 44100u);
  EXPECT_EQ(ReadLe(bytes, 28, 4), 176400u);
  EXPECT_EQ(ReadLe(bytes, 32, 2), 4u);
  EXPECT_EQ(ReadLe(bytes, 34, 2), 16u);
  EXPECT_EQ(bytes.substr(36, 4), "data");
  EXPECT_EQ(ReadLe(bytes, 40, 4), 8u);
  EXPECT_EQ(static_cast<int16_t>(ReadLe(bytes, 44, 2)), 1);
  EXPECT_EQ(static_cast<int16_t>(ReadLe(bytes, 46, 2)), -2);
  EXPECT_EQ(static_cast<int16_t>(ReadLe(bytes, 50, 2)), -32768);
}

TEST(ReplayWav, TheWavOptionIsParsed) {
  ReplayOptions options;
  std::string error;
  const char* args[] = {"vork-replay", "--assets", "a", "--out", "o", "--wav", "run.wav"};
  ASSERT_TRUE(ParseReplayArguments(7, const_cast<char**>(args), &options, &error)) << error;
  EXPECT_EQ(options.wav_file, "run.wav");
}

TEST(ReplaySoundLog, NamesTheFileTheSoundWasLoadedFrom) {
  StartFreshMachine();
  CreateTestWindow();
  sound_first_call = 1;
  ASSERT_EQ(SoundInit(), 1);
  const std::string wave = std::string("RIFF") + std::string("\x2c\0\0\0", 4) + "WAVEfmt " + std::string("\x10\0\0\0", 4) +
                           std::string("\x01\0\x01\0\x11\x2b\0\0\x11\x2b\0\0\x01\0\x08\0", 16) + "data" +
                           std::string("\x08\0\0\0", 4) + std::string(8, '\x80');
  WriteTextFile("Beep2.wav", wave);
  ASSERT_EQ(LoadWav("Beep2.wav", SOUND_CONTROLS), 0);
  EXPECT_EQ(SoundEventText(sound_table[0].buffer, 0), "sound Beep2.wav play");
  EXPECT_EQ(SoundEventText(sound_table[0].buffer, 1), "sound Beep2.wav loop");
  EXPECT_EQ(SoundEventText(sound_table[0].buffer, 2), "sound Beep2.wav stop");
  EXPECT_EQ(SoundEventText(nullptr, 0), "sound ? play");
  SoundShutdown();
  direct_sound = nullptr;
  std::memset(sound_table, 0, sizeof sound_table);
  sound_first_call = 1;
}

}  // namespace
