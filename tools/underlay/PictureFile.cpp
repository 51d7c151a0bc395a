#include "PictureFile.h"

#include <turbojpeg.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/FileStream.h"

namespace vellmar {

namespace {

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
  TFileStream stream(path, TFileMode::OpenRead);
  std::vector<uint8_t> bytes(static_cast<size_t>(stream.Size()));
  stream.ReadBuffer(bytes.data(), bytes.size(), "ReadPictureFile");
  return bytes;
}

TBitmap ReadJpeg(const std::vector<uint8_t>& bytes, const std::filesystem::path& path) {
  const std::unique_ptr<void, int (*)(tjhandle)> decoder(tjInitDecompress(), tjDestroy);
  const auto fail = [&](const char* what) {
    throw EVellmarError("ReadPictureFile: " + path.string() + ": " + what + ": " +
                        tjGetErrorStr2(decoder.get()));
  };
  if (!decoder) throw EVellmarError("ReadPictureFile: cannot start the JPEG decoder");
  int width = 0;
  int height = 0;
  int subsampling = 0;
  int colourspace = 0;
  if (tjDecompressHeader3(decoder.get(), bytes.data(), static_cast<unsigned long>(bytes.size()), &width,
                          &height, &subsampling, &colourspace) != 0) {
    fail("not a readable JPEG");
  }
  TBitmap bitmap(width, height, TPixelFormat::pf24bit);  // raises for sizes beyond the bitmap limit
  // The bitmap is bottom-up: its lowest address holds the picture's last row.
  const int flags = bitmap.TopDown() ? 0 : TJFLAG_BOTTOMUP;
  if (tjDecompress2(decoder.get(), bytes.data(), static_cast<unsigned long>(bytes.size()),
                    BitmapFirstRow(bitmap), width, bitmap.Stride(), height, TJPF_BGR, flags) != 0) {
    fail("damaged JPEG");
  }
  return bitmap;
}

// Lays the picture's alpha over white and drops it.
void FlattenOnWhite(TBitmap& bitmap) {
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    for (int32_t x = 0; x < bitmap.Width(); ++x, p += 4) {
      const int alpha = p[3];
      for (int c = 0; c < 3; ++c)
        p[c] = static_cast<uint8_t>((p[c] * alpha + 255 * (255 - alpha) + 127) / 255);
    }
  }
  bitmap.SetPixelFormat(TPixelFormat::pf24bit);
}

}  // namespace

TBitmap ReadPictureFile(const std::filesystem::path& path) {
  const std::vector<uint8_t> bytes = ReadAll(path);
  const auto startsWith = [&](std::initializer_list<uint8_t> magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
  };
  TBitmap bitmap;
  if (startsWith({0xFF, 0xD8, 0xFF})) return ReadJpeg(bytes, path);
  if (startsWith({0x89, 'P', 'N', 'G'})) {
    bitmap.LoadFromPng(bytes.data(), bytes.size());
    FlattenOnWhite(bitmap);
  } else if (startsWith({'B', 'M'})) {
    bitmap.LoadFromBmp(bytes.data(), bytes.size());
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
  } else {
    throw EVellmarError("ReadPictureFile: " + path.string() + " is not a PNG, JPEG or BMP file");
  }
  return bitmap;
}

}  // namespace vellmar
