#include "PictureFile.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "BmpRows.h"
#include "JpegRows.h"
#include "PngRows.h"
#include "TiffRows.h"
#include "platform/Error.h"
#include "platform/FileStream.h"

namespace vellmar {

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
  if (startsWith({0x89, 'P', 'N', 'G'})) return OpenPngRows(path);
  // Classic TIFF (42) and BigTIFF (43), either byte order.
  if (startsWith({'I', 'I', 42, 0}) || startsWith({'M', 'M', 0, 42}) || startsWith({'I', 'I', 43, 0}) ||
      startsWith({'M', 'M', 0, 43})) {
    return OpenTiffRows(path);
  }
  if (startsWith({'B', 'M'})) return OpenBmpRows(path);
  throw EVellmarError("ReadPictureFile: " + path.string() + " is not a PNG, JPEG, TIFF or BMP file");
}

}  // namespace vellmar
