// Writes the picture fuzz target's seed files (the same the in-suite run uses) into a folder.
#include <cstdio>

#include "bmp_test_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bitmap_seed_writer FOLDER\n");
    return 1;
  }
  return WriteBitmapSeeds(argv[1]) > 0 ? 0 : 1;
}
