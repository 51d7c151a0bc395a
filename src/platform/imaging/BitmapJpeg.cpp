// JPEG through libjpeg-turbo's TurboJPEG interface, which reports errors through its
// handle instead of by long jumps across our frames.

#include <turbojpeg.h>

#include <cstring>
#include <string>

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "platform/imaging/Bitmap.h"

namespace vellmar {

namespace {

// Frees the compressor and its output buffer on every way out.
class TJpegCompressor {
 public:
  TJpegCompressor() : handle_(tjInitCompress()) {
    if (!handle_) throw EVellmarError(std::string("TBitmap.SaveToJpeg: ") + tjGetErrorStr2(nullptr));
  }
  ~TJpegCompressor() {
    tjFree(buffer_);
    tjDestroy(handle_);
  }
  TJpegCompressor(const TJpegCompressor&) = delete;
  TJpegCompressor& operator=(const TJpegCompressor&) = delete;

  void Compress(const uint8_t* rows, int width, int height, int quality, std::vector<uint8_t>& out) {
    unsigned long size = 0;
    // Full-resolution colour: plans are thin coloured lines, which 4:2:0 would smear.
    if (tjCompress2(handle_, rows, width, width * 3, height, TJPF_BGR, &buffer_, &size, TJSAMP_444, quality,
                    TJFLAG_ACCURATEDCT) != 0) {
      throw EVellmarError(std::string("TBitmap.SaveToJpeg: ") + tjGetErrorStr2(handle_));
    }
    out.insert(out.end(), buffer_, buffer_ + size);
  }

 private:
  tjhandle handle_;
  unsigned char* buffer_ = nullptr;
};

}  // namespace

void TBitmap::SaveToJpeg(std::vector<uint8_t>& out, int quality) const {
  if (Empty()) throw EVellmarError("TBitmap.SaveToJpeg: an empty bitmap has no JPEG form");
  if (quality < 1 || quality > 100) {
    throw EVellmarError("TBitmap.SaveToJpeg: quality " + std::to_string(quality) + " is not 1 to 100");
  }
  TBitmap converted = *this;
  converted.SetPixelFormat(TPixelFormat::pf24bit);
  // Top row first and packed, as the compressor takes them.
  const int32_t width = converted.Width(), height = converted.Height();
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  std::vector<uint8_t> rows(rowBytes * static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) std::memcpy(&rows[rowBytes * static_cast<size_t>(y)], converted.ScanLine(y), rowBytes);
  TJpegCompressor().Compress(rows.data(), width, height, quality, out);
}

void TBitmap::SaveToJpegFile(const std::filesystem::path& path, int quality) const {
  std::vector<uint8_t> jpeg;
  SaveToJpeg(jpeg, quality);
  TAtomicFile file(path);
  file.Stream().Write(jpeg.data(), jpeg.size());
  file.Commit();
}

}  // namespace vellmar
