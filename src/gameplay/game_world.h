// The game world: the sprites and sounds made at start-up, the four scenes' constant data, the
// progress flags the scene code shares, and the one collision test.
#pragma once

#include <cstdint>

#include "image/sprite.h"

// Size every scene object is drawn at and tested with.
constexpr int OBJECT_W = 58;
constexpr int OBJECT_H = 30;
// The robot's step per frame on each axis.
constexpr double PLAY_STEP = 1.2;
// The bulldozer's step per frame on each axis.
constexpr double DOZER_STEP = 0.5;

// Number of tree (and stump) slots, letter tiles and spare robots.
constexpr int TREE_SLOTS = 7;
constexpr int LETTER_TILES = 11;
constexpr int SPARE_ROBOTS = 3;
// Longest word (FROG) and most wrong tiles or tiles in one scene.
constexpr int MAX_WORD = 4;
constexpr int MAX_WRONG = 4;
constexpr int MAX_SCENE_TILES = 8;
constexpr int MAX_SCENE_TREES = 6;

// Tile numbers: the cell of "NewLetters.BMP" each letter is in (tile 1 is used by no scene).
enum LetterTile : int { TILE_A = 0, TILE_C = 2, TILE_D = 3, TILE_F = 4, TILE_G = 5, TILE_L = 6,
                        TILE_O = 7, TILE_R = 8, TILE_T = 9, TILE_W = 10 };

// A point on the screen, in whole pixels.
struct Spot {
  int x;
  int y;
};

// Fixed spots of the play field.
constexpr Spot ROBOT_START = {100, 120};     // the robot, at each scene start and after a mishap
constexpr Spot DOZER_START = {320, 200};     // the bulldozer at each scene start
constexpr Spot DOZER_RESTART = {480, 200};   // the bulldozer after a mishap
constexpr Spot TREE_PARKING = {800, 600};    // where a felled tree goes, off the screen
constexpr Spot WRONG_TILE_PARKING = {200, 430};  // where a touched wrong tile is hidden
constexpr int WORD_ROW_X = 200;              // x of a word's first letter in the word row
constexpr int WORD_ROW_STEP = 30;            // x distance between the word row's letters
constexpr int WORD_ROW_Y = 430;              // y of the word row
constexpr Spot SPARE_ROBOT_SPOTS[SPARE_ROBOTS] = {{420, 420}, {480, 420}, {540, 420}};

// One scene's constant data.
struct SceneSpec {
  const char* setup_picture;         // the animal's picture, shown by the scene's intro
  const char* play_picture;          // the play field's picture
  int word_length;                   // 3, or 4 for the frog
  int word[MAX_WORD];                // the word's tiles in spelling order
  int wrong_count;                   // how many wrong tiles the scene has
  int wrong[MAX_WRONG];              // the wrong tiles in the order they are tested
  int tile_count;                    // how many tiles the scene uses
  int draw_order[MAX_SCENE_TILES];   // the scene's tiles in the order they are drawn
  Spot tile_spots[LETTER_TILES];     // where each tile the scene uses stands (by tile number)
  int tree_count;                    // tree slots used: 0 .. tree_count - 1
  Spot tree_spots[MAX_SCENE_TREES];  // where each used tree slot (and its stump) stands
};

// The four scenes: dog, cat, owl, frog (element n - 1 is scene n).
extern const SceneSpec scene_table[4];

// 1 when two boxes (top-left corner and size each) overlap after each is shrunk about a point
// near its top-left corner; 0 otherwise.
int BoxesOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);
// BoxesOverlap of two sprites at their positions (truncated toward zero), both 58 x 30.
bool ObjectsTouch(const Sprite& a, const Sprite& b);

// Progress of the current scene and game.
extern uint8_t letter_found[MAX_WORD - 1];       // letter j placed (j = 1..3; the last ends the scene)
extern uint8_t life_bot_present[SPARE_ROBOTS];   // spare robot i is still there

// Pictures and sprites made at start-up.
extern Sprite crunch_sprite;                     // full-screen picture of a catch
extern Sprite tree_sprites[TREE_SLOTS];          // trees; 1..6 are clones of 0
extern Sprite stump_sprites[TREE_SLOTS];         // stumps of felled trees; 1..6 are clones of 0
extern Sprite letter_sprites[LETTER_TILES];      // the letter tiles
extern Sprite life_bot_sprites[SPARE_ROBOTS];    // the spare robots at the foot of the screen
extern Sprite dozer_sprite;                      // the bulldozer
extern Sprite robot_sprite;                      // the player's robot

// Sound ids from the sound table; -1 until loaded, and after a failed load.
extern int dozer_sound;                          // engine noise, looped during play
extern int tune_sound;                           // the tune, looped during play
extern int animal_call_sounds[4];                // each scene intro's animal call
extern int tree_sound;                           // the crash of a catch
extern int animal_name_sounds[4];                // "dog", "cat", "owl", "frog"
extern int hooray_sound;                         // the cheer
extern int beep_sound;                           // a wrong letter
extern int banana_sound;                         // the credits
extern int how_prompt_sound;                     // the spoken instructions
extern int esc_prompt_sound;                     // "press Escape to quit"
extern int enter_prompt_sound;                   // "press Enter for instructions"
extern int space_prompt_sound;                   // "press Space to play"
