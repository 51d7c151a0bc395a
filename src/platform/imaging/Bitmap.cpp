#include "platform/imaging/Bitmap.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <utility>

#include "platform/Error.h"

namespace vellmar {

namespace {

bool IsIndexed(TPixelFormat format) {
  return StorageBits(format) <= 8;
}

// An n-bit channel value widened to 8 bits by repeating its bits, so that the
// largest value becomes 255 (5-bit 31 -> 255, 1 -> 8).
uint32_t WidenChannel(uint32_t value, int bits) {
  if (bits == 0) return 0;
  if (bits >= 8) return value >> (bits - 8);
  uint32_t wide = 0;
  int filled = 0;
  while (filled < 8) {
    wide = (wide << bits) | value;
    filled += bits;
  }
  return wide >> (filled - 8);
}

// An 8-bit channel value narrowed (or widened) to n bits.
uint32_t FitChannel(uint32_t value, int bits) {
  if (bits <= 8) return value >> (8 - bits);
  uint64_t wide = 0;
  int filled = 0;
  while (filled < bits) {
    wide = (wide << 8) | value;
    filled += 8;
  }
  return static_cast<uint32_t>(wide >> (filled - bits));
}

uint32_t Extract(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  return WidenChannel((pixel & mask) >> std::countr_zero(mask), std::popcount(mask));
}

uint32_t Insert(uint32_t channel, uint32_t mask) {
  if (mask == 0) return 0;
  return (FitChannel(channel, std::popcount(mask)) << std::countr_zero(mask)) & mask;
}

uint32_t ReadIndex(const uint8_t* row, int32_t x, int bits) {
  switch (bits) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
      return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
    default:
      return row[x];
  }
}

void WriteIndex(uint8_t* row, int32_t x, int bits, uint32_t index) {
  switch (bits) {
    case 1: {
      const auto bit = static_cast<uint8_t>(0x80u >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>(index ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      break;
    }
    case 4: {
      const int shift = (x & 1) ? 0 : 4;
      row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & ~(0xFu << shift)) | ((index & 0xFu) << shift));
      break;
    }
    default:
      row[x] = static_cast<uint8_t>(index);
      break;
  }
}

std::vector<uint32_t> DefaultPalette(TPixelFormat format) {
  switch (format) {
    case TPixelFormat::pf1bit:
      return {0x000000, 0xFFFFFF};
    case TPixelFormat::pf4bit:
      return {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
              0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    case TPixelFormat::pf8bit: {
      // A 6 x 6 x 6 colour cube and a grey ramp between its greys, so that any
      // picture converted to 8 bits keeps its colours roughly.
      std::vector<uint32_t> palette;
      palette.reserve(256);
      for (uint32_t r = 0; r < 6; ++r)
        for (uint32_t g = 0; g < 6; ++g)
          for (uint32_t b = 0; b < 6; ++b) palette.push_back((r * 51) << 16 | (g * 51) << 8 | (b * 51));
      for (uint32_t i = 1; palette.size() < 256; ++i) {
        const uint32_t grey = i * 255 / 41;
        palette.push_back(grey << 16 | grey << 8 | grey);
      }
      return palette;
    }
    default:
      return {};
  }
}

std::string SizeText(int64_t width, int64_t height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

void CheckPixel(const char* operation, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (x < 0 || x >= width || y < 0 || y >= height) {
    throw EVellmarError(std::string(operation) + ": pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                        ") outside " + SizeText(width, height));
  }
}

}  // namespace

int StorageBits(TPixelFormat format) {
  switch (format) {
    case TPixelFormat::pf1bit:
      return 1;
    case TPixelFormat::pf4bit:
      return 4;
    case TPixelFormat::pf8bit:
      return 8;
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit:
      return 16;
    case TPixelFormat::pf24bit:
      return 24;
    case TPixelFormat::pf32bit:
      return 32;
  }
  return 0;
}

TBitMasks StandardMasks(TPixelFormat format) {
  switch (format) {
    case TPixelFormat::pf15bit:
      return {0x7C00, 0x03E0, 0x001F, 0};
    case TPixelFormat::pf16bit:
      return {0xF800, 0x07E0, 0x001F, 0};
    case TPixelFormat::pf32bit:
      return {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    default:
      return {};
  }
}

TBitmap::TBitmap(int32_t width, int32_t height, TPixelFormat format) {
  Allocate(width, height, format, "TBitmap.Create");
}

void TBitmap::Allocate(int32_t width, int32_t height, TPixelFormat format, const char* operation) {
  if (width < 0 || height < 0) {
    throw EVellmarError(std::string(operation) + ": negative size " + SizeText(width, height));
  }
  const int64_t stride = (int64_t{width} * StorageBits(format) + 31) / 32 * 4;
  if (height != 0 && stride > MaxPixelBytes / height) {
    throw EVellmarError(std::string(operation) + ": " + SizeText(width, height) + " pixels are too large");
  }
  width_ = width;
  height_ = height;
  format_ = format;
  stride_ = static_cast<int32_t>(stride);
  masks_ = StandardMasks(format);
  palette_ = DefaultPalette(format);
  pixels_.assign(static_cast<size_t>(stride * height), 0);
  fileImage_.clear();
}

size_t TBitmap::RowOffset(int32_t row) const {
  const int32_t memoryRow = topDown_ ? row : height_ - 1 - row;
  return static_cast<size_t>(memoryRow) * static_cast<size_t>(stride_);
}

void TBitmap::SetSize(int32_t width, int32_t height) {
  if (width == width_ && height == height_) return;
  TBitmap resized;
  resized.topDown_ = topDown_;
  resized.Allocate(width, height, format_, "TBitmap.SetSize");
  resized.masks_ = masks_;
  resized.palette_ = palette_;
  const auto bytes = static_cast<size_t>(std::min(stride_, resized.stride_));
  for (int32_t row = 0; row < std::min(height_, height); ++row) {
    std::memcpy(resized.pixels_.data() + resized.RowOffset(row), pixels_.data() + RowOffset(row), bytes);
  }
  *this = std::move(resized);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_ && masks_ == StandardMasks(format)) return;
  TBitmap converted;
  converted.topDown_ = topDown_;
  converted.Allocate(width_, height_, format, "TBitmap.SetPixelFormat");
  const int bits = StorageBits(format);
  const bool keepIndices = IsIndexed(format) && IsIndexed(format_) && palette_.size() <= (size_t{1} << bits);
  if (keepIndices) converted.palette_ = palette_;
  if (!Empty()) {
    for (int32_t row = 0; row < height_; ++row) {
      const uint8_t* source = pixels_.data() + RowOffset(row);
      uint8_t* target = converted.pixels_.data() + converted.RowOffset(row);
      for (int32_t x = 0; x < width_; ++x) {
        if (keepIndices) {
          WriteIndex(target, x, bits, ReadIndex(source, x, StorageBits(format_)));
        } else {
          converted.EncodePixel(target, x, DecodePixel(source, x));
        }
      }
    }
  }
  *this = std::move(converted);
}

void TBitmap::SetTopDown(bool topDown) {
  if (topDown == topDown_) return;
  Touch();
  const auto stride = static_cast<size_t>(stride_);
  for (int32_t low = 0, high = height_ - 1; low < high; ++low, --high) {
    std::swap_ranges(pixels_.begin() + static_cast<std::ptrdiff_t>(low * stride),
                     pixels_.begin() + static_cast<std::ptrdiff_t>((low + 1) * stride),
                     pixels_.begin() + static_cast<std::ptrdiff_t>(high * stride));
  }
  topDown_ = topDown;
}

void TBitmap::SetPalette(std::vector<uint32_t> palette) {
  if (!IsIndexed(format_)) {
    throw EVellmarError("TBitmap.SetPalette: a " + std::to_string(StorageBits(format_)) +
                        "-bit bitmap has no palette");
  }
  const size_t limit = size_t{1} << StorageBits(format_);
  if (palette.empty() || palette.size() > limit) {
    throw EVellmarError("TBitmap.SetPalette: " + std::to_string(palette.size()) + " colours for " +
                        std::to_string(StorageBits(format_)) + " bits per pixel");
  }
  Touch();
  for (uint32_t& colour : palette) colour &= 0xFFFFFF;
  palette_ = std::move(palette);
}

uint8_t* TBitmap::ScanLine(int32_t row) {
  const auto* line = std::as_const(*this).ScanLine(row);
  Touch();
  return const_cast<uint8_t*>(line);
}

const uint8_t* TBitmap::ScanLine(int32_t row) const {
  if (row < 0 || row >= height_) {
    throw EVellmarError("TBitmap.ScanLine: row " + std::to_string(row) + " outside 0.." +
                        std::to_string(int64_t{height_} - 1));
  }
  return pixels_.empty() ? nullptr : pixels_.data() + RowOffset(row);
}

uint32_t TBitmap::GetPixel(int32_t x, int32_t y) const {
  CheckPixel("TBitmap.GetPixel", x, y, width_, height_);
  return DecodePixel(pixels_.data() + RowOffset(y), x);
}

void TBitmap::SetPixel(int32_t x, int32_t y, uint32_t colour) {
  CheckPixel("TBitmap.SetPixel", x, y, width_, height_);
  Touch();
  EncodePixel(pixels_.data() + RowOffset(y), x, colour);
}

uint32_t TBitmap::DecodePixel(const uint8_t* row, int32_t x) const {
  switch (format_) {
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit: {
      const uint32_t index = ReadIndex(row, x, StorageBits(format_));
      return index < palette_.size() ? palette_[index] : 0;
    }
    case TPixelFormat::pf24bit: {
      const uint8_t* p = row + 3 * static_cast<size_t>(x);
      return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit:
    case TPixelFormat::pf32bit: {
      uint32_t pixel = 0;
      const size_t bytes = static_cast<size_t>(StorageBits(format_) / 8);
      const uint8_t* p = row + bytes * static_cast<size_t>(x);
      for (size_t i = 0; i < bytes; ++i) pixel |= uint32_t{p[i]} << (8 * i);
      return Extract(pixel, masks_.Red) << 16 | Extract(pixel, masks_.Green) << 8 |
             Extract(pixel, masks_.Blue);
    }
  }
  return 0;
}

void TBitmap::EncodePixel(uint8_t* row, int32_t x, uint32_t colour) const {
  switch (format_) {
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit:
      WriteIndex(row, x, StorageBits(format_), NearestIndex(colour));
      break;
    case TPixelFormat::pf24bit: {
      uint8_t* p = row + 3 * static_cast<size_t>(x);
      p[0] = static_cast<uint8_t>(colour);
      p[1] = static_cast<uint8_t>(colour >> 8);
      p[2] = static_cast<uint8_t>(colour >> 16);
      break;
    }
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit:
    case TPixelFormat::pf32bit: {
      const uint32_t pixel = Insert((colour >> 16) & 0xFF, masks_.Red) |
                             Insert((colour >> 8) & 0xFF, masks_.Green) | Insert(colour & 0xFF, masks_.Blue) |
                             masks_.Alpha;
      const size_t bytes = static_cast<size_t>(StorageBits(format_) / 8);
      uint8_t* p = row + bytes * static_cast<size_t>(x);
      for (size_t i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(pixel >> (8 * i));
      break;
    }
  }
}

uint8_t TBitmap::NearestIndex(uint32_t colour) const {
  size_t best = 0;
  int64_t bestDistance = INT64_MAX;
  for (size_t i = 0; i < palette_.size() && bestDistance != 0; ++i) {
    const int64_t dr = int64_t((palette_[i] >> 16) & 0xFF) - int64_t((colour >> 16) & 0xFF);
    const int64_t dg = int64_t((palette_[i] >> 8) & 0xFF) - int64_t((colour >> 8) & 0xFF);
    const int64_t db = int64_t(palette_[i] & 0xFF) - int64_t(colour & 0xFF);
    const int64_t distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return static_cast<uint8_t>(best);
}

uint8_t* BitmapFirstRow(TBitmap& bitmap) {
  if (bitmap.Empty()) return nullptr;
  return bitmap.ScanLine(bitmap.TopDown() ? 0 : bitmap.Height() - 1);
}

const uint8_t* BitmapFirstRow(const TBitmap& bitmap) {
  if (bitmap.Empty()) return nullptr;
  return bitmap.ScanLine(bitmap.TopDown() ? 0 : bitmap.Height() - 1);
}

TBitmapInfoHeader BitmapInfoHeader(const TBitmap& bitmap) {
  TBitmapInfoHeader header{};
  header.biSize = sizeof(TBitmapInfoHeader);
  header.biWidth = bitmap.Width();
  header.biHeight = bitmap.TopDown() ? -bitmap.Height() : bitmap.Height();
  header.biPlanes = 1;
  header.biBitCount = static_cast<uint16_t>(
      bitmap.PixelFormat() == TPixelFormat::pf15bit ? 15 : StorageBits(bitmap.PixelFormat()));
  header.biCompression = 0;
  // The real row length: a 15-bit pixel still takes two bytes.
  header.biSizeImage = static_cast<uint32_t>(int64_t{bitmap.Height()} * bitmap.Stride());
  header.biXPelsPerMeter = 1000;
  header.biYPelsPerMeter = 1000;
  return header;
}

}  // namespace vellmar
