// Opening the data files the game reads and the files the library writes, on Windows.
#pragma once

#include <cstdio>

#include "win32.h"

// fopen of a path in the program's working directory.
FILE* OpenDataFile(const char* path, const char* mode);
