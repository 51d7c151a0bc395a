// Arbitrary bytes as a picture file for the underlay importer's readers (JPEG, PNG,
// TIFF and BMP, told apart by their first bytes; the readers take a file, so the bytes
// go through one temporary file). Whatever opens must give its rows (up to a bound) or
// fail with EVellmarError; nothing may crash, read out of bounds, or take memory
// that the picture's declared size allows but the bytes do not hold. Seeds
// (corpus/PictureRowsFuzz): small pictures of every kind the readers take, written by
// tests/underlay/PictureSeedsTest.cpp.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "PictureFile.h"
#include "platform/Error.h"

namespace {

constexpr int kBandRows = 16;  // rows read at a time, as the pyramid writer reads them
// A few hundred bytes can declare a large picture that reads without error (TIFF tiles
// missing from the file read as zeros), so reading stops after this many pixels: an
// input is a few milliseconds, not seconds. Ends of pictures are met in smaller ones.
constexpr int64_t kMostPixelsRead = int64_t{1} << 22;

class TScratchFile {
 public:
  TScratchFile()
      : path_(std::filesystem::temp_directory_path() / ("vellmar-picture-fuzz-" + std::to_string(getpid()))) {
  }
  ~TScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  const std::filesystem::path& Write(const uint8_t* data, size_t size) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path_;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TScratchFile scratch;
  const std::filesystem::path& path = scratch.Write(data, size);
  try {
    const auto picture = vellmar::OpenPictureFile(path);
    const int width = picture->Width();
    const int height = picture->Height();
    if (width <= 0 || height <= 0) __builtin_trap();  // an empty picture must not open
    const size_t stride = size_t{3} * width;
    std::vector<uint8_t> band(stride * kBandRows);
    for (int y = 0; y < height && int64_t{y} * width < kMostPixelsRead; y += kBandRows) {
      const int count = std::min(kBandRows, height - y);
      try {
        picture->ReadRows(band.data(), static_cast<std::ptrdiff_t>(stride), count);
      } catch (const vellmar::EVellmarError&) {
        // A reader that failed is asked once more, as a careless caller might: it must
        // raise again, not reach into a decoder its error left half torn down.
        try {
          picture->ReadRows(band.data(), static_cast<std::ptrdiff_t>(stride), count);
        } catch (const vellmar::EVellmarError&) {
          return 0;
        }
        __builtin_trap();
      }
    }
  } catch (const vellmar::EVellmarError&) {
  }
  return 0;
}
