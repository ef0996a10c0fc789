// Damaged data files: each of the game's files in turn is cut short at several points, emptied,
// replaced by a picture of the wrong size or bit depth or by seeded random bytes, or given a
// sound's header in a wrong layout, in a fresh copy of the game's folder. The game is driven to
// where it reads that file, a little way past it, and Escape: every run must pass the bar of
// hardening_run.h. The default run tries every third case; the whole set runs with
// VORK_HARDENING_FULL=1.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "bmp_test_files.h"
#include "hardening_run.h"
#include "test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Cases the default run skips between two it tries.
constexpr int DEFAULT_STRIDE = 3;

// ---- Routes: how a run reaches the place where the game reads a file -------------------------

// From the title: `key` pressed there (0: the autopilot plays into scene 1), Escape `delay` ms
// after `trigger` is opened, and the game ended `answer` ms after it.
GameScript FromTitle(int key, const std::string& trigger, uint32_t delay = 1000, uint32_t answer = 5000) {
  GameScript script;
  if (key) script.keys = {{100, key, true}, {200, key, false}};
  script.autopilot = key == 0;
  script.escape_after_file = trigger;
  script.escape_delay_ms = delay;
  script.escape_answer_ms = answer;
  return script;
}

// The game set up in a scene, the autopilot playing it with the given mishaps, Escape `delay` ms
// after `trigger` is opened (a mishap's sequence or a cheer may be under way then).
GameScript InScene(int scene, const std::string& trigger, const std::string& mishaps = "", int spares = 3,
                   uint32_t delay = 1000, uint32_t answer = 12000) {
  GameScript script = FromTitle(0, trigger, delay, answer);
  script.jump_to_scene = scene;
  script.spare_robots = spares;
  // The autopilot counts the spare robots already spent as its first mishaps.
  script.autopilot_mishaps = std::string(static_cast<size_t>(3 - spares), 'W') + mishaps;
  return script;
}

// Where each file is read (sounds where they are first heard); the title and scene 1 otherwise.
GameScript RouteFor(const std::string& name) {
  // The spoken instructions hold the game; the credits are not paced (a few ms draw many frames).
  if (name == "Inst.BMP" || name == "How.wav") return FromTitle(VK_RETURN, "Inst.BMP", 1000, 12000);
  if (name == "Cr1.BMP") return FromTitle('C', "Cr1.BMP", 20);
  if (name.rfind("treeCage", 0) == 0) return InScene(1, name, "W");
  if (name == "Beep2.wav") return InScene(1, "treeCage3.BMP", "W");
  if (name == "GameOver.BMP") return InScene(1, name, "W", 0);
  // Scene 4 played to the end: the winning sequence (no key ends it), then Escape on the credits.
  if (name == "winAnimals.BMP" || name == "Banana.wav") return InScene(4, "winAnimals.BMP", "", 3, 0, 30000);
  const char* const animals[] = {"dog", "cat", "owl", "frog"};
  for (int scene = 2; scene <= 4; ++scene) {
    const std::string animal = animals[scene - 1];
    if (name == animal + ".BMP") return InScene(scene, name);
    if (name == "scene" + std::to_string(scene) + ".BMP" || name == animal + " 1.wav")
      return InScene(scene, "scene" + std::to_string(scene) + ".BMP");
  }
  return FromTitle(0, "scene1.BMP");
}

// ---- Damage -----------------------------------------------------------------------------------

Bytes Cut(const Bytes& original, size_t length) {
  return Bytes(original.begin(), original.begin() + static_cast<long>(std::min(length, original.size())));
}

// The original with every byte after the first `kept` replaced by seeded random ones.
Bytes Scrambled(const Bytes& original, size_t kept, uint32_t seed) {
  std::mt19937 random(seed);
  random.discard(std::min(kept, original.size()));
  Bytes bytes = original;
  for (size_t i = std::min(kept, bytes.size()); i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(random());
  return bytes;
}

// The file with a sound's format saying 16-bit stereo at 22050 Hz over bytes 22..35 (in a
// picture: its height, planes, bit count, compression and image size).
Bytes WrongLayout(Bytes sound) {
  const uint8_t format[] = {2, 0, 0x22, 0x56, 0, 0, 0x88, 0x58, 1, 0, 4, 0, 16, 0};
  if (sound.size() >= 36) std::copy(std::begin(format), std::end(format), sound.begin() + 22);
  return sound;
}

// One way of damaging a file, tried on every kind of file: its name, what the file holds instead.
const struct Damage {
  const char* name;
  Bytes (*make)(const Bytes& original, uint32_t seed);
} DAMAGES[] = {
    {"cut to 14 bytes", [](const Bytes& b, uint32_t) { return Cut(b, 14); }},
    {"cut in half", [](const Bytes& b, uint32_t) { return Cut(b, b.size() / 2); }},
    {"empty", [](const Bytes&, uint32_t) { return Bytes{}; }},
    {"random bytes", [](const Bytes& b, uint32_t seed) { return Scrambled(b, 0, seed); }},
    {"random after the header", [](const Bytes& b, uint32_t seed) { return Scrambled(b, 54, seed); }},
    {"a 37x23 picture", [](const Bytes&, uint32_t) { return EncodeBmp(BmpSpec{37, 23, 8}); }},
    {"a 24-bit picture", [](const Bytes&, uint32_t) { return EncodeBmp(BmpSpec{640, 480, 24}); }},
    {"16-bit stereo", [](const Bytes& b, uint32_t) { return WrongLayout(b); }},
};

TEST(DamagedAssets, EachFileDamagedInTurnLeavesAGameThatStillEndsOnEscape) {
  StartFreshMachine();
  const std::vector<std::string> files = GameDataFiles(VORK_ASSET_DIR);
  ASSERT_EQ(files.size(), 42u);
  int n = 0;
  for (const std::string& file : files)
    for (const Damage& damage : DAMAGES) {
      if (n++ % (FullHardeningRun() ? 1 : DEFAULT_STRIDE) != 0) continue;
      const std::string run = file + " " + damage.name;
      CopyGameFiles("game");
      const std::string original = ReadTextFile("game/" + file);
      WriteBytes("game/" + file, damage.make(Bytes(original.begin(), original.end()), static_cast<uint32_t>(n)));
      const RunOutcome outcome = RunGameInFolder("game", RouteFor(file));
      EXPECT_EQ(outcome.end, RunEnd::Quit) << run << ": " << outcome.problem;
    }
}

}  // namespace
