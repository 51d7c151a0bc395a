#pragma once
// A device-independent bitmap laid out like a Windows DIB: rows padded to four bytes,
// bottom-up in memory unless made top-down, a colour table for 1, 4 and 8 bits per
// pixel and channel masks for 16 and 32. Rows are numbered from the top of the picture
// whatever the memory order, as the windowing toolkit numbers its scan lines.
// A bitmap owns its pixels, its palette and the BMP file image it was read from.
//
// Colours are 0x00RRGGBB. A 32-bit pixel is B, G, R, A in memory; its fourth byte is
// only meaningful to callers that give it meaning (textures, PNG output).
//
// BMP files read and written back unchanged come out byte for byte: the bitmap keeps
// the file image it was read from until anything touches its pixels, palette or
// layout (taking a writable scan line counts as touching).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace vellmar {

class TStream;

enum class TPixelFormat : uint8_t { pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

// Bits a pixel of the format occupies in memory (16 for pf15bit).
int StorageBits(TPixelFormat format);

// Channel masks of a 16- or 32-bit pixel read as a little-endian integer.
struct TBitMasks {
  uint32_t Red = 0;
  uint32_t Green = 0;
  uint32_t Blue = 0;
  uint32_t Alpha = 0;
  bool operator==(const TBitMasks&) const = default;
};

// 5-5-5 for pf15bit, 5-6-5 for pf16bit, 8-8-8 with alpha on top for pf32bit; all zero
// for the other formats.
TBitMasks StandardMasks(TPixelFormat format);

// The Windows BITMAPINFOHEADER, field for field.
struct TBitmapInfoHeader {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};
static_assert(sizeof(TBitmapInfoHeader) == 40);

// How PNG output treats the fourth byte of a 32-bit bitmap.
enum class TPngAlpha : uint8_t { Keep, Opaque };

class TBitmap {
 public:
  // The largest pixel block a bitmap may have; larger sizes raise instead of
  // exhausting memory.
  static constexpr int64_t MaxPixelBytes = int64_t{1} << 30;

  TBitmap() = default;
  // Pixels start zero (black, or palette entry 0).
  TBitmap(int32_t width, int32_t height, TPixelFormat format);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  TPixelFormat PixelFormat() const { return format_; }
  bool TopDown() const { return topDown_; }
  // Bytes from one row to the next: ((width · bits + 31) div 32) · 4.
  int32_t Stride() const { return stride_; }
  const TBitMasks& Masks() const { return masks_; }
  // The colour table of a 1-, 4- or 8-bit bitmap (at most 2^bits entries); empty
  // for the other formats. Indices past its end read as black.
  const std::vector<uint32_t>& Palette() const { return palette_; }

  // Keeps the pixels that lie inside both the old and the new size (anchored at the
  // top-left corner); new pixels are zero.
  void SetSize(int32_t width, int32_t height);
  // Converts the pixels to the format. Indexed targets keep an indexed source's
  // palette when it fits and otherwise take a default palette and the nearest colour
  // of it; 32-bit targets get alpha 255. Converting to the format the bitmap already
  // has (with its standard masks) leaves the pixels alone.
  void SetPixelFormat(TPixelFormat format);
  // Reorders the rows in memory; the picture stays the same.
  void SetTopDown(bool topDown);
  void SetPalette(std::vector<uint32_t> palette);

  // Row `row` of the picture counted from the top.
  uint8_t* ScanLine(int32_t row);
  const uint8_t* ScanLine(int32_t row) const;

  uint32_t GetPixel(int32_t x, int32_t y) const;
  // Indexed formats store the nearest palette colour; 32-bit pixels get alpha 255.
  void SetPixel(int32_t x, int32_t y, uint32_t colour);

  // Reads a BMP file image from data[0 .. size) and returns the bytes it occupies (the
  // file header's size, so that images embedded in a larger stream can be skipped).
  // A damaged image raises and leaves the bitmap as it was.
  size_t LoadFromBmp(const uint8_t* data, size_t size);
  // Appends the BMP file image: the one read, when nothing has changed since.
  void SaveToBmp(std::vector<uint8_t>& out) const;
  // The same at a stream's position, leaving the stream behind the image.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  // A BMP or PNG file, told apart by its first bytes.
  void LoadFromFile(const std::filesystem::path& path);
  // Writes a BMP file; the old file stays whole when the save fails.
  void SaveToFile(const std::filesystem::path& path) const;

  // Any PNG becomes a 32-bit bitmap with the file's alpha.
  void LoadFromPng(const uint8_t* data, size_t size);
  // 32-bit bitmaps are written as RGBA (RGB with TPngAlpha::Opaque), others as RGB.
  void SaveToPng(std::vector<uint8_t>& out, TPngAlpha alpha = TPngAlpha::Keep) const;
  void SaveToPngFile(const std::filesystem::path& path, TPngAlpha alpha = TPngAlpha::Keep) const;
  // Appends a baseline JPEG of the pixels without alpha (quality 1 to 100, colour at
  // full resolution); the file's old content stays whole when the save fails.
  void SaveToJpeg(std::vector<uint8_t>& out, int quality) const;
  void SaveToJpegFile(const std::filesystem::path& path, int quality) const;

 private:
  // Any change drops the kept file image, which no longer matches the pixels.
  void Touch() { fileImage_.clear(); }
  void Allocate(int32_t width, int32_t height, TPixelFormat format, const char* operation);
  uint32_t DecodePixel(const uint8_t* row, int32_t x) const;
  void EncodePixel(uint8_t* row, int32_t x, uint32_t colour) const;
  uint8_t NearestIndex(uint32_t colour) const;
  size_t RowOffset(int32_t row) const;

  int32_t width_ = 0;
  int32_t height_ = 0;
  TPixelFormat format_ = TPixelFormat::pf24bit;
  bool topDown_ = false;
  int32_t stride_ = 0;
  TBitMasks masks_;
  std::vector<uint32_t> palette_;
  std::vector<uint8_t> pixels_;
  std::vector<uint8_t> fileImage_;
};

// The row with the lowest memory address: the bottom row of a bottom-up bitmap, the
// top row of a top-down one.
uint8_t* BitmapFirstRow(TBitmap& bitmap);
const uint8_t* BitmapFirstRow(const TBitmap& bitmap);

// The information header that describes the bitmap's pixel block: 40 bytes, 1 plane,
// bits 1, 4, 8, 15, 16, 24 or 32, no compression, no palette counts, 1000 pixels per
// metre, image size = height · stride; a top-down bitmap has a negative height.
TBitmapInfoHeader BitmapInfoHeader(const TBitmap& bitmap);

}  // namespace vellmar
