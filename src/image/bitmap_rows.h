/// \file
/// Pixel data of .BMP files unpacked into memory: stored rows of any depth, and run-length data.
#pragma once

#include <cstdint>

/// How a file stores its pixels.
struct StoredPixels {
  int bits;          ///< bits per stored pixel: 1, 4, 8, 16, 24 or 32
  bool bitfields;    ///< 32-bit pixels whose colours the masks give (else blue, green, red, unused)
  int shift[3];      ///< bit-field pixels: lowest bit of red, green and blue
  int width[3];      ///< bit-field pixels: bits of red, green and blue
};

/// Bytes per unpacked pixel: 1 (a palette index) up to 8 bits, 2 for 16 bits, 3 (red, green, blue) above.
int UnpackedBytesPerPixel(int bits);
/// Takes red, green and blue masks for `format`; false unless each is one run of set bits.
bool SetBitfieldMasks(StoredPixels* format, const uint32_t masks[3]);
/// Unpacks `width` pixels of one stored row into `out`: indexes, 16-bit values as they are, or
/// red-green-blue triples.
void UnpackRow(const uint8_t* in, int64_t width, const StoredPixels& format, uint8_t* out);
/// Decodes RLE8 (bits 8) or RLE4 (bits 4) data into width x height index bytes that start all 0;
/// stored row 0 is the bottom one when `bottom_up`. Pixels outside the picture are dropped; false
/// when the data is damaged or ends before the last row.
bool DecodeRunLength(const uint8_t* data, int64_t size, int bits, int64_t width, int64_t height, bool bottom_up,
                     uint8_t* pixels);
