#include "screens_art.h"

#include <cmath>
#include <string>

#include "canvas.h"
#include "characters_art.h"
#include "scenes_art.h"

namespace {

const Animal ANIMALS[4] = {Animal::DOG, Animal::CAT, Animal::OWL, Animal::FROG};

// Sky from top_rgb to bottom_rgb over the top `horizon` pixels, green hills below.
void DrawSkyAndHills(cairo_t* cr, unsigned top_rgb, unsigned bottom_rgb, double horizon, unsigned hill_rgb) {
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, horizon);
  cairo_pattern_add_color_stop_rgb(sky, 0, ((top_rgb >> 16) & 255) / 255.0, ((top_rgb >> 8) & 255) / 255.0,
                                   (top_rgb & 255) / 255.0);
  cairo_pattern_add_color_stop_rgb(sky, 1, ((bottom_rgb >> 16) & 255) / 255.0,
                                   ((bottom_rgb >> 8) & 255) / 255.0, (bottom_rgb & 255) / 255.0);
  cairo_rectangle(cr, 0, 0, 640, 480);
  cairo_set_source(cr, sky);
  cairo_fill(cr);
  cairo_pattern_destroy(sky);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, horizon);
  cairo_curve_to(cr, 160, horizon - 50, 300, horizon + 10, 420, horizon - 30);
  cairo_curve_to(cr, 520, horizon - 55, 600, horizon - 20, 640, horizon - 35);
  cairo_line_to(cr, 640, 480);
  cairo_line_to(cr, 0, 480);
  cairo_close_path(cr);
  FillAndStroke(cr, hill_rgb, 0x3C7A30, 3);
}

void DrawSun(cairo_t* cr, double cx, double cy, double r, bool smiling) {
  for (int i = 0; i < 12; ++i) {
    const double a = i * M_PI / 6;
    cairo_move_to(cr, cx + (r + 8) * std::cos(a), cy + (r + 8) * std::sin(a));
    cairo_line_to(cr, cx + (r + 22) * std::cos(a), cy + (r + 22) * std::sin(a));
  }
  SetColor(cr, 0xFFC21A);
  cairo_set_line_width(cr, 6);
  cairo_stroke(cr);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  FillAndStroke(cr, 0xFFD93A, 0xF0A000, 3);
  if (!smiling) return;
  cairo_new_path(cr);
  cairo_arc(cr, cx - r * 0.35, cy - r * 0.2, r * 0.1, 0, 2 * M_PI);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx + r * 0.35, cy - r * 0.2, r * 0.1, 0, 2 * M_PI);
  SetColor(cr, INK);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy + r * 0.05, r * 0.45, 0.2 * M_PI, 0.8 * M_PI);
  cairo_set_line_width(cr, r * 0.1);
  cairo_stroke(cr);
}

// A big title word with a drop shadow and a thick outline.
void DrawTitle(cairo_t* cr, const char* text, double cx, double baseline, double size, unsigned fill) {
  DrawText(cr, text, cx + size * 0.05, baseline + size * 0.05, size, FontStyle::SANS_BOLD, TextAlign::CENTER,
           0x1C1824, INK, size * 0.12);
  DrawText(cr, text, cx, baseline, size, FontStyle::SANS_BOLD, TextAlign::CENTER, fill, INK, size * 0.12);
}

// A dark band along the bottom with small text for the parent.
void DrawKeyHints(cairo_t* cr, const char* text) {
  cairo_rectangle(cr, 0, 446, 640, 34);
  SetColorAlpha(cr, 0x1C1824, 0.72);
  cairo_fill(cr);
  DrawText(cr, text, 320, 469, 16, FontStyle::SANS_BOLD, TextAlign::CENTER, WHITE);
}

// A word spelled in letter tiles, centred on cx, tiles `size` tall.
void DrawTileWord(cairo_t* cr, const char* word, double cx, double top, double size) {
  const double tile_w = size * 28 / 30, gap = size * 0.15;
  const int n = static_cast<int>(std::string(word).size());
  const double left = cx - (n * tile_w + (n - 1) * gap) / 2;
  for (int i = 0; i < n; ++i) DrawLetterTile(cr, left + i * (tile_w + gap), top, tile_w, size, word[i]);
}

// A key cap with an arrow pointing at `angle` (0: right), for the how-to-play picture.
void DrawArrowKey(cairo_t* cr, double x, double y, double size, double angle) {
  cairo_new_path(cr);
  RoundedRect(cr, x, y + size * 0.08, size, size, size * 0.15);
  SetColor(cr, 0x8E8E9A);
  cairo_fill(cr);
  cairo_new_path(cr);
  RoundedRect(cr, x, y, size, size * 0.92, size * 0.15);
  FillAndStroke(cr, 0xF2F2F6, INK, 2.5);
  cairo_save(cr);
  cairo_translate(cr, x + size / 2, y + size * 0.46);
  cairo_rotate(cr, angle);
  cairo_new_path(cr);
  cairo_move_to(cr, size * 0.3, 0);
  cairo_line_to(cr, 0, -size * 0.26);
  cairo_line_to(cr, 0, -size * 0.1);
  cairo_line_to(cr, -size * 0.28, -size * 0.1);
  cairo_line_to(cr, -size * 0.28, size * 0.1);
  cairo_line_to(cr, 0, size * 0.1);
  cairo_line_to(cr, 0, size * 0.26);
  cairo_close_path(cr);
  cairo_restore(cr);
  SetColor(cr, 0x2F74D8);
  cairo_fill(cr);
}

void DrawPanel(cairo_t* cr, double x, double y, double w, double h) {
  cairo_new_path(cr);
  RoundedRect(cr, x, y, w, h, 16);
  SetColorAlpha(cr, WHITE, 0.78);
  cairo_fill_preserve(cr);
  SetColor(cr, 0x3C7A30);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
}

NamedPicture Finish(const char* name, Canvas& canvas) {
  return {name, PictureKind::BACKDROP, CloseCanvas(canvas)};
}

NamedPicture DrawTitleScreen() {
  Canvas canvas = OpenCanvas(640, 480);
  cairo_t* cr = canvas.cr;
  DrawSkyAndHills(cr, 0x5AB4F0, 0xCDEBFA, 300, 0x7CC45A);
  DrawSun(cr, 598, 42, 24, true);
  DrawTitle(cr, "VORK!", 320, 132, 120, 0xFFD21F);
  RobotPose pose;
  pose.step = 2;
  pose.cheering = true;
  DrawRobot(cr, 245, 150, 150, pose);
  const double xs[4] = {85, 195, 445, 555};
  for (int i = 0; i < 4; ++i) DrawAnimal(cr, ANIMALS[i], xs[i], 360, 120, Mood::HAPPY);
  DrawKeyHints(cr, "Space: play     Enter: how to play     C: credits     Esc: quit");
  return Finish("Intro1.BMP", canvas);
}

NamedPicture DrawHowToPlay() {
  Canvas canvas = OpenCanvas(640, 480);
  cairo_t* cr = canvas.cr;
  DrawSceneGround(cr, 1, 640, 480);
  DrawTitle(cr, "How to play", 320, 56, 46, 0xFFD21F);
  // 1: the arrow keys move the robot.
  DrawPanel(cr, 20, 76, 290, 170);
  const double k = 52, kx = 40, ky = 96;
  DrawArrowKey(cr, kx + k + 4, ky, k, -M_PI / 2);
  DrawArrowKey(cr, kx, ky + k + 8, k, M_PI);
  DrawArrowKey(cr, kx + k + 4, ky + k + 8, k, M_PI / 2);
  DrawArrowKey(cr, kx + 2 * k + 8, ky + k + 8, k, 0);
  RobotPose walking;
  walking.facing = Facing::RIGHT;
  DrawRobot(cr, 210, 110, 90, walking);
  DrawText(cr, "Arrow keys move the robot", 165, 236, 15, FontStyle::SANS_BOLD, TextAlign::CENTER, INK);
  // 2: keep away from the bulldozer.
  DrawPanel(cr, 330, 76, 290, 170);
  DrawBulldozer(cr, 345, 110, 150, 78, true);
  RobotPose running;
  running.facing = Facing::RIGHT;
  DrawRobot(cr, 510, 100, 96, running);
  cairo_new_path(cr);
  cairo_arc(cr, 420, 150, 62, 0, 2 * M_PI);
  cairo_move_to(cr, 420 - 44, 150 - 44);
  cairo_line_to(cr, 420 + 44, 150 + 44);
  SetColor(cr, 0xE0281C);
  cairo_set_line_width(cr, 8);
  cairo_stroke(cr);
  DrawText(cr, "Keep away from the bulldozer", 475, 236, 15, FontStyle::SANS_BOLD, TextAlign::CENTER, INK);
  // 3: touch the letters of the animal's name in order.
  DrawPanel(cr, 20, 262, 600, 176);
  DrawAnimal(cr, Animal::DOG, 110, 345, 130, Mood::HAPPY);
  const char word[] = "DOG";
  for (int i = 0; i < 3; ++i) {
    const double x = 220 + i * 130;
    DrawLetterTile(cr, x, 290, 70, 75, word[i]);
    const std::string number = std::to_string(i + 1);
    cairo_new_path(cr);
    cairo_arc(cr, x + 35, 392, 17, 0, 2 * M_PI);
    FillAndStroke(cr, 0xFFD21F, INK, 2.5);
    DrawText(cr, number.c_str(), x + 35, 400, 22, FontStyle::SANS_BOLD, TextAlign::CENTER, INK);
    if (i < 2) {  // arrow to the next letter
      cairo_new_path(cr);
      cairo_move_to(cr, x + 80, 328);
      cairo_line_to(cr, x + 116, 328);
      cairo_move_to(cr, x + 106, 318);
      cairo_line_to(cr, x + 118, 328);
      cairo_line_to(cr, x + 106, 338);
      SetColor(cr, INK);
      cairo_set_line_width(cr, 5);
      cairo_stroke(cr);
    }
  }
  DrawText(cr, "Touch the letters of the animal's name, in order", 390, 430, 15, FontStyle::SANS_BOLD,
           TextAlign::CENTER, INK);
  DrawKeyHints(cr, "Space: play     Enter: hear it again     Esc: quit");
  return Finish("Inst.BMP", canvas);
}

NamedPicture DrawCredits() {
  Canvas canvas = OpenCanvas(640, 480);
  cairo_t* cr = canvas.cr;
  DrawSkyAndHills(cr, 0x7A5CC8, 0xF0B8E0, 380, 0x7CC45A);
  DrawTitle(cr, "VORK!", 320, 84, 80, 0xFFD21F);
  DrawPanel(cr, 110, 100, 420, 246);
  DrawText(cr, "Made by the VORK! team", 320, 136, 22, FontStyle::SANS_BOLD, TextAlign::CENTER, INK);
  const char* lines[] = {
      "Pictures drawn with cairo",
      "Colours chosen by libimagequant",
      "Voice by Festival (HTS voice slt)",
      "Letters in the DejaVu fonts",
      "Sounds resampled by libsoxr",
  };
  for (int i = 0; i < 5; ++i) {
    DrawText(cr, lines[i], 320, 172 + 26 * i, 17, FontStyle::SANS, TextAlign::CENTER, INK);
  }
  DrawText(cr, "Thank you for playing!", 320, 326, 20, FontStyle::SANS_BOLD, TextAlign::CENTER, 0x2F74D8);
  const double xs[4] = {70, 170, 470, 570};
  for (int i = 0; i < 4; ++i) DrawAnimal(cr, ANIMALS[i], xs[i], 395, 92, Mood::HAPPY);
  RobotPose pose;
  pose.step = 2;
  pose.cheering = true;
  DrawRobot(cr, 275, 345, 95, pose);
  DrawKeyHints(cr, "Space: play again     Esc: quit");
  return Finish("Cr1.BMP", canvas);
}

// An animal's intro: the animal shut in a cage of branches, its name in tiles above.
NamedPicture DrawAnimalIntro(int scene) {
  Canvas canvas = OpenCanvas(640, 480);
  cairo_t* cr = canvas.cr;
  DrawSceneGround(cr, scene, 640, 480);
  const Animal animal = ANIMALS[scene - 1];
  DrawTileWord(cr, AnimalName(animal), 320, 18, 86);
  DrawAnimal(cr, animal, 320, 300, 250, Mood::SAD);
  // Bars clear of the eyes: the frog's eyes sit wider apart than the others'.
  DrawBranchCage(cr, 160, 140, 320, 320, 1.0, animal == Animal::FROG ? 5 : 4);
  static const char* const names[4] = {"dog.BMP", "cat.BMP", "owl.BMP", "frog.BMP"};
  return Finish(names[scene - 1], canvas);
}

// One picture of the wrong-letter sequence: branches grow over the animals, stage 1..3.
NamedPicture DrawCageStage(int stage) {
  Canvas canvas = OpenCanvas(640, 480);
  cairo_t* cr = canvas.cr;
  DrawSkyAndHills(cr, 0x8FA8C0, 0xDCE4EA, 250, 0x86AE78);
  const double xs[4] = {170, 270, 370, 470};
  for (int i = 0; i < 4; ++i) DrawAnimal(cr, ANIMALS[i], xs[i], 330, 110, Mood::SAD);
  DrawBranchCage(cr, 70, 200, 500, 250, stage / 3.0, 5);  // bars between the animals
  if (stage == 3) {
    // Shut: a padlock and the word the parent can read out.
    cairo_new_path(cr);
    cairo_arc(cr, 320, 252, 18, M_PI, 2 * M_PI);
    SetColor(cr, 0x6A6A72);
    cairo_set_line_width(cr, 7);
    cairo_stroke(cr);
    cairo_new_path(cr);
    RoundedRect(cr, 296, 250, 48, 38, 6);
    FillAndStroke(cr, 0xF2B705, INK, 3);
    DrawTitle(cr, "Oops!", 320, 130, 90, 0xFF7A1A);
  } else {
    DrawTitle(cr, stage == 1 ? "Oh no..." : "Oh no... no!", 320, 120, 60, 0xFFD21F);
  }
  static const char* const names[3] = {"treeCage.BMP", "treeCage2.BMP", "treeCage3.BMP"};
  return Finish(names[stage - 1], canvas);
}

NamedPicture DrawGameOver() {
  Canvas canvas = OpenCanvas(640, 480);
  cairo_t* cr = canvas.cr;
  DrawSkyAndHills(cr, 0x3A2E6E, 0xF09A5A, 300, 0x5E8A4E);
  DrawTitle(cr, "GAME OVER", 320, 110, 78, 0xFF7A1A);
  DrawBulldozer(cr, 300, 220, 280, 145, false);
  RobotPose pose;
  pose.used_up = true;
  DrawRobot(cr, 60, 200, 190, pose);
  DrawKeyHints(cr, "Space: play again     Esc: quit");
  return Finish("GameOver.BMP", canvas);
}

NamedPicture DrawWin() {
  Canvas canvas = OpenCanvas(640, 480);
  cairo_t* cr = canvas.cr;
  DrawSkyAndHills(cr, 0x4AAEF0, 0xD8F0FC, 290, 0x7CC45A);
  DrawSun(cr, 58, 58, 30, true);
  ArtRandom random;
  const unsigned confetti[] = {0xE8412C, 0xF2B705, 0x2C8FE0, 0xD43D8C, 0x2FA84F, 0x9A5CD0};
  for (int i = 0; i < 90; ++i) {
    cairo_save(cr);
    cairo_translate(cr, NextRandom(random) * 640, NextRandom(random) * 300);
    cairo_rotate(cr, NextRandom(random) * M_PI);
    cairo_rectangle(cr, -5, -2.5, 10, 5);
    cairo_restore(cr);
    SetColor(cr, confetti[i % 6]);
    cairo_fill(cr);
  }
  DrawTitle(cr, "HOORAY!", 370, 108, 92, 0xFFD21F);
  const double xs[4] = {90, 215, 425, 550};
  for (int i = 0; i < 4; ++i) DrawAnimal(cr, ANIMALS[i], xs[i], 330, 150, Mood::CHEERING);
  RobotPose pose;
  pose.step = 2;
  pose.cheering = true;
  DrawRobot(cr, 262, 250, 116, pose);
  // Broken branches of the cages lie on the grass.
  const double sticks[][3] = {{60, 440, 0.2}, {250, 455, -0.1}, {480, 445, 0.15}, {600, 460, -0.3}};
  for (const auto& s : sticks) DrawStick(cr, s[0], s[1], s[2], 80, 10, 5, 0x8A5A2E, 0x3E2510, 2);
  return Finish("winAnimals.BMP", canvas);
}

}  // namespace

std::vector<NamedPicture> DrawScreens() {
  std::vector<NamedPicture> screens;
  screens.push_back(DrawTitleScreen());
  screens.push_back(DrawHowToPlay());
  screens.push_back(DrawCredits());
  for (int scene = 1; scene <= 4; ++scene) screens.push_back(DrawAnimalIntro(scene));
  for (int stage = 1; stage <= 3; ++stage) screens.push_back(DrawCageStage(stage));
  screens.push_back(DrawGameOver());
  screens.push_back(DrawWin());
  return screens;
}
