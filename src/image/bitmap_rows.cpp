// Unpacking .BMP pixel data. Everything here works on bytes already read and sized by the
// reader, so nothing can read past what it was given.
#include "image/bitmap_rows.h"

#include <cstring>

namespace {

// A bit-field colour brought to 0..255: wider fields keep their top 8 bits, narrower ones are
// scaled so that their largest value is 255.
uint8_t FieldValue(uint32_t pixel, int shift, int width) {
  const uint32_t largest = static_cast<uint32_t>((uint64_t{1} << width) - 1);
  const uint32_t value = (pixel >> shift) & largest;
  if (width >= 8) return static_cast<uint8_t>(value >> (width - 8));
  return static_cast<uint8_t>((value * 255 + largest / 2) / largest);
}

void UnpackIndexes(const uint8_t* in, int64_t width, int bits, uint8_t* out) {
  const int mask = (1 << bits) - 1;
  for (int64_t x = 0; x < width; ++x) {
    const int64_t bit = x * bits;
    out[x] = static_cast<uint8_t>((in[bit / 8] >> (8 - bits - bit % 8)) & mask);
  }
}

void UnpackBitfields(const uint8_t* in, int64_t width, const StoredPixels& format, uint8_t* out) {
  for (int64_t x = 0; x < width; ++x, in += 4, out += 3) {
    const uint32_t pixel = uint32_t{in[0]} | uint32_t{in[1]} << 8 | uint32_t{in[2]} << 16 | uint32_t{in[3]} << 24;
    for (int c = 0; c < 3; ++c) out[c] = FieldValue(pixel, format.shift[c], format.width[c]);
  }
}

// Blue, green, red (and an unused byte) per stored pixel become red, green, blue.
void UnpackTriples(const uint8_t* in, int64_t width, int stored_bytes, uint8_t* out) {
  for (int64_t x = 0; x < width; ++x, in += stored_bytes, out += 3) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
  }
}

// Where decoded pixels go: rows in the picture's order, anything outside dropped.
struct RunTarget {
  uint8_t* pixels;
  int64_t width, height;
  bool bottom_up;
  int64_t x = 0, y = 0;
  void Put(int value) {
    if (x < width && y < height) pixels[(bottom_up ? height - 1 - y : y) * width + x] = static_cast<uint8_t>(value);
    ++x;
  }
};

// Pixel k of a run of `value`: the byte in RLE8, its high and low halves in turn in RLE4.
int RunPixel(int value, int k, int bits) {
  if (bits == 8) return value;
  return k % 2 == 0 ? value >> 4 : value & 15;
}

// Pixel k of a literal run: byte k in RLE8, half k of the bytes, high half first, in RLE4.
int LiteralPixel(const uint8_t* bytes, int k, int bits) { return RunPixel(bytes[bits == 8 ? k : k / 2], k, bits); }

}  // namespace

int UnpackedBytesPerPixel(int bits) { return bits <= 8 ? 1 : bits == 16 ? 2 : 3; }

bool SetBitfieldMasks(StoredPixels* format, const uint32_t masks[3]) {
  for (int c = 0; c < 3; ++c) {
    uint32_t mask = masks[c];
    if (mask == 0) return false;
    int shift = 0, width = 0;
    while ((mask & 1) == 0) mask >>= 1, ++shift;
    while (mask & 1) mask >>= 1, ++width;
    if (mask != 0) return false;  // a second run of bits
    format->shift[c] = shift;
    format->width[c] = width;
  }
  format->bitfields = true;
  return true;
}

void UnpackRow(const uint8_t* in, int64_t width, const StoredPixels& format, uint8_t* out) {
  if (format.bits < 8) {
    UnpackIndexes(in, width, format.bits, out);
  } else if (format.bits <= 16) {
    std::memcpy(out, in, static_cast<size_t>(width * format.bits / 8));
  } else if (format.bitfields) {
    UnpackBitfields(in, width, format, out);
  } else {
    UnpackTriples(in, width, format.bits / 8, out);
  }
}

// Runs (a count and a value), end of line, end of picture, position jumps and literal runs
// (padded to an even number of bytes).
bool DecodeRunLength(const uint8_t* data, int64_t size, int bits, int64_t width, int64_t height, bool bottom_up,
                     uint8_t* pixels) {
  RunTarget target{pixels, width, height, bottom_up};
  int64_t i = 0;
  while (i + 2 <= size) {
    const int count = data[i], code = data[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) target.Put(RunPixel(code, k, bits));
    } else if (code == 0) {
      target.x = 0;
      ++target.y;
    } else if (code == 1) {
      return true;
    } else if (code == 2) {
      if (i + 2 > size) return false;
      target.x += data[i];
      target.y += data[i + 1];
      i += 2;
    } else {
      const int bytes = bits == 8 ? code : (code + 1) / 2;
      if (i + bytes > size) return false;
      for (int k = 0; k < code; ++k) target.Put(LiteralPixel(&data[i], k, bits));
      i += bytes + (bytes & 1);
    }
  }
  return target.y >= height;
}
