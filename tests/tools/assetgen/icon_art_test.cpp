// The desktop icon: the game's own robot face on a rounded, outlined tile, in every file written.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "asset_reader.h"
#include "characters_art.h"
#include "icon_art.h"

namespace {

// The pixel at (x, y) of an ARGB surface.
uint32_t At(cairo_surface_t* surface, int x, int y) {
  cairo_surface_flush(surface);
  const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
  return reinterpret_cast<const uint32_t*>(row)[x];
}

// The icon drawn on a size x size ARGB surface, for the caller to destroy.
cairo_surface_t* DrawnIcon(int size) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(surface);
  DrawIcon(cr, size);
  cairo_destroy(cr);
  return surface;
}

constexpr uint32_t Opaque(uint32_t rgb) { return 0xFF000000u | rgb; }

TEST(Icon, TheRobotsFaceOnARoundedTileOutlinedOverIt) {
  struct Point {
    int size, x, y;
    uint32_t argb;
  };
  const Point points[] = {
      {256, 0, 0, 0u}, {256, 255, 255, 0u}, {256, 30, 30, Opaque(ICON_TILE)},  // corners, tile above the head
      // The robot's view is 20 units wide from unit 5, with unit -1 at the top: 12.8 px a unit.
      // Pupils at units (11.4, 8.9) and (18.6, 8.9); the light blue head below the antenna.
      {256, 82, 127, Opaque(INK)}, {256, 174, 127, Opaque(INK)}, {256, 128, 77, Opaque(0xA8D0F5)},
      // At 320 px the tile is inset 10 px with corners of radius 64, outlined 8 px wide: the
      // outline covers 6..14 px from each edge, whole pixels, also over the robot's body.
      {320, 5, 160, 0u}, {320, 6, 160, Opaque(INK)}, {320, 13, 160, Opaque(INK)},
      {320, 14, 160, Opaque(ICON_TILE)}, {320, 313, 160, Opaque(INK)}, {320, 314, 160, 0u}, {320, 160, 314, 0u},
      // On the diagonal the rounded outline lies 60..68 px from the corner's centre (74, 74).
      {320, 28, 28, Opaque(INK)}, {320, 24, 24, 0u},
  };
  for (const Point& p : points) {
    cairo_surface_t* icon = DrawnIcon(p.size);
    EXPECT_EQ(At(icon, p.x, p.y), p.argb) << p.size << " px at " << p.x << ", " << p.y;
    cairo_surface_destroy(icon);
  }
}

// The tool writes the icons into the one existing folder it is given.
TEST(Icon, TheToolWritesThreePngSizesAndAnSvg) {
  const std::string dir = MakeScratchFolder();
  const std::string tool = "'" VORK_ICONS "'";
  ASSERT_EQ(WEXITSTATUS(std::system((tool + " " + dir).c_str())), 0);
  for (int size : ICON_SIZES) {
    const std::string path = dir + "/vork-" + std::to_string(size) + ".png";
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_image_surface_get_format(png), CAIRO_FORMAT_ARGB32) << path;
    EXPECT_EQ(cairo_image_surface_get_width(png), size);
    EXPECT_EQ(cairo_image_surface_get_height(png), size);
    EXPECT_EQ(At(png, size / 2, size / 2) >> 24, 0xFFu) << path << ": the robot's face, opaque";
    EXPECT_EQ(At(png, 0, 0), 0u) << path;
    cairo_surface_destroy(png);
  }
  const std::vector<uint8_t> svg = ReadBytes(dir + "/vork.svg");
  const std::string text(svg.begin(), svg.end());
  EXPECT_NE(text.find("width=\"256px\" height=\"256px\" viewBox=\"0 0 256 256\""), std::string::npos);
  EXPECT_NE(text.find("<path"), std::string::npos) << "the drawing itself";
  RemoveFolder(dir);
  for (const char* arguments : {"", " /nonexistent/vork-icons", " /dev/null", " /tmp /tmp"})
    EXPECT_EQ(WEXITSTATUS(std::system((tool + arguments + " 2>/dev/null").c_str())), 2) << arguments;
}

}  // namespace
