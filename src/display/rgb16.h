/// \file
/// Packing 8-bit colour components into 16-bit pixels.
#pragma once

/// 5.5.5 pixel: red in bits 10..14, green 5..9, blue 0..4.
int PackRgb555(int red, int green, int blue);
/// 5.6.5 pixel: red in bits 11..15, green 5..10, blue 0..4.
int PackRgb565(int red, int green, int blue);
