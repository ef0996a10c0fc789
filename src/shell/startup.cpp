// Start-up and shut-down: the display, every sprite cut from its sheet, the keyboard, every
// sound, and the clipper; released again in the order the game needs.
#include <cstdio>
#include <filesystem>
#include <string>

#include "display/display.h"
#include "display/frame.h"
#include "gameplay/game_world.h"
#include "input/keyboard.h"
#include "shell/game_shell.h"
#include "sound/sound_table.h"


namespace {

// Sprite creation values shared by every sprite of the game.
constexpr uint32_t SYSTEM_MEMORY = 2048;
constexpr int COLOR_KEY = 0;
constexpr int SPRITE_BITS = 8;
constexpr int CELL_MODE = 0;
// Flags: still and visible, sequences and visible, still and hidden.
constexpr int STILL_VISIBLE = 17;
constexpr int SEQUENCES_VISIBLE = 20;
constexpr int STILL_HIDDEN = 1;
// Buffer capabilities every sound is loaded with: frequency, pan and volume control.
constexpr uint32_t SOUND_CONTROLS = 224;

// Every file the game reads, to tell the user once which are missing.
constexpr const char* GAME_FILES[] = {
    "PALDATA3.PAL", "Intro1.BMP", "Crunch.bmp", "Tree8a.bmp", "stump.BMP", "NewLetters.BMP", "bots9.BMP",
    "dozer8.BMP", "bots8.BMP", "Inst.BMP", "Cr1.BMP", "dog.BMP", "cat.BMP", "owl.BMP", "frog.BMP",
    "scene1.BMP", "scene2.BMP", "scene3.BMP", "scene4.BMP", "treeCage.BMP", "treeCage2.BMP", "treeCage3.BMP",
    "GameOver.BMP", "winAnimals.BMP",
    "CONSTR. BULLDOZER - CAT D7_ STEEL TR.WAV", "Mana-mana.wav", "Dog 1.wav", "cat 1.wav", "owl 1.wav",
    "frog 1.wav", "TREE.wav", "dog.wav", "cat.wav", "owl.wav", "frog.wav", "Hooray.wav", "Beep2.wav",
    "Banana.wav", "How.wav", "esc.wav", "Enter.wav", "SpaceBar.wav"};

// A sound file and the global that keeps its id, in load order.
struct SoundFile {
  const char* name;
  int* id;
};

const SoundFile SOUND_FILES[] = {
    {"CONSTR. BULLDOZER - CAT D7_ STEEL TR.WAV", &dozer_sound},
    {"Mana-mana.wav", &tune_sound},
    {"Dog 1.wav", &animal_call_sounds[0]},
    {"cat 1.wav", &animal_call_sounds[1]},
    {"owl 1.wav", &animal_call_sounds[2]},
    {"frog 1.wav", &animal_call_sounds[3]},
    {"TREE.wav", &tree_sound},
    {"dog.wav", &animal_name_sounds[0]},
    {"cat.wav", &animal_name_sounds[1]},
    {"owl.wav", &animal_name_sounds[2]},
    {"frog.wav", &animal_name_sounds[3]},
    {"Hooray.wav", &hooray_sound},
    {"Beep2.wav", &beep_sound},
    {"Banana.wav", &banana_sound},
    {"How.wav", &how_prompt_sound},
    {"esc.wav", &esc_prompt_sound},
    {"Enter.wav", &enter_prompt_sound},
    {"SpaceBar.wav", &space_prompt_sound},
};

bool FileReadable(const char* name) {
  FILE* file = std::fopen(name, "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

std::string CurrentFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? std::string("the current folder") : folder.string();
}

// Pictures and sounds that cannot be read show blank and stay silent; the user hears why once.
void ReportMissingFiles() {
  std::string missing;
  for (const char* name : GAME_FILES)
    if (!FileReadable(name)) missing += std::string(missing.empty() ? "" : ", ") + "\"" + name + "\"";
  if (missing.empty()) return;
  std::fprintf(stderr, "vork: game files missing from %s: %s (blank pictures and silence in their place)\n",
               CurrentFolder().c_str(), missing.c_str());
}

void ReportNoDisplay() {
  const char* message = "vork: cannot open the 640x480 display with 256 colours; the game cannot run\n";
  std::fputs(message, stderr);
#ifdef _WIN32
  MessageBoxA(nullptr, message + 6, WINDOW_TITLE, MB_OK | MB_ICONERROR);
#endif
}

void CreateStillSprite(Sprite* sprite, int x, int y, int width, int height, int frames, int flags) {
  CreateSprite(sprite, x, y, width, height, frames, flags, SYSTEM_MEMORY, COLOR_KEY, SPRITE_BITS);
}

void DefineAnimation(Sprite* sprite, int animation, std::initializer_list<int> frames) {
  LoadSpriteAnimation(sprite, animation, static_cast<int>(frames.size()), frames.begin());
}

void LoadCrunch() {
  LoadBitmapFile(&work_bitmap, "Crunch.bmp");
  CreateStillSprite(&crunch_sprite, 0, 0, 640, 480, 1, STILL_VISIBLE);
  LoadSpriteFrame(&crunch_sprite, &work_bitmap, 0, 0, 0, CELL_MODE);
  UnloadBitmapFile(&work_bitmap);
}

// A sprite and the six clones that share its frames (the trees, the stumps).
void LoadClonedSprites(const char* file, Sprite* sprites, int width, int height, int flags) {
  LoadBitmapFile(&work_bitmap, file);
  CreateStillSprite(&sprites[0], 100, 400, width, height, 1, flags);
  LoadSpriteFrame(&sprites[0], &work_bitmap, 0, 0, 0, CELL_MODE);
  SetSpriteAnimSpeed(&sprites[0], 1);
  for (int i = 1; i < TREE_SLOTS; ++i) CloneSprite(&sprites[0], &sprites[i]);
  UnloadBitmapFile(&work_bitmap);
}

void LoadLetters() {
  LoadBitmapFile(&work_bitmap, "NewLetters.BMP");
  for (Sprite& letter : letter_sprites) CreateStillSprite(&letter, 100, 80, 116, 60, LETTER_TILES, STILL_VISIBLE);
  for (int k = 0; k < LETTER_TILES; ++k) LoadSpriteFrame(&letter_sprites[k], &work_bitmap, 0, k % 2, k / 2, CELL_MODE);
  UnloadBitmapFile(&work_bitmap);
}

void LoadSpareRobots() {
  LoadBitmapFile(&work_bitmap, "bots9.BMP");
  for (int i = 0; i < SPARE_ROBOTS; ++i)
    CreateStillSprite(&life_bot_sprites[i], SPARE_ROBOT_SPOTS[i].x, SPARE_ROBOT_SPOTS[i].y, 116, 60, 2,
                      SEQUENCES_VISIBLE);
  for (Sprite& spare : life_bot_sprites) LoadSpriteFrame(&spare, &work_bitmap, 0, 1, 0, CELL_MODE);
  for (Sprite& spare : life_bot_sprites) LoadSpriteFrame(&spare, &work_bitmap, 1, 0, 0, CELL_MODE);
  for (Sprite& spare : life_bot_sprites) {
    DefineAnimation(&spare, 0, {0});
    DefineAnimation(&spare, 1, {1});
  }
  UnloadBitmapFile(&work_bitmap);
}

void LoadDozer() {
  LoadBitmapFile(&work_bitmap, "dozer8.BMP");
  CreateStillSprite(&dozer_sprite, 320, 200, 116, 60, 2, SEQUENCES_VISIBLE);
  LoadSpriteFrame(&dozer_sprite, &work_bitmap, 0, 0, 0, CELL_MODE);
  LoadSpriteFrame(&dozer_sprite, &work_bitmap, 1, 1, 0, CELL_MODE);
  DefineAnimation(&dozer_sprite, 0, {0});
  DefineAnimation(&dozer_sprite, 1, {1});
  UnloadBitmapFile(&work_bitmap);
}

void LoadRobot() {
  LoadBitmapFile(&work_bitmap, "bots8.BMP");
  CreateStillSprite(&robot_sprite, 100, 80, 116, 60, 16, SEQUENCES_VISIBLE);
  SetSpriteAnimSpeed(&robot_sprite, 2);
  for (int f = 0; f < 16; ++f) LoadSpriteFrame(&robot_sprite, &work_bitmap, f, f % 2, f / 2, CELL_MODE);
  DefineAnimation(&robot_sprite, 0, {0, 1});
  DefineAnimation(&robot_sprite, 1, {8, 9});
  DefineAnimation(&robot_sprite, 2, {4, 5});
  DefineAnimation(&robot_sprite, 3, {12, 13});
  UnloadBitmapFile(&work_bitmap);
  SetSpriteAnimation(&robot_sprite, 0);
}

void LoadSounds() {
  SoundInit();
  for (const SoundFile& sound : SOUND_FILES) *sound.id = LoadWav(sound.name, SOUND_CONTROLS);
}

}  // namespace

int GameStartup() {
  ReportMissingFiles();
  if (!DisplayInit(640, 480, 8, 0)) {
    ReportNoDisplay();
    return 0;
  }
  LoadBackdrop("Intro1.BMP");
  LoadCrunch();
  LoadClonedSprites("Tree8a.bmp", tree_sprites, 264, 224, STILL_VISIBLE);
  LoadClonedSprites("stump.BMP", stump_sprites, 160, 128, STILL_HIDDEN);
  LoadLetters();
  LoadSpareRobots();
  LoadDozer();
  LoadRobot();
  InputInit();
  KeyboardInit();
  LoadSounds();
  const ClipRect screen_rect{0, 0, display.screen_width, display.screen_height};
  LPDIRECTDRAWCLIPPER replaced = display.back_clipper;  // the surface now holds the new one instead
  display.back_clipper = AttachClipper(display.back_surface, 1, &screen_rect);
  if (replaced) replaced->Release();
  ShowCursor(FALSE);
  return 1;
}

void DestroyGameSprites() {
  DestroySprite(&dozer_sprite);
  DestroySprite(&robot_sprite);
  for (Sprite& spare : life_bot_sprites) DestroySprite(&spare);
  for (int i = 0; i < TREE_SLOTS; ++i) {
    DestroySprite(&stump_sprites[i]);
    DestroySprite(&tree_sprites[i]);
  }
  for (Sprite& letter : letter_sprites) DestroySprite(&letter);
  DestroySprite(&crunch_sprite);
}

int GameShutdown() {
  DestroyGameSprites();
  DisplayShutdown();
  StopAllSounds();
  SoundShutdown();
  KeyboardShutdown();  // the device start-up acquired goes back before its DirectInput object
  InputShutdown();
  return 1;
}
