// vork-assetgen: draws and synthesises every picture, sound and the palette the game loads.
//   vork-assetgen FOLDER            writes all assets into FOLDER (which must exist)
//   vork-assetgen --preview FILE    writes a PNG contact sheet of every picture and sprite
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "asset_set.h"
#include "canvas.h"
#include "preview.h"
#include "tune.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: vork-assetgen FOLDER | vork-assetgen --preview FILE.png\n");
  return 2;
}

// True when path is an existing folder; checked first so a wrong path fails at once.
bool IsFolder(const char* path) {
  struct stat info;
  return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

int main(int argc, char** argv) {
  const bool preview = argc == 3 && std::strcmp(argv[1], "--preview") == 0;
  if (argc != 2 && !preview) return Usage();
  if (!preview && !IsFolder(argv[1])) {
    std::fprintf(stderr, "vork-assetgen: %s is not a folder\n", argv[1]);
    return 1;
  }
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
    ok = WriteAssets(argv[1], pictures) && WriteTune(argv[1]);
  }
  ReleaseFonts();
  return ok ? 0 : 1;
}
