// vork-icons: draws the game's icon from the robot's art.
//   vork-icons FOLDER    writes vork-48.png, vork-128.png, vork-256.png and vork.svg into FOLDER
#include <sys/stat.h>

#include <cstdio>

#include "icon_art.h"

int main(int argc, char** argv) {
  struct stat info;
  if (argc != 2 || stat(argv[1], &info) != 0 || !S_ISDIR(info.st_mode)) {
    std::fprintf(stderr, "usage: vork-icons FOLDER (an existing folder)\n");
    return 2;
  }
  return WriteIcons(argv[1]) ? 0 : 1;
}
