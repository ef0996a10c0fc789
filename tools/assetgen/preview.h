// A PNG contact sheet of every picture and sprite, for people to review the art.
#pragma once

#include <string>

#include "asset_set.h"

// Writes the contact sheet: the full-screen pictures, every sprite cell at its cell size
// and at the size the game shows it, and a mock-up of a play frame. False on failure.
bool WritePreview(const std::string& png_path, const PictureSet& pictures);
