#include "scenes_art.h"

#include <cmath>
#include <string>

#include "canvas.h"
#include "characters_art.h"

namespace {

// Colours of a play field. The ground is kept calm: every detail is close to the base.
struct GroundTheme {
  unsigned base;    // the ground
  unsigned tuft;    // grass tufts, a little darker
  unsigned patch;   // soft lighter patches
  unsigned detail;  // flowers, stones, leaves or puddles
};

const GroundTheme THEMES[4] = {
    {0x9CCB6E, 0x8ABD5E, 0xA8D47C, 0xE8E6A0},  // dog: spring meadow
    {0xB4CC78, 0xA2BE68, 0xC0D486, 0xC9C2A2},  // cat: sunny garden with stepping stones
    {0x86AE78, 0x769F6A, 0x92B884, 0xB59A62},  // owl: forest floor with fallen leaves
    {0x8CC29C, 0x7CB48C, 0x98CAA6, 0x86BCCB},  // frog: marsh with puddles
};

const Animal SCENE_ANIMALS[4] = {Animal::DOG, Animal::CAT, Animal::OWL, Animal::FROG};

void DrawTuft(cairo_t* cr, double x, double y, unsigned color) {
  for (int k = -1; k <= 1; ++k) {
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + k * 3, y - 6 + std::abs(k) * 2);
  }
  SetColor(cr, color);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
}

void DrawDetail(cairo_t* cr, int scene, double x, double y, unsigned color, ArtRandom& random) {
  cairo_new_path(cr);
  switch (scene) {
    case 1:  // tiny flowers
      for (int p = 0; p < 5; ++p) {
        const double a = p * 2 * M_PI / 5;
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + 2.2 * std::cos(a), y + 2.2 * std::sin(a), 1.6, 0, 2 * M_PI);
      }
      SetColor(cr, color);
      cairo_fill(cr);
      break;
    case 2:  // flat stepping stones
      Ellipse(cr, x, y, 11 + 4 * NextRandom(random), 6);
      SetColor(cr, color);
      cairo_fill(cr);
      break;
    case 3:  // fallen leaves
      cairo_save(cr);
      cairo_translate(cr, x, y);
      cairo_rotate(cr, NextRandom(random) * M_PI);
      Ellipse(cr, 0, 0, 4.5, 2.2);
      cairo_restore(cr);
      SetColor(cr, color);
      cairo_fill(cr);
      break;
    default:  // puddles
      Ellipse(cr, x, y, 16 + 8 * NextRandom(random), 6 + 2 * NextRandom(random));
      SetColor(cr, color);
      cairo_fill(cr);
      break;
  }
}

// The bottom band: a wooden board with the animal, one slot per letter and the robots' shelf.
void DrawWordBoard(cairo_t* cr, int scene) {
  const int height = 480 - BOTTOM_BAND_Y;
  cairo_rectangle(cr, 0, BOTTOM_BAND_Y, 640, height);
  SetColor(cr, 0xB5834F);
  cairo_fill(cr);
  for (int k = 0; k < 3; ++k) {  // plank joints and grain
    cairo_rectangle(cr, 0, BOTTOM_BAND_Y + 20 * k + 19, 640, 1);
    SetColor(cr, 0xA47442);
    cairo_fill(cr);
  }
  cairo_rectangle(cr, 0, BOTTOM_BAND_Y, 640, 3);
  SetColor(cr, 0x6E4726);
  cairo_fill(cr);
  DrawText(cr, "VORK!", 18, 459, 24, FontStyle::SANS_BOLD, TextAlign::LEFT, 0xF6E7C4, 0x6E4726, 3);

  const Animal animal = SCENE_ANIMALS[scene - 1];
  cairo_new_path(cr);
  cairo_arc(cr, 158, 451, 27, 0, 2 * M_PI);
  FillAndStroke(cr, 0xF5E8C8, 0x6E4726, 2);
  DrawAnimal(cr, animal, 158, 452, 50, Mood::HAPPY);

  const int letters = static_cast<int>(std::string(AnimalName(animal)).size());
  for (int j = 0; j < letters; ++j) {
    cairo_new_path(cr);
    RoundedRect(cr, WORD_ROW_X + WORD_ROW_STEP * j + 0.5, WORD_ROW_Y + 0.5, 27, 29, 4.5);
    SetColor(cr, 0x8E6338);
    cairo_fill_preserve(cr);
    const double dash[] = {3, 2};
    cairo_set_dash(cr, dash, 2, 0);
    SetColor(cr, 0xF5E8C8);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
  }
  cairo_new_path(cr);  // the shelf the spare robots stand on
  RoundedRect(cr, 414, BOTTOM_BAND_Y + 4, 188, height - 7, 6);
  SetColor(cr, 0x9A6B3C);
  cairo_fill(cr);
}

NamedPicture DrawScene(int scene) {
  Canvas canvas = OpenCanvas(640, 480);
  DrawSceneGround(canvas.cr, scene, 640, BOTTOM_BAND_Y);
  DrawWordBoard(canvas.cr, scene);
  return {"scene" + std::to_string(scene) + ".BMP", PictureKind::BACKDROP, CloseCanvas(canvas)};
}

}  // namespace

void DrawSceneGround(cairo_t* cr, int scene, int width, int height) {
  const GroundTheme& theme = THEMES[scene - 1];
  ArtRandom random;
  random.state += static_cast<uint32_t>(scene) * 7919u;
  cairo_rectangle(cr, 0, 0, width, height);
  SetColor(cr, theme.base);
  cairo_fill(cr);
  for (int i = 0; i < 14; ++i) {  // soft patches
    cairo_new_path(cr);
    Ellipse(cr, NextRandom(random) * width, NextRandom(random) * height, 40 + 50 * NextRandom(random),
            20 + 25 * NextRandom(random));
    SetColorAlpha(cr, theme.patch, 0.6);
    cairo_fill(cr);
  }
  const int details = scene == 2 ? 10 : scene == 4 ? 7 : 40;
  for (int i = 0; i < details; ++i) {
    DrawDetail(cr, scene, NextRandom(random) * width, 8 + NextRandom(random) * (height - 16), theme.detail, random);
  }
  for (int i = 0; i < 160; ++i) {
    DrawTuft(cr, NextRandom(random) * width, 6 + NextRandom(random) * (height - 6), theme.tuft);
  }
}

std::vector<NamedPicture> DrawScenes() {
  std::vector<NamedPicture> scenes;
  for (int scene = 1; scene <= 4; ++scene) scenes.push_back(DrawScene(scene));
  return scenes;
}
