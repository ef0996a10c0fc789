// Damaged data files: each of the game's files in turn is cut short at several points, emptied,
// replaced by a picture of the wrong size or bit depth (a sound by one in a wrong layout, or by a
// picture), or by seeded random bytes, in a fresh copy of the game's folder. The game is driven to
// where it reads that file, a little way past it, and Escape: every run must pass the bar of
// hardening_run.h. The default run tries every third case; the whole set runs with
// VORK_HARDENING_FULL=1.
#include <algorithm>
#include <functional>
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

enum class FileKind { Picture, Sound, Palette };

FileKind KindOf(const std::string& name) {
  const std::string extension = name.substr(name.find_last_of('.') + 1);
  if (extension == "wav" || extension == "WAV") return FileKind::Sound;
  if (extension == "PAL") return FileKind::Palette;
  return FileKind::Picture;
}

// ---- Routes: how a run reaches the place where the game reads a file -------------------------

// The autopilot plays from the title (Space when the prompts are over) into scene 1.
GameScript TitleIntoScene1() {
  GameScript script;
  script.autopilot = true;
  script.escape_after_file = "scene1.BMP";
  return script;
}

// Enter on the title: the instructions, spoken.
GameScript Instructions() {
  GameScript script;
  script.keys = {{100, VK_RETURN, true}, {200, VK_RETURN, false}};
  script.escape_after_file = "Inst.BMP";
  script.escape_answer_ms = 12000;  // the spoken instructions hold the game
  return script;
}

// C on the title: the credits.
GameScript Credits() {
  GameScript script;
  script.keys = {{100, 'C', true}, {200, 'C', false}};
  script.escape_after_file = "Cr1.BMP";
  script.escape_delay_ms = 20;  // the credits are not paced: a few milliseconds draw many frames
  return script;
}

// The game set up in a scene, the autopilot playing it with the given mishaps, Escape a little
// after `trigger` is opened.
GameScript InScene(int scene, const std::string& trigger, const std::string& mishaps = "", int spares = 3) {
  GameScript script;
  script.jump_to_scene = scene;
  script.spare_robots = spares;
  script.autopilot = true;
  // The autopilot counts the spare robots already spent as its first mishaps.
  script.autopilot_mishaps = std::string(static_cast<size_t>(3 - spares), 'W') + mishaps;
  script.escape_after_file = trigger;
  script.escape_answer_ms = 12000;  // a mishap's sequence or a cheer may be under way
  return script;
}

// Scene 4 played to the end: the winning sequence (no key ends it), then Escape on the credits.
GameScript Winning() {
  GameScript script = InScene(4, "winAnimals.BMP");
  script.escape_delay_ms = 0;
  script.escape_answer_ms = 30000;
  return script;
}

// Where each file is read (sounds where they are first heard); the title and scene 1 otherwise.
GameScript RouteFor(const std::string& name) {
  if (name == "Inst.BMP" || name == "How.wav") return Instructions();
  if (name == "Cr1.BMP") return Credits();
  if (name.rfind("treeCage", 0) == 0) return InScene(1, name, "W");
  if (name == "Beep2.wav") return InScene(1, "treeCage3.BMP", "W");
  if (name == "GameOver.BMP") return InScene(1, name, "W", 0);
  if (name == "winAnimals.BMP" || name == "Banana.wav") return Winning();
  const char* const animals[] = {"dog", "cat", "owl", "frog"};
  for (int scene = 2; scene <= 4; ++scene) {
    const std::string animal = animals[scene - 1];
    if (name == animal + ".BMP") return InScene(scene, name);
    if (name == "scene" + std::to_string(scene) + ".BMP" || name == animal + " 1.wav")
      return InScene(scene, "scene" + std::to_string(scene) + ".BMP");
  }
  return TitleIntoScene1();
}

// ---- Damage -----------------------------------------------------------------------------------

uint32_t Field32(const Bytes& bytes, size_t offset) {
  if (offset + 4 > bytes.size()) return 0;
  return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
         (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

// The original picture's size, 640x480 when its header cannot tell.
void PictureSize(const Bytes& original, int* width, int* height) {
  *width = static_cast<int>(Field32(original, BI_WIDTH));
  *height = static_cast<int>(Field32(original, BI_HEIGHT));
  if (*width <= 0 || *width > 4096 || *height <= 0 || *height > 4096) *width = 640, *height = 480;
}

Bytes Cut(const Bytes& original, size_t length) {
  return Bytes(original.begin(), original.begin() + static_cast<long>(std::min(length, original.size())));
}

Bytes RandomBytes(size_t count, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes bytes(count);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
  return bytes;
}

// An 8-bit picture of the test pattern.
Bytes Picture8(int width, int height) {
  BmpSpec spec;
  spec.width = width;
  spec.height = height;
  spec.pixels = TestIndices(width, height);
  return EncodeBmp(spec);
}

// A picture of the given size in 24 bits, or in 4 bits with a 16-colour table.
Bytes PictureOfDepth(int width, int height, int bits) {
  BmpSpec spec;
  spec.width = width;
  spec.height = height;
  spec.bits = bits;
  if (bits == 24) spec.pixels = TestIndices(width * 3, height);
  if (bits == 4) spec.encoded = Bytes(static_cast<size_t>((width + 7) / 8 * 4) * height, 0x12);
  return EncodeBmp(spec);
}

void Put32(Bytes& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A PCM WAV file of `frames` frames of a rising ramp in the given layout.
Bytes Wave(int rate, int channels, int bits, int frames) {
  const uint32_t block = static_cast<uint32_t>(channels * bits / 8);
  const uint32_t data_bytes = block * static_cast<uint32_t>(frames);
  Bytes out = {'R', 'I', 'F', 'F'};
  Put32(out, 36 + data_bytes);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(out, 16);
  Put32(out, 1 | (static_cast<uint32_t>(channels) << 16));
  Put32(out, static_cast<uint32_t>(rate));
  Put32(out, static_cast<uint32_t>(rate) * block);
  Put32(out, block | (static_cast<uint32_t>(bits) << 16));
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  Put32(out, data_bytes);
  for (uint32_t i = 0; i < data_bytes; ++i) out.push_back(static_cast<uint8_t>(i * 3));
  return out;
}

// One way of damaging a file: its name and what the file holds instead.
struct Damage {
  std::string name;
  std::function<Bytes(const Bytes& original, uint32_t seed)> make;
};

std::vector<Damage> DamagesFor(FileKind kind) {
  std::vector<Damage> damages = {
      {"cut to 14 bytes", [](const Bytes& b, uint32_t) { return Cut(b, 14); }},
      {"cut in half", [](const Bytes& b, uint32_t) { return Cut(b, b.size() / 2); }},
      {"empty", [](const Bytes&, uint32_t) { return Bytes{}; }},
      {"random bytes", [](const Bytes& b, uint32_t seed) { return RandomBytes(b.size(), seed); }},
      {"random after the header",
       [](const Bytes& b, uint32_t seed) {
         Bytes out = Cut(b, 54);
         const Bytes tail = RandomBytes(b.size() > 54 ? b.size() - 54 : 0, seed);
         out.insert(out.end(), tail.begin(), tail.end());
         return out;
       }},
  };
  if (kind == FileKind::Picture) {
    damages.push_back({"a 37x23 picture", [](const Bytes&, uint32_t) { return Picture8(37, 23); }});
    damages.push_back({"a 24-bit picture", [](const Bytes& b, uint32_t) {
                         int width, height;
                         PictureSize(b, &width, &height);
                         return PictureOfDepth(width, height, 24);
                       }});
    damages.push_back({"a 4-bit picture", [](const Bytes& b, uint32_t) {
                         int width, height;
                         PictureSize(b, &width, &height);
                         return PictureOfDepth(width, height, 4);
                       }});
  } else {
    damages.push_back({"a picture instead", [](const Bytes&, uint32_t) { return Picture8(64, 48); }});
  }
  if (kind == FileKind::Sound) {
    damages.push_back({"16-bit stereo 22050 Hz", [](const Bytes&, uint32_t) { return Wave(22050, 2, 16, 3000); }});
    damages.push_back({"24-bit samples", [](const Bytes&, uint32_t) { return Wave(11025, 1, 24, 3000); }});
  }
  return damages;
}

TEST(DamagedAssets, EachFileDamagedInTurnLeavesAGameThatStillEndsOnEscape) {
  StartFreshMachine();
  const std::vector<std::string> files = GameDataFiles(VORK_ASSET_DIR);
  ASSERT_EQ(files.size(), 42u);
  const std::vector<Damage> damages[] = {DamagesFor(FileKind::Picture), DamagesFor(FileKind::Sound),
                                         DamagesFor(FileKind::Palette)};
  int n = 0;
  for (const std::string& file : files)
    for (const Damage& damage : damages[static_cast<int>(KindOf(file))]) {
      if (n++ % (FullHardeningRun() ? 1 : DEFAULT_STRIDE) != 0) continue;
      const std::string run = file + " " + damage.name;
      NameCurrentRun("damaged assets: " + run);
      StartFreshMachine();
      CopyGameFiles("game");
      WriteFileBytes("game/" + file, damage.make(ReadBytes("game/" + file), static_cast<uint32_t>(n)));
      const RunOutcome outcome = RunGameInFolder("game", RouteFor(file));
      EXPECT_EQ(outcome.end, RunEnd::Quit) << run << ": " << outcome.problem;
    }
}

}  // namespace
