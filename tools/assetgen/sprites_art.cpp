#include "sprites_art.h"

#include <cmath>
#include <functional>

#include "canvas.h"
#include "characters_art.h"

namespace {

// The letters of NewLetters.BMP, tile k in cell (k mod 2, k div 2).
const char TILE_LETTERS[] = {'A', 'B', 'C', 'D', 'F', 'G', 'L', 'O', 'R', 'T', 'W'};

using ShownDrawing = std::function<void(cairo_t*)>;

// Draws at the size the game shows, makes it keyed, and enlarges it to the cell.
RgbaImage ShownCell(const SheetLayout& layout, const ShownDrawing& draw) {
  Canvas canvas = OpenCanvas(SHOWN_WIDTH, SHOWN_HEIGHT);
  draw(canvas.cr);
  return EnlargeToCell(ThresholdAlpha(CloseCanvas(canvas)), layout.cell_width, layout.cell_height);
}

// Draws directly at cell size, for the sprites the game shows unscaled.
RgbaImage NativeCell(const SheetLayout& layout, const ShownDrawing& draw) {
  Canvas canvas = OpenCanvas(layout.cell_width, layout.cell_height);
  draw(canvas.cr);
  return ThresholdAlpha(CloseCanvas(canvas));
}

// The comic burst shown over the scene when the bulldozer catches the robot.
void DrawCrunchBurst(cairo_t* cr) {
  const int points = 18;
  // Uneven spikes, from a fixed table so the burst is the same on every build.
  const double jitter[] = {1.0, 0.82, 1.1, 0.9, 0.97, 1.12, 0.85, 1.05, 0.92,
                           1.08, 0.88, 1.0, 1.13, 0.86, 0.95, 1.1, 0.9, 1.02};
  for (int layer = 0; layer < 2; ++layer) {
    const double outer = layer == 0 ? 228 : 172, inner = layer == 0 ? 150 : 110;
    cairo_new_path(cr);
    for (int i = 0; i < points * 2; ++i) {
      const double angle = M_PI * i / points - M_PI / 2;
      const double r = (i % 2 == 0 ? outer * jitter[i / 2] : inner);
      const double px = 320 + 1.2 * r * std::cos(angle), py = 235 + 0.9 * r * std::sin(angle);
      if (i == 0) cairo_move_to(cr, px, py); else cairo_line_to(cr, px, py);
    }
    cairo_close_path(cr);
    FillAndStroke(cr, layer == 0 ? 0xFFD21F : 0xFF7A1A, layer == 0 ? 0xD8281C : 0xD8281C, layer == 0 ? 9 : 5);
  }
  // Splinters flying off.
  const double sticks[][3] = {{120, 90, 0.6}, {530, 110, -0.5}, {90, 380, -0.8}, {560, 370, 0.9}, {320, 40, 0.1}};
  for (const auto& s : sticks) DrawStick(cr, s[0], s[1], s[2], 52, 12, 4, 0x9A6030, INK, 3);
  cairo_save(cr);
  cairo_translate(cr, 320, 270);
  cairo_rotate(cr, -0.08);
  DrawText(cr, "CRUNCH!", 0, 0, 104, FontStyle::SANS_BOLD, TextAlign::CENTER, WHITE, INK, 12);
  cairo_restore(cr);
}

RgbaImage CrunchSheet(const SheetDescription& sheet) {
  return AssembleSheet(sheet.layout, {NativeCell(sheet.layout, DrawCrunchBurst)});
}

RgbaImage TreeSheet(const SheetDescription& sheet) {
  return AssembleSheet(sheet.layout, {ShownCell(sheet.layout, [](cairo_t* cr) { DrawTree(cr, 0, 0, 58, 30); })});
}

RgbaImage StumpSheet(const SheetDescription& sheet) {
  return AssembleSheet(sheet.layout, {ShownCell(sheet.layout, [](cairo_t* cr) { DrawStump(cr, 0, 0, 58, 30); })});
}

RgbaImage LettersSheet(const SheetDescription& sheet) {
  std::vector<RgbaImage> cells;
  for (char letter : TILE_LETTERS) {
    // Only the left 28 shown pixels: word letters stand 30 pixels apart in the word row.
    cells.push_back(ShownCell(sheet.layout, [letter](cairo_t* cr) { DrawLetterTile(cr, 0, 0, 28, 30, letter); }));
  }
  return AssembleSheet(sheet.layout, cells);
}

RgbaImage SpareRobotSheet(const SheetDescription& sheet) {
  // Shown at full cell size, 60 pixels apart: each robot keeps to the left 60 columns.
  std::vector<RgbaImage> cells;
  for (bool used_up : {false, true}) {
    RobotPose pose;
    pose.step = 2;
    pose.used_up = used_up;
    cells.push_back(NativeCell(sheet.layout, [pose](cairo_t* cr) { DrawRobot(cr, 0, 0, 60, pose); }));
  }
  return AssembleSheet(sheet.layout, cells);
}

RgbaImage DozerSheet(const SheetDescription& sheet) {
  std::vector<RgbaImage> cells;
  for (bool right : {true, false}) {
    cells.push_back(ShownCell(sheet.layout, [right](cairo_t* cr) { DrawBulldozer(cr, 0, 0, 58, 30, right); }));
  }
  return AssembleSheet(sheet.layout, cells);
}

RgbaImage RobotSheet(const SheetDescription& sheet) {
  // Frames come in fours per direction (right, up, left, down): two walking steps, then
  // standing still and standing with arms up.
  const Facing directions[] = {Facing::RIGHT, Facing::UP, Facing::LEFT, Facing::DOWN};
  std::vector<RgbaImage> cells;
  for (int frame = 0; frame < 16; ++frame) {
    RobotPose pose;
    pose.facing = directions[frame / 4];
    pose.step = frame % 4 < 2 ? frame % 4 : 2;
    pose.cheering = frame % 4 == 3;
    // Placed left of centre: the game's collision box starts at the top-left corner.
    cells.push_back(ShownCell(sheet.layout, [pose](cairo_t* cr) { DrawRobot(cr, 7, 0, 30, pose); }));
  }
  return AssembleSheet(sheet.layout, cells);
}

}  // namespace

const std::vector<SheetDescription>& SpriteSheets() {
  static const std::vector<SheetDescription> sheets = {
      {"Crunch.bmp", {640, 480, 1, 1}, 1, false, CrunchSheet},
      {"Tree8a.bmp", {264, 224, 1, 1}, 1, true, TreeSheet},
      {"stump.BMP", {160, 128, 1, 1}, 1, true, StumpSheet},
      {"NewLetters.BMP", {116, 60, 2, 6}, 11, true, LettersSheet},
      {"bots9.BMP", {116, 60, 2, 1}, 2, false, SpareRobotSheet},
      {"dozer8.BMP", {116, 60, 2, 1}, 2, true, DozerSheet},
      {"bots8.BMP", {116, 60, 2, 8}, 16, true, RobotSheet},
  };
  return sheets;
}

std::vector<NamedPicture> DrawSpriteSheets() {
  std::vector<NamedPicture> pictures;
  for (const SheetDescription& sheet : SpriteSheets()) {
    pictures.push_back({sheet.file_name, PictureKind::SPRITE_SHEET, sheet.draw(sheet)});
  }
  return pictures;
}
