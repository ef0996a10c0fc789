/// \file
/// Opening the data files the game reads (palette, pictures) and the files the library writes.
/// Goes through the platform so that a host can see which files a run touched.
#pragma once

#include <cstdio>

/// fopen, reported to the host together with whether it succeeded.
FILE* OpenDataFile(const char* path, const char* mode);
