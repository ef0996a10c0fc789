#include "characters_art.h"

#include <cmath>

#include "canvas.h"

namespace {

// Local drawing units: the robot is drawn in a 30 x 30 square, the wide objects in 58 x 30,
// the animals in 100 x 100. One unit is one shown pixel for the sprites.
void EnterBox(cairo_t* cr, double x, double y, double w, double h, double units_w, double units_h) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, w / units_w, h / units_h);
}

void Line(cairo_t* cr, double x1, double y1, double x2, double y2, unsigned rgb, double width) {
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  SetColor(cr, rgb);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

// A filled ellipse outlined in ink (no outline when width is 0).
void Blob(cairo_t* cr, double cx, double cy, double rx, double ry, unsigned fill, double width) {
  cairo_new_path(cr);
  Ellipse(cr, cx, cy, rx, ry);
  FillAndStroke(cr, fill, INK, width);
}

void Disc(cairo_t* cr, double cx, double cy, double r, unsigned fill, unsigned line, double width) {
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  FillAndStroke(cr, fill, line, width);
}

// ---- robot ---------------------------------------------------------------------------

struct RobotColors {
  unsigned head, body, limb, light;
};

RobotColors ColorsFor(const RobotPose& pose) {
  if (pose.used_up) return {0xB4B4B8, 0x7C7C84, 0x5E5E66, 0x9A9AA0};
  return {0xA8D0F5, 0x2F74D8, 0x2A4A80, 0xFF4A5A};
}

void DrawRobotEyes(cairo_t* cr, const RobotPose& pose) {
  if (pose.facing == Facing::UP) {
    // Back of the head: a vent instead of a face.
    for (int i = 0; i < 3; ++i) Line(cr, 11, 7 + 1.6 * i, 19, 7 + 1.6 * i, INK, 0.7);
    return;
  }
  const double shift = pose.facing == Facing::RIGHT ? 1.6 : pose.facing == Facing::LEFT ? -1.6 : 0;
  const double eye_x[2] = {11.4 + shift, 18.6 + shift};
  for (double ex : eye_x) {
    if (pose.used_up) {
      Line(cr, ex - 1.6, 6.9, ex + 1.6, 10.1, INK, 0.9);
      Line(cr, ex - 1.6, 10.1, ex + 1.6, 6.9, INK, 0.9);
      continue;
    }
    Disc(cr, ex, 8.5, 2.6, WHITE, INK, 0.6);
    const double look = pose.facing == Facing::DOWN ? 0 : shift * 0.5;
    Disc(cr, ex + look, 8.9, 1.3, INK, INK, 0);
  }
}

void DrawRobotMouth(cairo_t* cr, const RobotPose& pose) {
  if (pose.facing == Facing::UP) return;
  const double shift = pose.facing == Facing::RIGHT ? 1.6 : pose.facing == Facing::LEFT ? -1.6 : 0;
  cairo_new_path(cr);
  if (pose.used_up) {
    cairo_move_to(cr, 12.5 + shift, 11.6);
    cairo_line_to(cr, 17.5 + shift, 11.6);
  } else {
    cairo_arc(cr, 15 + shift, 10.6, 2.2, 0.2 * M_PI, 0.8 * M_PI);
  }
  SetColor(cr, INK);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
}

void DrawRobotLimbs(cairo_t* cr, const RobotPose& pose, const RobotColors& colors) {
  // Arms swing opposite to the legs; cheering lifts both.
  const int step = pose.used_up ? 2 : pose.step;
  const double swing = step == 0 ? 2.2 : step == 1 ? -2.2 : 0;
  if (pose.cheering) {
    Line(cr, 7, 16, 2.5, 10, colors.limb, 1.8);
    Line(cr, 23, 16, 27.5, 10, colors.limb, 1.8);
    Disc(cr, 2.5, 9.5, 1.5, colors.light, INK, 0.5);
    Disc(cr, 27.5, 9.5, 1.5, colors.light, INK, 0.5);
  } else {
    Line(cr, 7, 16, 3.5, 21 + swing * 0.5, colors.limb, 1.8);
    Line(cr, 23, 16, 26.5, 21 - swing * 0.5, colors.limb, 1.8);
  }
  // Legs: one lifted while the other carries.
  const bool side = pose.facing == Facing::RIGHT || pose.facing == Facing::LEFT;
  const double spread = side && step != 2 ? (step == 0 ? 2.0 : -2.0) : 0;
  const double lift_left = step == 0 ? 1.6 : 0, lift_right = step == 1 ? 1.6 : 0;
  Line(cr, 11.5 - spread, 24, 11.5 - spread, 27.2 - lift_left, colors.limb, 2.2);
  Line(cr, 18.5 + spread, 24, 18.5 + spread, 27.2 - lift_right, colors.limb, 2.2);
  cairo_new_path(cr);
  RoundedRect(cr, 8.5 - spread, 26.6 - lift_left, 6, 2.6, 1.1);
  FillAndStroke(cr, colors.limb, INK, 0.5);
  cairo_new_path(cr);
  RoundedRect(cr, 15.5 + spread, 26.6 - lift_right, 6, 2.6, 1.1);
  FillAndStroke(cr, colors.limb, INK, 0.5);
}

// ---- animals -------------------------------------------------------------------------

void DrawFaceEyes(cairo_t* cr, double lx, double rx, double y, double r, Mood mood, unsigned iris) {
  const double xs[2] = {lx, rx};
  for (double ex : xs) {
    if (mood == Mood::CHEERING) {
      // Happy closed eyes: upward arcs.
      cairo_new_path(cr);
      cairo_arc(cr, ex, y + r * 0.4, r * 0.9, 1.15 * M_PI, 1.85 * M_PI);
      SetColor(cr, INK);
      cairo_set_line_width(cr, r * 0.45);
      cairo_stroke(cr);
      continue;
    }
    Disc(cr, ex, y, r, WHITE, INK, r * 0.18);
    Disc(cr, ex, y + r * 0.15, r * 0.62, iris, INK, 0);
    Disc(cr, ex, y + r * 0.15, r * 0.34, INK, INK, 0);
    Disc(cr, ex - r * 0.25, y - r * 0.15, r * 0.18, WHITE, WHITE, 0);
    if (mood == Mood::SAD) {
      // Brows tilted up towards the middle.
      const double inner = ex < (lx + rx) / 2 ? r * 0.9 : -r * 0.9;
      Line(cr, ex - inner, y - r * 1.35, ex + inner * 0.2, y - r * 1.8, INK, r * 0.3);
    }
  }
}

void DrawMouth(cairo_t* cr, double cx, double y, double w, Mood mood) {
  cairo_new_path(cr);
  if (mood == Mood::SAD) {
    cairo_arc(cr, cx, y + w * 0.55, w * 0.5, 1.2 * M_PI, 1.8 * M_PI);
    SetColor(cr, INK);
    cairo_set_line_width(cr, w * 0.12);
    cairo_stroke(cr);
  } else if (mood == Mood::CHEERING) {
    cairo_arc(cr, cx, y - w * 0.1, w * 0.5, 0, M_PI);
    cairo_close_path(cr);
    FillAndStroke(cr, 0xC8324A, INK, w * 0.1);
    Ellipse(cr, cx, y + w * 0.25, w * 0.22, w * 0.12);
    FillAndStroke(cr, 0xFF8FA0, INK, 0);
  } else {
    cairo_arc(cr, cx, y - w * 0.2, w * 0.5, 0.15 * M_PI, 0.85 * M_PI);
    SetColor(cr, INK);
    cairo_set_line_width(cr, w * 0.12);
    cairo_stroke(cr);
  }
}

// Raised paws for cheering, or paws resting in front.
void DrawPaws(cairo_t* cr, double cx, double y, double spread, double r, unsigned fill, Mood mood) {
  if (mood == Mood::CHEERING) {
    Line(cr, cx - spread * 0.6, y + 8, cx - spread * 1.25, y - 30, fill, r * 1.5);
    Line(cr, cx + spread * 0.6, y + 8, cx + spread * 1.25, y - 30, fill, r * 1.5);
    Disc(cr, cx - spread * 1.25, y - 32, r, fill, INK, 1.2);
    Disc(cr, cx + spread * 1.25, y - 32, r, fill, INK, 1.2);
  } else {
    Blob(cr, cx - spread * 0.45, y + 24, r, r * 0.7, fill, 1.2);
    Blob(cr, cx + spread * 0.45, y + 24, r, r * 0.7, fill, 1.2);
  }
}

void DrawDog(cairo_t* cr, Mood mood) {
  const unsigned fur = 0xC98A4B, dark = 0x7A4A22, light = 0xF3E2C4;
  // Body sitting, then head.
  Blob(cr, 50, 72, 24, 22, fur, 1.6);
  Blob(cr, 50, 76, 13, 15, light, 0);
  DrawPaws(cr, 50, 66, 26, 6.5, fur, mood);
  // Floppy ears behind the head.
  Blob(cr, 27, 38, 9, 17, dark, 1.6);
  Blob(cr, 73, 38, 9, 17, dark, 1.6);
  Blob(cr, 50, 36, 23, 21, fur, 1.6);
  Blob(cr, 60, 30, 7, 6, dark, 0);  // a patch over one eye
  Blob(cr, 50, 46, 13, 10, light, 1.2);  // muzzle
  DrawFaceEyes(cr, 41, 59, 31, 4.8, mood, 0x5A3212);
  Blob(cr, 50, 41.5, 4.5, 3.2, INK, 0);  // nose
  DrawMouth(cr, 50, 49, 10, mood);
  if (mood == Mood::HAPPY) {
    cairo_new_path(cr);
    RoundedRect(cr, 47, 49, 6, 7, 3);  // tongue
    FillAndStroke(cr, 0xF06A80, INK, 1);
  }
}

void DrawCat(cairo_t* cr, Mood mood) {
  const unsigned fur = 0xF39A3C, stripe = 0xC8641C, light = 0xFFF0DC;
  Blob(cr, 50, 73, 22, 21, fur, 1.6);
  // Tail curling up at the side.
  cairo_new_path(cr);
  cairo_move_to(cr, 70, 84);
  cairo_curve_to(cr, 92, 84, 92, 58, 84, 52);
  SetColor(cr, INK);
  cairo_set_line_width(cr, 8.5);
  cairo_stroke_preserve(cr);
  SetColor(cr, fur);
  cairo_set_line_width(cr, 6);
  cairo_stroke(cr);
  Blob(cr, 50, 77, 12, 13, light, 0);
  DrawPaws(cr, 50, 66, 24, 6, fur, mood);
  // Pointed ears.
  for (int side = -1; side <= 1; side += 2) {
    cairo_new_path(cr);
    cairo_move_to(cr, 50 + side * 8, 20);
    cairo_line_to(cr, 50 + side * 21, 6);
    cairo_line_to(cr, 50 + side * 22, 28);
    cairo_close_path(cr);
    FillAndStroke(cr, fur, INK, 1.6);
    cairo_new_path(cr);
    cairo_move_to(cr, 50 + side * 12, 20);
    cairo_line_to(cr, 50 + side * 19, 11);
    cairo_line_to(cr, 50 + side * 19.5, 24);
    cairo_close_path(cr);
    FillAndStroke(cr, 0xF7B6C2, INK, 0);
  }
  Blob(cr, 50, 37, 22, 19, fur, 1.6);
  for (int i = -1; i <= 1; ++i) Line(cr, 50 + i * 6, 19, 50 + i * 5, 26, stripe, 2.2);
  DrawFaceEyes(cr, 41, 59, 34, 4.8, mood, 0x4CB04C);
  cairo_new_path(cr);
  cairo_move_to(cr, 46.5, 41.5);
  cairo_line_to(cr, 53.5, 41.5);
  cairo_line_to(cr, 50, 45);
  cairo_close_path(cr);
  FillAndStroke(cr, 0xF27A9A, INK, 0.8);
  for (int side = -1; side <= 1; side += 2) {  // whiskers
    Line(cr, 50 + side * 9, 45, 50 + side * 24, 42, INK, 0.9);
    Line(cr, 50 + side * 9, 47, 50 + side * 24, 49, INK, 0.9);
  }
  DrawMouth(cr, 50, 49, 8, mood);
}

void DrawOwl(cairo_t* cr, Mood mood) {
  const unsigned feather = 0x8C6239, dark = 0x5C3D1E, belly = 0xE8D2A8;
  // Wings: raised when cheering.
  for (int side = -1; side <= 1; side += 2) {
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, 50 + side * 24, mood == Mood::CHEERING ? 38 : 60);
    cairo_rotate(cr, side * (mood == Mood::CHEERING ? -0.9 : 0.25));
    Ellipse(cr, 0, 0, 9, 22);
    cairo_restore(cr);
    FillAndStroke(cr, dark, INK, 1.6);
  }
  Blob(cr, 50, 56, 27, 38, feather, 1.6);
  Blob(cr, 50, 68, 17, 22, belly, 0);
  for (int row = 0; row < 3; ++row) {  // belly feathers
    for (int i = -1; i <= 1; ++i) {
      cairo_new_path(cr);
      cairo_arc(cr, 50 + i * 8 + (row % 2) * 4 - 2, 60 + row * 8, 3, 0.1 * M_PI, 0.9 * M_PI);
      SetColor(cr, 0xB08A5A);
      cairo_set_line_width(cr, 1.4);
      cairo_stroke(cr);
    }
  }
  for (int side = -1; side <= 1; side += 2) {  // ear tufts
    cairo_new_path(cr);
    cairo_move_to(cr, 50 + side * 12, 22);
    cairo_line_to(cr, 50 + side * 24, 8);
    cairo_line_to(cr, 50 + side * 25, 26);
    cairo_close_path(cr);
    FillAndStroke(cr, feather, INK, 1.6);
    Blob(cr, 50 + side * 11, 35, 11, 11, 0xF5DFA0, 1.2);  // eye disc
  }
  DrawFaceEyes(cr, 39, 61, 35, 7, mood, 0xF2B705);
  cairo_new_path(cr);
  cairo_move_to(cr, 45.5, 43);
  cairo_line_to(cr, 54.5, 43);
  cairo_line_to(cr, 50, 52);
  cairo_close_path(cr);
  FillAndStroke(cr, 0xF08C1E, INK, 1);
  for (int side = -1; side <= 1; side += 2) {  // feet
    Disc(cr, 50 + side * 9, 93, 3.5, 0xF08C1E, INK, 1);
  }
  if (mood == Mood::SAD) DrawMouth(cr, 50, 56, 6, mood);
}

void DrawFrog(cairo_t* cr, Mood mood) {
  const unsigned skin = 0x5DBB46, dark = 0x3C8A2E, belly = 0xC9EBA0;
  // Legs folded at the sides.
  for (int side = -1; side <= 1; side += 2) {
    Blob(cr, 50 + side * 26, 80, 14, 10, dark, 1.6);
  }
  Blob(cr, 50, 70, 27, 23, skin, 1.6);
  Blob(cr, 50, 76, 16, 14, belly, 0);
  DrawPaws(cr, 50, 64, 28, 6, skin, mood);
  // Wide head with eyes on top.
  Blob(cr, 50, 44, 30, 17, skin, 1.6);
  for (int side = -1; side <= 1; side += 2) {
    Disc(cr, 50 + side * 15, 30, 11, skin, INK, 1.6);
  }
  // Re-fill the head so the eye bumps join it without a seam line.
  Blob(cr, 50, 44, 28.5, 15.5, skin, 0);
  DrawFaceEyes(cr, 35, 65, 29, 7, mood, 0x2C2C2C);
  for (int side = -1; side <= 1; side += 2) {  // pink cheeks
    Blob(cr, 50 + side * 20, 48, 4.5, 3, 0xF59AAE, 0);
  }
  cairo_new_path(cr);
  if (mood == Mood::SAD) {
    cairo_arc(cr, 50, 56, 10, 1.2 * M_PI, 1.8 * M_PI);
  } else {
    cairo_arc(cr, 50, 40, 15, 0.2 * M_PI, 0.8 * M_PI);  // the big frog smile
  }
  SetColor(cr, INK);
  cairo_set_line_width(cr, 1.8);
  cairo_stroke(cr);
  if (mood == Mood::CHEERING) {
    cairo_new_path(cr);
    cairo_arc(cr, 50, 49, 8, 0, M_PI);
    cairo_close_path(cr);
    FillAndStroke(cr, 0xC8324A, INK, 1.2);
  }
}

// One branch: a bending brown stroke with a dark edge and a few leaves.
void DrawBranch(cairo_t* cr, double x1, double y1, double x2, double y2, double bend, double width) {
  const double mx = (x1 + x2) / 2 + bend, my = (y1 + y2) / 2 - bend * 0.3;
  cairo_new_path(cr);
  cairo_move_to(cr, x1, y1);
  cairo_curve_to(cr, mx, my, mx, my, x2, y2);
  SetColor(cr, 0x3E2510);
  cairo_set_line_width(cr, width * 1.35);
  cairo_stroke_preserve(cr);
  SetColor(cr, 0x8A5A2E);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
  // Leaves near the ends only, where they hide nothing.
  for (int k = 0; k < 2; ++k) {
    const double t = k == 0 ? 0.12 : 0.88;
    const double lx = (1 - t) * (1 - t) * x1 + 2 * t * (1 - t) * mx + t * t * x2;
    const double ly = (1 - t) * (1 - t) * y1 + 2 * t * (1 - t) * my + t * t * y2;
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, lx + width * 0.9, ly);
    cairo_rotate(cr, k == 0 ? 0.7 : -0.7);
    Ellipse(cr, 0, 0, width * 1.1, width * 0.55);
    cairo_restore(cr);
    FillAndStroke(cr, 0x4FA83C, 0x2A6A22, width * 0.15);
  }
}

}  // namespace

const char* AnimalName(Animal animal) {
  switch (animal) {
    case Animal::DOG: return "DOG";
    case Animal::CAT: return "CAT";
    case Animal::OWL: return "OWL";
    case Animal::FROG: return "FROG";
  }
  return "";
}

unsigned TileColor(char letter) {
  // Bright, clearly different colours, so neighbouring tiles never look alike.
  switch (letter) {
    case 'A': return 0xE8412C;
    case 'B': return 0x9A5CD0;
    case 'C': return 0xF08A1C;
    case 'D': return 0x2C8FE0;
    case 'F': return 0x2FA84F;
    case 'G': return 0xD43D8C;
    case 'L': return 0x6C4AD8;
    case 'O': return 0xE0A800;
    case 'R': return 0x10A0A0;
    case 'T': return 0xC0392B;
    case 'W': return 0x3A5FCD;
    default: return 0x777777;
  }
}

void DrawRobot(cairo_t* cr, double x, double y, double size, const RobotPose& pose) {
  EnterBox(cr, x, y, size, size, 30, 30);
  const RobotColors colors = ColorsFor(pose);
  Line(cr, 15, 4.5, 15, 2.2, INK, 0.9);  // antenna
  Disc(cr, 15, 1.9, 1.6, colors.light, INK, 0.5);
  DrawRobotLimbs(cr, pose, colors);
  cairo_new_path(cr);
  RoundedRect(cr, 6.5, 13.5, 17, 11, 2.2);  // body
  FillAndStroke(cr, colors.body, INK, 0.9);
  if (pose.facing == Facing::UP) {
    cairo_new_path(cr);
    RoundedRect(cr, 10, 15.5, 10, 7, 1.2);  // back panel
    FillAndStroke(cr, colors.limb, INK, 0.5);
  } else {
    Disc(cr, 15, 18.8, 2.4, colors.light, INK, 0.5);  // chest light
  }
  cairo_new_path(cr);
  RoundedRect(cr, 6.5, 4.2, 17, 9.6, 2.6);  // head
  FillAndStroke(cr, colors.head, INK, 0.9);
  DrawRobotEyes(cr, pose);
  DrawRobotMouth(cr, pose);
  cairo_restore(cr);
}

void DrawBulldozer(cairo_t* cr, double x, double y, double w, double h, bool facing_right) {
  EnterBox(cr, x, y, w, h, 58, 30);
  if (!facing_right) {
    // Mirror about the middle of the drawing (x 5..51), so both frames cover the same place.
    cairo_translate(cr, 56, 0);
    cairo_scale(cr, -1, 1);
  }
  const unsigned yellow = 0xF4B400, steel = 0x9AA3AD;
  Disc(cr, 17.5, 1.8, 1.5, 0xFF8A1A, INK, 0.5);  // warning light on the cab
  Line(cr, 31, 11, 31, 4, INK, 2.2);  // exhaust pipe
  Disc(cr, 32, 2.6, 1.7, 0xD0D0D0, 0x8A8A8A, 0.5);
  cairo_new_path(cr);
  RoundedRect(cr, 10, 3, 15, 11, 1.5);  // cab
  FillAndStroke(cr, yellow, INK, 1);
  cairo_new_path(cr);
  RoundedRect(cr, 12.5, 5, 10, 6.5, 1);
  FillAndStroke(cr, 0x9FD8F0, INK, 0.6);
  cairo_new_path(cr);
  RoundedRect(cr, 7, 12, 32, 9.5, 1.5);  // engine body
  FillAndStroke(cr, yellow, INK, 1);
  Line(cr, 28, 14.5, 36, 14.5, 0xB07C00, 0.8);  // grille
  Line(cr, 28, 17, 36, 17, 0xB07C00, 0.8);
  Line(cr, 36, 15, 45, 17, INK, 2.6);  // push arm
  Line(cr, 36, 15, 45, 17, 0xB07C00, 1.2);
  cairo_new_path(cr);  // the blade: a tall curved steel plate
  cairo_move_to(cr, 44, 7.5);
  cairo_line_to(cr, 50, 7.5);
  cairo_curve_to(cr, 53, 13, 53, 23, 50.5, 29);
  cairo_line_to(cr, 43.5, 29);
  cairo_curve_to(cr, 46.5, 23, 46.5, 13, 44, 7.5);
  cairo_close_path(cr);
  FillAndStroke(cr, steel, INK, 1);
  Line(cr, 49.5, 10, 51, 24, 0xD8DEE4, 0.9);  // shine on the steel
  cairo_new_path(cr);
  RoundedRect(cr, 5, 20.5, 36, 8.5, 4.2);  // track
  FillAndStroke(cr, 0x3A3A40, INK, 1);
  for (int i = 0; i < 4; ++i) Disc(cr, 10 + i * 8.7, 24.75, 2.4, 0x8A8A92, INK, 0.5);
  cairo_restore(cr);
}

void DrawTree(cairo_t* cr, double x, double y, double w, double h) {
  EnterBox(cr, x, y, w, h, 58, 30);
  cairo_new_path(cr);
  cairo_move_to(cr, 24, 29.5);
  cairo_line_to(cr, 26, 17);
  cairo_line_to(cr, 31, 17);
  cairo_line_to(cr, 33, 29.5);
  cairo_close_path(cr);
  FillAndStroke(cr, 0x8A5A2E, INK, 0.9);
  const double blobs[][3] = {{17, 15, 8.5}, {40, 15, 8.5}, {23, 9, 8.5}, {34, 8.5, 8.5}, {28.5, 16, 9}};
  // A dark rim first, then the leaves, so the crown reads as one shape.
  for (const auto& b : blobs) Disc(cr, b[0], b[1], b[2] + 0.9, 0x1E5A24, INK, 0);
  for (const auto& b : blobs) Disc(cr, b[0], b[1], b[2], 0x3F9A3A, INK, 0);
  const double lights[][3] = {{20, 7.5, 3.5}, {31, 5.5, 3.2}, {15, 13, 2.6}};
  for (const auto& l : lights) Disc(cr, l[0], l[1], l[2], 0x7CCB5A, INK, 0);
  const double apples[][2] = {{22, 15}, {37, 11}, {30, 19}, {43, 18}};
  for (const auto& a : apples) Disc(cr, a[0], a[1], 1.4, 0xE02828, 0x8A1010, 0.4);
  cairo_restore(cr);
}

void DrawStump(cairo_t* cr, double x, double y, double w, double h) {
  EnterBox(cr, x, y, w, h, 58, 30);
  const double chips[][3] = {{13, 25, 0.4}, {43, 26, -0.5}, {17, 28, 1.1}, {39, 22, 0.2}, {47, 23, 0.9}};
  for (const auto& c : chips) {  // wood chips scattered by the blade
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, c[0], c[1]);
    cairo_rotate(cr, c[2]);
    RoundedRect(cr, -2.2, -0.9, 4.4, 1.8, 0.6);
    cairo_restore(cr);
    FillAndStroke(cr, 0xE0B070, 0x8A5A2E, 0.4);
  }
  cairo_new_path(cr);  // roots
  cairo_move_to(cr, 17, 27);
  cairo_line_to(cr, 21, 21);
  cairo_line_to(cr, 35, 21);
  cairo_line_to(cr, 39, 27);
  cairo_close_path(cr);
  FillAndStroke(cr, 0x7A4A22, INK, 0.8);
  cairo_new_path(cr);
  cairo_move_to(cr, 20, 12);
  cairo_line_to(cr, 20, 24);
  cairo_curve_to(cr, 24, 26, 32, 26, 36, 24);
  cairo_line_to(cr, 36, 12);
  cairo_close_path(cr);
  FillAndStroke(cr, 0x8A5A2E, INK, 0.9);
  Line(cr, 24, 15, 24, 23, 0x6A4020, 0.6);  // bark lines
  Line(cr, 31, 15, 31, 23, 0x6A4020, 0.6);
  Blob(cr, 28, 12, 8, 3.6, 0xE8C088, 0.9);  // the cut face with its rings
  cairo_new_path(cr);
  Ellipse(cr, 28, 12, 4.8, 2.1);
  SetColor(cr, 0xB8884C);
  cairo_set_line_width(cr, 0.6);
  cairo_stroke(cr);
  Disc(cr, 28, 12, 1, 0xB8884C, INK, 0);
  cairo_restore(cr);
}

void DrawLetterTile(cairo_t* cr, double x, double y, double w, double h, char letter) {
  EnterBox(cr, x, y, w, h, 28, 30);
  cairo_new_path(cr);
  RoundedRect(cr, 0.5, 0.5, 27, 29, 4.5);
  FillAndStroke(cr, TileColor(letter), INK, 1);
  cairo_new_path(cr);
  RoundedRect(cr, 2.5, 2.2, 23, 4, 2);  // shine along the top
  SetColorAlpha(cr, WHITE, 0.35);
  cairo_fill(cr);
  const char text[2] = {letter, 0};
  DrawText(cr, text, 14, 23.2, 22, FontStyle::SANS_BOLD, TextAlign::CENTER, WHITE, INK, 1.6);
  cairo_restore(cr);
}

void DrawAnimal(cairo_t* cr, Animal animal, double cx, double cy, double size, Mood mood) {
  EnterBox(cr, cx - size / 2, cy - size / 2, size, size, 100, 100);
  switch (animal) {
    case Animal::DOG: DrawDog(cr, mood); break;
    case Animal::CAT: DrawCat(cr, mood); break;
    case Animal::OWL: DrawOwl(cr, mood); break;
    case Animal::FROG: DrawFrog(cr, mood); break;
  }
  cairo_restore(cr);
}

void DrawBranchCage(cairo_t* cr, double x, double y, double w, double h, double grown, int bars) {
  const double thickness = w / (bars * 5.5);
  // Uprights grow from the ground; cross branches weave in once the cage is half grown,
  // high and low, so the faces behind stay in view between the bars.
  for (int i = 0; i < bars; ++i) {
    const double bx = x + w * (i + 0.5) / bars;
    DrawBranch(cr, bx, y + h, bx + 3, y + h - h * grown, w * 0.012, thickness);
  }
  if (grown >= 0.5) DrawBranch(cr, x, y + h * 0.8, x + w, y + h * 0.8 + 5, -h * 0.03, thickness * 0.9);
  if (grown >= 0.99) DrawBranch(cr, x, y + h * 0.1, x + w, y + h * 0.1 - 4, h * 0.03, thickness * 0.9);
}
