// The four scenes' data, the shared progress flags, the start-up globals and BoxesOverlap.
#include "gameplay/game_world.h"

#include <cstdlib>

namespace {

// A spot the scene does not use.
constexpr Spot NOWHERE = {0, 0};

}  // namespace

// Tile spots are listed by tile number: A, (unused), C, D, F, G, L, O, R, T, W.
const SceneSpec scene_table[4] = {
    {"dog.BMP", "scene1.BMP",
     3, {TILE_D, TILE_O, TILE_G}, 3, {TILE_A, TILE_F, TILE_T},
     6, {TILE_A, TILE_D, TILE_F, TILE_G, TILE_O, TILE_T},
     {{525, 25}, NOWHERE, NOWHERE, {330, 160}, {130, 50}, {240, 270}, NOWHERE, {450, 280}, NOWHERE, {560, 360},
      NOWHERE},
     5, {{250, 190}, {430, 195}, {560, 115}, {340, 275}, {150, 340}}},
    {"cat.BMP", "scene2.BMP",
     3, {TILE_C, TILE_A, TILE_T}, 4, {TILE_L, TILE_O, TILE_R, TILE_W},
     7, {TILE_L, TILE_C, TILE_A, TILE_O, TILE_R, TILE_T, TILE_W},
     {{100, 315}, NOWHERE, {340, 90}, NOWHERE, NOWHERE, NOWHERE, {430, 285}, {515, 155}, {255, 190}, {560, 30},
      {50, 25}},
     5, {{190, 110}, {170, 280}, {430, 115}, {495, 45}, {560, 335}}},
    {"owl.BMP", "scene3.BMP",
     3, {TILE_O, TILE_W, TILE_L}, 4, {TILE_A, TILE_C, TILE_D, TILE_T},
     7, {TILE_A, TILE_C, TILE_D, TILE_L, TILE_O, TILE_T, TILE_W},
     {{290, 270}, NOWHERE, {370, 35}, {90, 330}, NOWHERE, NOWHERE, {490, 325}, {585, 38}, NOWHERE, {135, 30},
      {150, 165}},
     6, {{75, 75}, {260, 150}, {375, 140}, {500, 85}, {430, 220}, {385, 235}}},
    {"frog.BMP", "scene4.BMP",
     4, {TILE_F, TILE_R, TILE_O, TILE_G}, 4, {TILE_A, TILE_D, TILE_L, TILE_W},
     8, {TILE_A, TILE_D, TILE_F, TILE_G, TILE_L, TILE_O, TILE_W, TILE_R},
     {{285, 65}, NOWHERE, NOWHERE, {550, 270}, {60, 20}, {575, 90}, {520, 40}, {95, 345}, {460, 115}, NOWHERE,
      {260, 240}},
     6, {{65, 85}, {255, 320}, {400, 120}, {455, 55}, {600, 155}, {475, 285}}},
};

uint8_t letter_found[MAX_WORD - 1];
uint8_t life_bot_present[SPARE_ROBOTS] = {1, 1, 1};

Sprite crunch_sprite;
Sprite tree_sprites[TREE_SLOTS];
Sprite stump_sprites[TREE_SLOTS];
Sprite letter_sprites[LETTER_TILES];
Sprite life_bot_sprites[SPARE_ROBOTS];
Sprite dozer_sprite;
Sprite robot_sprite;

int dozer_sound = -1;
int tune_sound = -1;
int animal_call_sounds[4] = {-1, -1, -1, -1};
int tree_sound = -1;
int animal_name_sounds[4] = {-1, -1, -1, -1};
int hooray_sound = -1;
int beep_sound = -1;
int banana_sound = -1;
int how_prompt_sound = -1;
int esc_prompt_sound = -1;
int enter_prompt_sound = -1;
int space_prompt_sound = -1;

int BoxesOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2) {
  const int half_w1 = (w1 >> 1) - (w1 >> 3);
  const int half_h1 = (h1 >> 1) - (h1 >> 3);
  const int half_w2 = (w2 >> 1) - (w2 >> 3);
  const int half_h2 = (h2 >> 1) - (h2 >> 3);
  const int dx = std::abs((x2 + half_w2) - (x1 + half_w1));
  const int dy = std::abs((y2 + half_h2) - (y1 + half_h1));
  return dx < half_w1 + half_w2 && dy < half_h1 + half_h2 ? 1 : 0;
}

bool ObjectsTouch(const Sprite& a, const Sprite& b) {
  return BoxesOverlap(static_cast<int>(a.x), static_cast<int>(a.y), OBJECT_W, OBJECT_H, static_cast<int>(b.x),
                      static_cast<int>(b.y), OBJECT_W, OBJECT_H) != 0;
}
