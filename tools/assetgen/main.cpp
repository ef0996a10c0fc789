// vork-assetgen: draws and synthesises every picture, sound and the palette the game loads.
//   vork-assetgen FOLDER            writes all assets into FOLDER (which must exist)
//   vork-assetgen --preview FILE    writes a PNG contact sheet of every picture and sprite
#include <cstdio>
#include <cstring>
#include <string>

#include "asset_set.h"
#include "canvas.h"
#include "preview.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: vork-assetgen FOLDER | vork-assetgen --preview FILE.png\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const bool preview = argc == 3 && std::strcmp(argv[1], "--preview") == 0;
  if (argc != 2 && !preview) return Usage();
  if (!LoadFonts()) {
    ReleaseFonts();
    return 1;
  }
  PictureSet pictures;
  bool ok = MakePictures(&pictures);
  if (ok && preview) {
    ok = WritePreview(argv[2], pictures);
    if (ok) std::printf("Asset preview: %s\n", argv[2]);
  } else if (ok) {
    ok = WriteAssets(argv[1], pictures);
  }
  ReleaseFonts();
  return ok ? 0 : 1;
}
