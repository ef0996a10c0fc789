#include "icon_art.h"

#include <cairo-svg.h>

#include <cstdio>

#include "canvas.h"
#include "characters_art.h"

namespace {

// The part of the robot's 30 x 30 drawing box the icon shows: its head, antenna and
// shoulders, as a square of ROBOT_VIEW units whose top left corner is (ROBOT_LEFT, ROBOT_TOP).
constexpr double ROBOT_VIEW = 20;
constexpr double ROBOT_LEFT = 5;
constexpr double ROBOT_TOP = -1;

// The tile: a square with rounded corners, inset so its outline is not cut at the edge.
void TilePath(cairo_t* cr, double size) {
  const double inset = size / 32;
  RoundedRect(cr, inset, inset, size - 2 * inset, size - 2 * inset, size / 5);
}

// Closes a surface after drawing; false (with a message) when cairo reports an error.
bool FinishSurface(cairo_surface_t* surface, const std::string& path) {
  cairo_surface_finish(surface);
  const cairo_status_t status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status == CAIRO_STATUS_SUCCESS) return true;
  std::fprintf(stderr, "vork-assetgen: cannot write %s: %s\n", path.c_str(),
               cairo_status_to_string(status));
  return false;
}

}  // namespace

void DrawIcon(cairo_t* cr, double size) {
  cairo_save(cr);
  TilePath(cr, size);
  FillAndStroke(cr, ICON_TILE, INK, size / 40);
  // The robot is drawn inside the tile only.
  TilePath(cr, size);
  cairo_clip(cr);
  const double unit = size / ROBOT_VIEW;
  RobotPose pose;
  pose.step = 2;  // standing, facing the child
  DrawRobot(cr, -ROBOT_LEFT * unit, -ROBOT_TOP * unit, 30 * unit, pose);
  cairo_restore(cr);
  // The outline again, over the robot's edges where the clip cut them.
  TilePath(cr, size);
  SetColor(cr, INK);
  cairo_set_line_width(cr, size / 40);
  cairo_stroke(cr);
}

bool WriteIconPng(const std::string& path, int size) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(surface);
  DrawIcon(cr, size);
  cairo_destroy(cr);
  const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  cairo_surface_destroy(surface);
  if (status == CAIRO_STATUS_SUCCESS) return true;
  std::fprintf(stderr, "vork-assetgen: cannot write %s: %s\n", path.c_str(),
               cairo_status_to_string(status));
  return false;
}

bool WriteIconSvg(const std::string& path) {
  cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), ICON_SVG_SIZE, ICON_SVG_SIZE);
  cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);  // icon themes size in pixels
  cairo_t* cr = cairo_create(surface);
  DrawIcon(cr, ICON_SVG_SIZE);
  cairo_destroy(cr);
  return FinishSurface(surface, path);
}

bool WriteIcons(const std::string& folder) {
  for (int size : ICON_SIZES) {
    if (!WriteIconPng(folder + "/vork-" + std::to_string(size) + ".png", size)) return false;
  }
  return WriteIconSvg(folder + "/vork.svg");
}
