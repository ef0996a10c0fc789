// Reading .BMP files. A picture file is input from disk: every size and offset is checked in
// 64 bits against the file's real length before anything is allocated or read, and the record
// changes only once the whole picture has been read.
#include "image/bitmap_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "image/bitmap_rows.h"
#include "image/truecolour.h"

namespace {

constexpr int64_t FILE_HEADER_BYTES = 14;
// The OS/2 core header: 16-bit width, height, planes and bit count, 3-byte colour entries.
constexpr DWORD CORE_HEADER_BYTES = 12;
constexpr DWORD INFO_HEADER_BYTES = 40;
// Longest info header accepted (the V5 header is 124 bytes).
constexpr DWORD MAX_INFO_HEADER_BYTES = 1024;
// The red, green and blue masks of bit-field pixels, at file offset 54: in the info header
// when it is long enough, right after a 40-byte one otherwise.
constexpr int64_t MASKS_OFFSET = FILE_HEADER_BYTES + INFO_HEADER_BYTES;
constexpr int64_t MASK_BYTES = 12;
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
  uint32_t masks[3];  // bit-field pixels: red, green, blue
  uint8_t* pixels;
};

// Where and how the pixel data lies in the file, and what it becomes in memory.
struct PixelLayout {
  int64_t width;
  int64_t height;
  bool bottom_up;          // rows stored bottom row first (positive biHeight)
  int run_length;          // 8 for RLE8 data, 4 for RLE4, 0 for plain rows
  StoredPixels stored;     // how a pixel is stored
  int unpacked_bytes;      // 1, 2 or 3 per pixel as unpacked (index, 16-bit value, colour triple)
  int out_bytes;           // 1 or 2 per pixel as kept
  int64_t row_bytes;       // from one stored row to the next, padding included
  int64_t start;           // file offset of the pixel data
  int64_t data_bytes;      // bytes of pixel data read from `start`
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

bool IsCore(const BITMAPINFOHEADER& info) { return info.biSize == CORE_HEADER_BYTES; }
bool IsPalettised(const BITMAPINFOHEADER& info) { return info.biBitCount <= 8; }
int PaletteEntryBytes(const BITMAPINFOHEADER& info) { return IsCore(info) ? 3 : 4; }
int64_t PaletteOffset(const BITMAPINFOHEADER& info) { return FILE_HEADER_BYTES + info.biSize; }
int64_t MostPaletteEntries(const BITMAPINFOHEADER& info) { return int64_t{1} << info.biBitCount; }

bool HasMasksAfterHeader(const BITMAPINFOHEADER& info) {
  return info.biCompression == BI_BITFIELDS && info.biSize < INFO_HEADER_BYTES + MASK_BYTES;
}

// The entries the header promises: biClrUsed when it is set and possible, else the whole table.
int64_t PromisedPaletteEntries(const BITMAPINFOHEADER& info) {
  if (!IsPalettised(info)) return 0;
  const int64_t most = MostPaletteEntries(info);
  return !IsCore(info) && info.biClrUsed >= 1 && info.biClrUsed <= most ? info.biClrUsed : most;
}

// End of the headers, masks and promised colour table: pixel data may not begin before it.
int64_t HeadersEnd(const BITMAPINFOHEADER& info) {
  return PaletteOffset(info) + (HasMasksAfterHeader(info) ? MASK_BYTES : 0) +
         PaletteEntryBytes(info) * PromisedPaletteEntries(info);
}

// Width, height, planes and bit count, 16 bits each, into an info header of uncompressed rows.
bool ReadCoreHeader(HFILE file, BITMAPINFOHEADER* info) {
  uint8_t core[8];
  if (!ReadExactly(file, core, sizeof core)) return false;
  info->biWidth = core[0] | core[1] << 8;
  info->biHeight = core[2] | core[3] << 8;
  info->biPlanes = static_cast<WORD>(core[4] | core[5] << 8);
  info->biBitCount = static_cast<WORD>(core[6] | core[7] << 8);
  info->biCompression = BI_RGB;
  return true;
}

bool ReadInfoHeader(HFILE file, StagedBitmap* staged) {
  BITMAPINFOHEADER& info = staged->info_header;
  if (!ReadExactly(file, &info.biSize, sizeof info.biSize)) return false;
  if (IsCore(info)) return ReadCoreHeader(file, &info);
  if (info.biSize < INFO_HEADER_BYTES || info.biSize > MAX_INFO_HEADER_BYTES) return false;
  if (!ReadExactly(file, &info.biWidth, INFO_HEADER_BYTES - sizeof info.biSize)) return false;
  return info.biCompression != BI_BITFIELDS || ReadExactly(file, staged->masks, MASK_BYTES);
}

bool ReadHeaders(HFILE file, int64_t length, StagedBitmap* staged) {
  if (!ReadExactly(file, &staged->file_header, FILE_HEADER_BYTES)) return false;
  if (staged->file_header.bfType != BITMAP_FILE_TYPE) return false;
  return ReadInfoHeader(file, staged) && HeadersEnd(staged->info_header) <= length;
}

// The colour table at 14 + biSize: blue, green, red (and a reserved byte unless the header is
// the core one) per entry, every entry up to the pixels, at most 2 to the bit count. Entries the
// file does not hold are black.
bool ReadPalette(HFILE file, const BITMAPINFOHEADER& info, int64_t pixels_start, PaletteEntry* palette) {
  uint8_t table[4 * BITMAP_PALETTE_SIZE] = {};
  const int entry_bytes = PaletteEntryBytes(info);
  const int64_t held = std::min((pixels_start - PaletteOffset(info)) / entry_bytes, MostPaletteEntries(info));
  if (!SeekTo(file, PaletteOffset(info)) || !ReadExactly(file, table, entry_bytes * held)) return false;
  for (int i = 0; i < BITMAP_PALETTE_SIZE; ++i) {
    const uint8_t* entry = table + entry_bytes * i;  // the table is zero past the entries read
    palette[i] = PaletteEntry{entry[2], entry[1], entry[0], PC_NOCOLLAPSE};
  }
  return true;
}

bool SupportedFormat(const BITMAPINFOHEADER& info) {
  const DWORD compression = info.biCompression;
  switch (info.biBitCount) {
    case 1: case 24: return compression == BI_RGB;
    case 4: return compression == BI_RGB || compression == BI_RLE4;
    case 8: return compression == BI_RGB || compression == BI_RLE8;
    case 16: case 32: return compression == BI_RGB || compression == BI_BITFIELDS;
    default: return false;
  }
}

// Uncompressed rows start at bfOffBits when the whole array fits there; files whose bfOffBits
// is wrong hold them as their last biSizeImage bytes. Rows are padded to 4 bytes unless
// biSizeImage says they are packed.
bool PlanPlainRows(const StagedBitmap& staged, int64_t length, PixelLayout* layout) {
  const int64_t packed = (layout->width * layout->stored.bits + 7) / 8;
  const int64_t padded = (packed + 3) & ~int64_t{3};
  const int64_t size = staged.info_header.biSizeImage;
  const int64_t headers_end = HeadersEnd(staged.info_header);
  layout->row_bytes = size == packed * layout->height ? packed : padded;
  layout->data_bytes = layout->row_bytes * (layout->height - 1) + packed;
  layout->start = staged.file_header.bfOffBits;
  if (layout->start >= headers_end && layout->start + layout->data_bytes <= length) return true;
  layout->start = length - size;
  return size != 0 && size >= layout->data_bytes && layout->start >= headers_end;
}

// Run-length data starts at bfOffBits and runs for biSizeImage bytes (to the end of the file when 0).
bool PlanRunLength(const StagedBitmap& staged, int64_t length, PixelLayout* layout) {
  layout->run_length = layout->stored.bits;
  layout->start = staged.file_header.bfOffBits;
  layout->data_bytes = staged.info_header.biSizeImage ? staged.info_header.biSizeImage : length - layout->start;
  const int64_t allowance = std::max(MIN_RLE_PIXEL_ALLOWANCE, MAX_RLE_EXPANSION * layout->data_bytes);
  return layout->start >= HeadersEnd(staged.info_header) && layout->data_bytes >= 2 &&
         layout->start + layout->data_bytes <= length && layout->width * layout->height <= allowance;
}

// Truecolour pixels are kept as 16-bit values, or as palette indexes in a palettised display mode.
int KeptBytesPerPixel(int unpacked_bytes) {
  if (unpacked_bytes < 3) return unpacked_bytes;
  return display.pixel_format <= 8 ? 1 : 2;
}

bool PlanPixels(const StagedBitmap& staged, int64_t length, PixelLayout* layout) {
  const BITMAPINFOHEADER& info = staged.info_header;
  if (!SupportedFormat(info) || info.biWidth <= 0 || info.biHeight == 0) return false;
  *layout = PixelLayout{};
  layout->width = info.biWidth;
  layout->height = info.biHeight < 0 ? -int64_t{info.biHeight} : info.biHeight;
  layout->bottom_up = info.biHeight > 0;
  layout->stored.bits = info.biBitCount;
  const bool bitfields = info.biBitCount == 32 && info.biCompression == BI_BITFIELDS;
  if (bitfields && !SetBitfieldMasks(&layout->stored, staged.masks)) return false;
  layout->unpacked_bytes = UnpackedBytesPerPixel(info.biBitCount);
  layout->out_bytes = KeptBytesPerPixel(layout->unpacked_bytes);
  if (layout->width * layout->height > MAX_PIXEL_BYTES / layout->unpacked_bytes) return false;
  if (info.biCompression == BI_RLE8 || info.biCompression == BI_RLE4) return PlanRunLength(staged, length, layout);
  return PlanPlainRows(staged, length, layout);
}

uint8_t* OutputRow(uint8_t* pixels, const PixelLayout& layout, int64_t stored_row) {
  const int64_t row = layout.bottom_up ? layout.height - 1 - stored_row : stored_row;
  return pixels + row * layout.width * layout.unpacked_bytes;
}

bool ReadPlainRows(HFILE file, const PixelLayout& layout, uint8_t* pixels) {
  auto* row = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(layout.row_bytes)));
  bool ok = row != nullptr && SeekTo(file, layout.start);
  const int64_t last_row_bytes = layout.data_bytes - layout.row_bytes * (layout.height - 1);
  for (int64_t y = 0; ok && y < layout.height; ++y) {
    const bool last = y == layout.height - 1;  // the last row's padding may be missing
    ok = ReadExactly(file, row, last ? last_row_bytes : layout.row_bytes);
    if (ok) UnpackRow(row, layout.width, layout.stored, OutputRow(pixels, layout, y));
  }
  std::free(row);
  return ok;
}

bool ReadRunLength(HFILE file, const PixelLayout& layout, uint8_t* pixels) {
  auto* data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(layout.data_bytes)));
  const bool ok = data != nullptr && SeekTo(file, layout.start) && ReadExactly(file, data, layout.data_bytes) &&
                  DecodeRunLength(data, layout.data_bytes, layout.run_length, layout.width, layout.height,
                                  layout.bottom_up, pixels);
  std::free(data);
  return ok;
}

// Colour triples become the pixels kept: packed for a 16-bit display, or mapped onto the palette
// that is set (which the record then carries) in a palettised one. Frees the triples.
uint8_t* KeepTruecolour(uint8_t* rgb, const PixelLayout& layout, PaletteEntry* palette) {
  const int64_t count = layout.width * layout.height;
  auto* kept = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(count * layout.out_bytes)));
  bool ok = kept != nullptr;
  if (ok && layout.out_bytes == 2) {
    PackTruecolour(rgb, count, display.pixel_format, kept);
  } else if (ok) {
    std::memcpy(palette, display.palette_entries, sizeof display.palette_entries);
    ok = DitherToPalette(rgb, layout.width, layout.height, palette, kept);
  }
  std::free(rgb);
  if (!ok) std::free(kept);
  return ok ? kept : nullptr;
}

// Reads the pixels into memory and makes the info header describe them as they are kept.
bool ReadPixels(HFILE file, const PixelLayout& layout, StagedBitmap* staged) {
  const int64_t count = layout.width * layout.height;
  staged->pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(count * layout.unpacked_bytes), 1));
  if (staged->pixels == nullptr) return false;
  const bool ok = layout.run_length ? ReadRunLength(file, layout, staged->pixels)
                                    : ReadPlainRows(file, layout, staged->pixels);
  if (ok && layout.unpacked_bytes == 3) staged->pixels = KeepTruecolour(staged->pixels, layout, staged->palette);
  BITMAPINFOHEADER& info = staged->info_header;
  info.biHeight = static_cast<LONG>(layout.height);
  info.biBitCount = static_cast<WORD>(8 * layout.out_bytes);
  info.biSizeImage = static_cast<DWORD>(count * layout.out_bytes);
  if (layout.stored.bits != 16) info.biCompression = BI_RGB;
  return ok && staged->pixels != nullptr;
}

bool ReadBitmap(HFILE file, StagedBitmap* staged) {
  const int64_t length = FileLength(file);
  if (length < 0 || !ReadHeaders(file, length, staged)) return false;
  PixelLayout layout;
  if (!PlanPixels(*staged, length, &layout)) return false;
  const BITMAPINFOHEADER& info = staged->info_header;
  if (IsPalettised(info) && !ReadPalette(file, info, layout.start, staged->palette)) return false;
  return ReadPixels(file, layout, staged);
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
