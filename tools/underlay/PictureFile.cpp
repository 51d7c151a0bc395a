#include "PictureFile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "JpegRows.h"
#include "PngRows.h"
#include "TiffRows.h"
#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/imaging/Bitmap.h"

namespace vellmar {

namespace {

// A picture loaded whole by the bitmap's readers: BMP, whose every kind they know
// and whose rows are stored bottom-up, and interlaced PNG.
class TWholePictureRows final : public TPictureRows {
 public:
  enum class TFormat { Bmp, Png };
  TWholePictureRows(const std::filesystem::path& path, TFormat format) {
    TFileStream stream(path, TFileMode::OpenRead);
    std::vector<uint8_t> bytes(static_cast<size_t>(stream.Size()));
    stream.ReadBuffer(bytes.data(), bytes.size(), "ReadPictureFile");
    if (format == TFormat::Png) {
      bitmap_.LoadFromPng(bytes.data(), bytes.size());  // B, G, R, A
    } else {
      bitmap_.LoadFromBmp(bytes.data(), bytes.size());
      bitmap_.SetPixelFormat(TPixelFormat::pf24bit);
    }
  }
  int Width() const override { return bitmap_.Width(); }
  int Height() const override { return bitmap_.Height(); }
  void ReadRows(uint8_t* target, std::ptrdiff_t stride, int count) override {
    for (int i = 0; i < count; ++i, ++next_) {
      if (bitmap_.PixelFormat() == TPixelFormat::pf32bit) {
        FlattenOnWhite(bitmap_.ScanLine(next_), target + i * stride, Width());
      } else {
        std::copy_n(bitmap_.ScanLine(next_), size_t{3} * Width(), target + i * stride);
      }
    }
  }

 private:
  TBitmap bitmap_;
  int next_ = 0;
};

}  // namespace

std::unique_ptr<TPictureRows> OpenPictureFile(const std::filesystem::path& path) {
  std::array<uint8_t, 4> magic{};
  {
    TFileStream stream(path, TFileMode::OpenRead);
    magic.fill(0);
    stream.Read(magic.data(), magic.size());
  }
  const auto startsWith = [&](std::initializer_list<uint8_t> prefix) {
    return std::equal(prefix.begin(), prefix.end(), magic.begin());
  };
  if (startsWith({0xFF, 0xD8, 0xFF})) return OpenJpegRows(path);
  if (startsWith({0x89, 'P', 'N', 'G'})) {
    if (auto rows = OpenPngRows(path)) return rows;
    return std::make_unique<TWholePictureRows>(path, TWholePictureRows::TFormat::Png);
  }
  // Classic TIFF (42) and BigTIFF (43), either byte order.
  if (startsWith({'I', 'I', 42, 0}) || startsWith({'M', 'M', 0, 42}) || startsWith({'I', 'I', 43, 0}) ||
      startsWith({'M', 'M', 0, 43})) {
    return OpenTiffRows(path);
  }
  if (startsWith({'B', 'M'}))
    return std::make_unique<TWholePictureRows>(path, TWholePictureRows::TFormat::Bmp);
  throw EVellmarError("ReadPictureFile: " + path.string() + " is not a PNG, JPEG, TIFF or BMP file");
}

}  // namespace vellmar
