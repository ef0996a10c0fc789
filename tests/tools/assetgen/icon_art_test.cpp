// The desktop icon: the game's own robot face on the tile, the same in every file written.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "asset_reader.h"
#include "characters_art.h"
#include "icon_art.h"

namespace {

// A size x size ARGB surface with something drawn on it; destroys itself.
struct Drawn {
  cairo_surface_t* surface;
  explicit Drawn(int size) : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size)) {}
  ~Drawn() { cairo_surface_destroy(surface); }
  uint32_t At(int x, int y) const {
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const uint32_t*>(row)[x];
  }
};

Drawn* DrawnIcon(int size) {
  Drawn* drawn = new Drawn(size);
  cairo_t* cr = cairo_create(drawn->surface);
  DrawIcon(cr, size);
  cairo_destroy(cr);
  return drawn;
}

// The file as text with cairo's surface numbers blanked: cairo counts surfaces per process, so
// a second SVG written by the same process names its group differently.
std::string WithoutSurfaceIds(const std::vector<uint8_t>& bytes) {
  return std::regex_replace(std::string(bytes.begin(), bytes.end()), std::regex("id=\"surface[0-9]+\""),
                            "id=\"surface\"");
}

constexpr uint32_t Opaque(uint32_t rgb) { return 0xFF000000u | rgb; }

TEST(Icon, TheTileHasRoundedTransparentCornersAndTheRobotsFace) {
  std::unique_ptr<Drawn> icon(DrawnIcon(256));
  EXPECT_EQ(icon->At(0, 0), 0u) << "corner outside the rounded tile";
  EXPECT_EQ(icon->At(255, 255), 0u);
  EXPECT_EQ(icon->At(30, 30), Opaque(ICON_TILE)) << "tile above the robot's head";
  // The robot's view is 20 units wide from unit 5, with unit -1 at the top: 12.8 px a unit.
  // Pupils at units (11.4, 8.9) and (18.6, 8.9); the head between the antenna and the eyes.
  EXPECT_EQ(icon->At(82, 127), Opaque(INK)) << "left pupil";
  EXPECT_EQ(icon->At(174, 127), Opaque(INK)) << "right pupil";
  EXPECT_EQ(icon->At(128, 77), Opaque(0xA8D0F5)) << "the robot's light blue head";
}

TEST(Icon, TheTileOutlineIsInsetAndRoundedAndDrawnOverTheRobot) {
  // At 320 px the tile is inset 10 px with corners of radius 64, outlined 8 px wide: the
  // outline covers 6..14 px from each edge, whole pixels.
  std::unique_ptr<Drawn> icon(DrawnIcon(320));
  const uint32_t across[][2] = {{5, 0u}, {6, Opaque(INK)}, {13, Opaque(INK)}, {14, Opaque(ICON_TILE)},
                                {305, Opaque(ICON_TILE)}, {306, Opaque(INK)}, {313, Opaque(INK)}, {314, 0u}};
  for (const auto& [x, colour] : across) EXPECT_EQ(icon->At(static_cast<int>(x), 160), colour) << x;
  // The robot's body runs off the bottom of the tile; the outline is drawn over it.
  EXPECT_EQ(icon->At(160, 307), Opaque(INK));
  EXPECT_EQ(icon->At(160, 314), 0u);
  // Rounded corners: on the diagonal the outline lies 60..68 px from the corner's centre (74, 74).
  EXPECT_EQ(icon->At(28, 28), Opaque(INK));
  EXPECT_EQ(icon->At(24, 24), 0u);
}

// The tool writes the icons into the one existing folder it is given, the same on every run.
TEST(Icon, TheToolWritesThreePngSizesAndAnSvgTheSameOnEveryRun) {
  const std::string dir = MakeScratchFolder();
  const std::string tool = "'" VORK_ICONS "'";
  ASSERT_EQ(WEXITSTATUS(std::system((tool + " " + dir).c_str())), 0);
  const std::vector<std::string> names = {"vork-48.png", "vork-128.png", "vork-256.png", "vork.svg"};
  std::vector<std::vector<uint8_t>> first;
  for (const std::string& name : names) first.push_back(ReadBytes(dir + "/" + name));
  ASSERT_TRUE(WriteIcons(dir));
  for (size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(WithoutSurfaceIds(ReadBytes(dir + "/" + names[i])), WithoutSurfaceIds(first[i])) << names[i];
  for (int size : ICON_SIZES) {
    const std::string path = dir + "/vork-" + std::to_string(size) + ".png";
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS) << path;
    EXPECT_EQ(cairo_image_surface_get_width(png), size);
    EXPECT_EQ(cairo_image_surface_get_height(png), size);
    std::unique_ptr<Drawn> icon(DrawnIcon(size));
    Drawn read(size);
    cairo_t* cr = cairo_create(read.surface);
    cairo_set_source_surface(cr, png, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(png);
    EXPECT_EQ(read.At(size / 2, size / 2), icon->At(size / 2, size / 2)) << path;
    EXPECT_EQ(read.At(0, 0), 0u) << path;
  }
  const std::string text(first[3].begin(), first[3].end());
  EXPECT_EQ(text.rfind("<?xml", 0), 0u);
  EXPECT_NE(text.find("width=\"256px\" height=\"256px\" viewBox=\"0 0 256 256\""), std::string::npos);
  // The drawing itself: the tile's yellow and the robot's light blue head, as cairo writes them.
  EXPECT_NE(text.find("rgb(100%,78.431373%,23.921569%)"), std::string::npos) << "tile colour";
  EXPECT_NE(text.find("rgb(65.882353%,81.568627%,96.078431%)"), std::string::npos) << "head colour";
  RemoveFolder(dir);
  for (const char* arguments : {"", " /nonexistent/vork-icons", " /dev/null", " /tmp /tmp"})
    EXPECT_EQ(WEXITSTATUS(std::system((tool + arguments + " 2>/dev/null").c_str())), 2) << arguments;
  EXPECT_FALSE(WriteIconPng("/nonexistent/vork-icons/vork-48.png", 48));
  EXPECT_FALSE(WriteIconSvg("/nonexistent/vork-icons/vork.svg"));
}

}  // namespace
