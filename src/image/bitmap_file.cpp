// Reading .BMP files. A picture file is input from disk: every size and offset is checked in
// 64 bits against the file's real length before anything is allocated or read, and the record
// changes only once the whole picture has been read.
#include "image/bitmap_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int64_t FILE_HEADER_BYTES = 14;
constexpr DWORD INFO_HEADER_BYTES = 40;
// Longest info header accepted (the V5 header is 124 bytes).
constexpr DWORD MAX_INFO_HEADER_BYTES = 1024;
// Largest pixel buffer a load makes: its size must fit the library's 32-bit fields.
constexpr int64_t MAX_PIXEL_BYTES = 0x7FFFFFFF;
// A run-length file may expand this much beyond its own size (runs of 255 in two bytes,
// whole blank rows in two), or to this many pixels whatever its size.
constexpr int64_t MAX_RLE_EXPANSION = 512;
constexpr int64_t MIN_RLE_PIXEL_ALLOWANCE = int64_t{1} << 20;

// The parts of a load built up before the record is touched.
struct StagedBitmap {
  BITMAPFILEHEADER file_header;
  BITMAPINFOHEADER info_header;
  PaletteEntry palette[BITMAP_PALETTE_SIZE];
  uint8_t* pixels;
};

// Where and how the pixel data lies in the file.
struct PixelLayout {
  int64_t width;
  int64_t height;
  bool bottom_up;         // rows stored bottom row first (positive biHeight)
  bool run_length;        // RLE8 data
  int file_bytes_per_pixel;  // 1, 2 or 3
  int out_bytes_per_pixel;   // 1 or 2
  int64_t row_bytes;      // from one stored row to the next, padding included
  int64_t start;          // file offset of the pixel data
  int64_t data_bytes;     // bytes of pixel data read from `start`
};

bool ReadExactly(HFILE file, void* buffer, int64_t count) {
  if (count < 0 || count > 0x7FFFFFFF) return false;
  return _lread(file, buffer, static_cast<UINT>(count)) == static_cast<UINT>(count);
}

bool SeekTo(HFILE file, int64_t offset) {
  return offset >= 0 && offset <= 0x7FFFFFFF && _llseek(file, static_cast<LONG>(offset), FILE_BEGIN) == offset;
}

int64_t FileLength(HFILE file) {
  const LONG length = _llseek(file, 0, FILE_END);
  if (length == HFILE_ERROR || !SeekTo(file, 0)) return -1;
  return length;
}

int64_t PaletteOffset(const BITMAPINFOHEADER& info) { return FILE_HEADER_BYTES + info.biSize; }

int64_t PaletteEntriesInFile(const BITMAPINFOHEADER& info) {
  return info.biClrUsed >= 1 && info.biClrUsed <= BITMAP_PALETTE_SIZE ? info.biClrUsed : BITMAP_PALETTE_SIZE;
}

// End of the headers and colour table: pixel data may not begin before it.
int64_t HeadersEnd(const BITMAPINFOHEADER& info) {
  return PaletteOffset(info) + (info.biBitCount == 8 ? 4 * PaletteEntriesInFile(info) : 0);
}

bool ReadHeaders(HFILE file, int64_t length, StagedBitmap* staged) {
  if (!ReadExactly(file, &staged->file_header, FILE_HEADER_BYTES)) return false;
  if (staged->file_header.bfType != BITMAP_FILE_TYPE) return false;
  if (!ReadExactly(file, &staged->info_header, INFO_HEADER_BYTES)) return false;
  const BITMAPINFOHEADER& info = staged->info_header;
  return info.biSize >= INFO_HEADER_BYTES && info.biSize <= MAX_INFO_HEADER_BYTES && HeadersEnd(info) <= length;
}

// The colour table at 14 + biSize: blue, green, red, reserved per entry, biClrUsed entries
// (256 when 0). Entries the file does not hold are black.
bool ReadPalette(HFILE file, const BITMAPINFOHEADER& info, PaletteEntry* palette) {
  uint8_t table[4 * BITMAP_PALETTE_SIZE] = {};
  const int64_t entries = PaletteEntriesInFile(info);
  if (!SeekTo(file, PaletteOffset(info)) || !ReadExactly(file, table, 4 * entries)) return false;
  for (int i = 0; i < BITMAP_PALETTE_SIZE; ++i)
    palette[i] = PaletteEntry{table[4 * i + 2], table[4 * i + 1], table[4 * i], PC_NOCOLLAPSE};
  return true;
}

bool SupportedFormat(const BITMAPINFOHEADER& info) {
  switch (info.biBitCount) {
    case 8: return info.biCompression == BI_RGB || info.biCompression == BI_RLE8;
    case 16: return info.biCompression == BI_RGB || info.biCompression == BI_BITFIELDS;
    case 24: return info.biCompression == BI_RGB;
    default: return false;
  }
}

// Uncompressed rows: the pixel array is the last biSizeImage bytes of the file, or starts at
// bfOffBits when biSizeImage is 0. Rows are padded to 4 bytes unless biSizeImage says they are
// packed (exactly width x bytes per pixel each).
bool PlanPlainRows(const StagedBitmap& staged, int64_t length, PixelLayout* layout) {
  const int64_t packed = layout->width * layout->file_bytes_per_pixel;
  const int64_t padded = (packed + 3) & ~int64_t{3};
  const int64_t size = staged.info_header.biSizeImage;
  layout->row_bytes = size == packed * layout->height ? packed : padded;
  layout->data_bytes = layout->row_bytes * (layout->height - 1) + packed;
  if (size != 0) {
    if (size < layout->data_bytes) return false;
    layout->start = length - size;
  } else {
    layout->start = staged.file_header.bfOffBits;
  }
  return layout->start >= HeadersEnd(staged.info_header) && layout->start + layout->data_bytes <= length;
}

// RLE8 data starts at bfOffBits and runs for biSizeImage bytes (to the end of the file when 0).
bool PlanRunLength(const StagedBitmap& staged, int64_t length, PixelLayout* layout) {
  layout->run_length = true;
  layout->start = staged.file_header.bfOffBits;
  layout->data_bytes = staged.info_header.biSizeImage ? staged.info_header.biSizeImage : length - layout->start;
  const int64_t allowance = std::max(MIN_RLE_PIXEL_ALLOWANCE, MAX_RLE_EXPANSION * layout->data_bytes);
  return layout->start >= HeadersEnd(staged.info_header) && layout->data_bytes >= 2 &&
         layout->start + layout->data_bytes <= length && layout->width * layout->height <= allowance;
}

bool PlanPixels(const StagedBitmap& staged, int64_t length, PixelLayout* layout) {
  const BITMAPINFOHEADER& info = staged.info_header;
  if (!SupportedFormat(info) || info.biWidth <= 0 || info.biHeight == 0) return false;
  *layout = PixelLayout{};
  layout->width = info.biWidth;
  layout->height = info.biHeight < 0 ? -int64_t{info.biHeight} : info.biHeight;
  layout->bottom_up = info.biHeight > 0;
  layout->file_bytes_per_pixel = info.biBitCount / 8;
  layout->out_bytes_per_pixel = std::min(layout->file_bytes_per_pixel, 2);
  if (layout->width * layout->height * layout->out_bytes_per_pixel > MAX_PIXEL_BYTES) return false;
  if (info.biCompression == BI_RLE8) return PlanRunLength(staged, length, layout);
  return PlanPlainRows(staged, length, layout);
}

uint8_t* OutputRow(uint8_t* pixels, const PixelLayout& layout, int64_t stored_row) {
  const int64_t row = layout.bottom_up ? layout.height - 1 - stored_row : stored_row;
  return pixels + row * layout.width * layout.out_bytes_per_pixel;
}

// One stored row into its place: 8- and 16-bit as they are, 24-bit packed for the display.
void StoreRow(uint8_t* out, const uint8_t* in, const PixelLayout& layout) {
  if (layout.file_bytes_per_pixel != 3) {
    std::memcpy(out, in, static_cast<size_t>(layout.width * layout.file_bytes_per_pixel));
    return;
  }
  int (*pack)(int, int, int) = display.pixel_format == 15 ? PackRgb555 : PackRgb565;
  for (int64_t x = 0; x < layout.width; ++x, in += 3) {
    const uint16_t value = static_cast<uint16_t>(pack(in[2], in[1], in[0]));
    std::memcpy(out + 2 * x, &value, sizeof value);
  }
}

bool ReadPlainRows(HFILE file, const PixelLayout& layout, uint8_t* pixels) {
  auto* row = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(layout.row_bytes)));
  bool ok = row != nullptr && SeekTo(file, layout.start);
  for (int64_t y = 0; ok && y < layout.height; ++y) {
    const bool last = y == layout.height - 1;  // the last row's padding may be missing
    ok = ReadExactly(file, row, last ? layout.width * layout.file_bytes_per_pixel : layout.row_bytes);
    if (ok) StoreRow(OutputRow(pixels, layout, y), row, layout);
  }
  std::free(row);
  return ok;
}

// Decodes RLE8 (runs, end of line, end of picture, position jumps, literal runs) into pixels
// that start all 0. Pixels that fall outside the picture are dropped; data that ends before the
// last row is a damaged file.
bool DecodeRunLength(const uint8_t* data, int64_t size, const PixelLayout& layout, uint8_t* pixels) {
  int64_t x = 0, y = 0, i = 0;
  auto put = [&](uint8_t value) {
    if (x < layout.width && y < layout.height) OutputRow(pixels, layout, y)[x] = value;
    ++x;
  };
  while (i + 2 <= size) {
    const int count = data[i], code = data[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(static_cast<uint8_t>(code));
    } else if (code == 0) {
      x = 0;
      ++y;
    } else if (code == 1) {
      return true;
    } else if (code == 2) {
      if (i + 2 > size) return false;
      x += data[i];
      y += data[i + 1];
      i += 2;
    } else {
      if (i + code > size) return false;
      for (int k = 0; k < code; ++k) put(data[i + k]);
      i += code + (code & 1);  // literal runs are padded to an even length
    }
  }
  return y >= layout.height;
}

bool ReadRunLength(HFILE file, const PixelLayout& layout, uint8_t* pixels) {
  auto* data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(layout.data_bytes)));
  const bool ok = data != nullptr && SeekTo(file, layout.start) && ReadExactly(file, data, layout.data_bytes) &&
                  DecodeRunLength(data, layout.data_bytes, layout, pixels);
  std::free(data);
  return ok;
}

bool ReadPixels(HFILE file, int64_t length, StagedBitmap* staged) {
  PixelLayout layout;
  if (!PlanPixels(*staged, length, &layout)) return false;
  const int64_t bytes = layout.width * layout.height * layout.out_bytes_per_pixel;
  staged->pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(bytes), 1));
  if (staged->pixels == nullptr) return false;
  const bool ok = layout.run_length ? ReadRunLength(file, layout, staged->pixels)
                                    : ReadPlainRows(file, layout, staged->pixels);
  BITMAPINFOHEADER& info = staged->info_header;
  info.biHeight = static_cast<LONG>(layout.height);
  info.biBitCount = static_cast<WORD>(8 * layout.out_bytes_per_pixel);
  info.biSizeImage = static_cast<DWORD>(bytes);
  if (layout.run_length) info.biCompression = BI_RGB;
  return ok;
}

bool ReadBitmap(HFILE file, StagedBitmap* staged) {
  const int64_t length = FileLength(file);
  if (length < 0 || !ReadHeaders(file, length, staged)) return false;
  const bool palettised = staged->info_header.biBitCount == 8;
  if (palettised && !ReadPalette(file, staged->info_header, staged->palette)) return false;
  return ReadPixels(file, length, staged);
}

}  // namespace

int LoadBitmapFile(BitmapFile* bitmap, const char* file_name) {
  if (bitmap == nullptr || file_name == nullptr) return 0;
  OFSTRUCT open_info;
  const HFILE file = OpenFile(file_name, &open_info, OF_READ);
  if (file == HFILE_ERROR) return 0;
  StagedBitmap staged{};
  const bool ok = ReadBitmap(file, &staged);
  _lclose(file);
  if (!ok) {
    std::free(staged.pixels);
    return 0;
  }
  std::free(bitmap->pixels);
  bitmap->file_header = staged.file_header;
  bitmap->info_header = staged.info_header;
  if (staged.info_header.biBitCount == 8) std::memcpy(bitmap->palette, staged.palette, sizeof bitmap->palette);
  bitmap->pixels = staged.pixels;
  return 1;
}

int UnloadBitmapFile(BitmapFile* bitmap) {
  if (bitmap == nullptr) return 1;
  std::free(bitmap->pixels);
  bitmap->pixels = nullptr;
  return 1;
}

// Swaps rows pairwise from the outside in, so it needs no copy of the picture and cannot fail.
int FlipBitmapRows(uint8_t* image, int row_bytes, int rows) {
  if (image == nullptr || row_bytes < 0 || rows < 0) return 0;
  const size_t stride = static_cast<size_t>(row_bytes);
  for (int top = 0, bottom = rows - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(image + top * stride, image + (top + 1) * stride, image + bottom * stride);
  return 1;
}
