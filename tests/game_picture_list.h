// The pictures the game loads, named exactly as it opens them, and how it cuts its sprite sheets:
// one list for every test that reads the generated pictures.
#pragma once

namespace game_pictures {

// The 640x480 pictures that become the backdrop.
inline constexpr const char* FULL_SCREEN[] = {
    "Intro1.BMP", "Inst.BMP", "Cr1.BMP", "dog.BMP", "cat.BMP", "owl.BMP", "frog.BMP",
    "scene1.BMP", "scene2.BMP", "scene3.BMP", "scene4.BMP", "treeCage.BMP", "treeCage2.BMP",
    "treeCage3.BMP", "GameOver.BMP", "winAnimals.BMP"};

// A sprite sheet as the game cuts it: cells framed by one-pixel borders, filled row by row.
struct Sheet {
  const char* name;
  int cell_width, cell_height, columns, rows, cells;
  bool shown_scaled;  // the game draws its cells at 58 x 30
};

// Every sheet the game cuts into sprites.
inline constexpr Sheet SHEETS[] = {
    {"Crunch.bmp", 640, 480, 1, 1, 1, false},  {"Tree8a.bmp", 264, 224, 1, 1, 1, true},
    {"stump.BMP", 160, 128, 1, 1, 1, true},    {"NewLetters.BMP", 116, 60, 2, 6, 11, true},
    {"bots9.BMP", 116, 60, 2, 1, 2, false},    {"dozer8.BMP", 116, 60, 2, 1, 2, true},
    {"bots8.BMP", 116, 60, 2, 8, 16, true},
};

}  // namespace game_pictures
