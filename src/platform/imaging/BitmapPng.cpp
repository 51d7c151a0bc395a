// PNG through libpng's simplified interface, which handles every colour type, bit depth,
// transparency chunk and gamma and reports errors in the image record instead of by
// long jumps across our frames.

#include <png.h>

#include <string>
#include <utility>

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "platform/imaging/Bitmap.h"

namespace vellmar {

namespace {

// Frees libpng's reading state on every way out, also when a size check raises.
class TPngImage {
 public:
  TPngImage() { image_.version = PNG_IMAGE_VERSION; }
  ~TPngImage() { png_image_free(&image_); }
  TPngImage(const TPngImage&) = delete;
  TPngImage& operator=(const TPngImage&) = delete;
  png_image& operator*() { return image_; }
  png_image* operator->() { return &image_; }

 private:
  png_image image_{};
};

}  // namespace

void TBitmap::LoadFromPng(const uint8_t* data, size_t size) {
  TPngImage image;
  if (!png_image_begin_read_from_memory(&*image, data, size)) {
    throw EVellmarError(std::string("TBitmap.LoadFromPng: ") + image->message);
  }
  image->format = PNG_FORMAT_BGRA;
  if (image->width > INT32_MAX || image->height > INT32_MAX) {
    throw EVellmarError("TBitmap.LoadFromPng: " + std::to_string(image->width) + " x " +
                        std::to_string(image->height) + " pixels are too large");
  }
  TBitmap loaded;
  loaded.Allocate(static_cast<int32_t>(image->width), static_cast<int32_t>(image->height),
                  TPixelFormat::pf32bit, "TBitmap.LoadFromPng");
  // A negative row step: the bottom row comes first in memory.
  if (!png_image_finish_read(&*image, nullptr, loaded.pixels_.data(), -loaded.stride_, nullptr)) {
    throw EVellmarError(std::string("TBitmap.LoadFromPng: ") + image->message);
  }
  *this = std::move(loaded);
}

void TBitmap::SaveToPng(std::vector<uint8_t>& out, TPngAlpha alpha) const {
  if (Empty()) throw EVellmarError("TBitmap.SaveToPng: an empty bitmap has no PNG form");
  const bool withAlpha = format_ == TPixelFormat::pf32bit && alpha == TPngAlpha::Keep;
  const TPixelFormat wanted = withAlpha ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  const TBitmap* source = this;
  TBitmap converted;
  if (format_ != wanted || !(masks_ == StandardMasks(wanted))) {
    converted = *this;
    converted.SetPixelFormat(wanted);
    source = &converted;
  }

  TPngImage image;
  image->width = static_cast<png_uint_32>(width_);
  image->height = static_cast<png_uint_32>(height_);
  image->format = withAlpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
  const png_int_32 rowStep = topDown_ ? source->stride_ : -source->stride_;
  const size_t start = out.size();
  png_alloc_size_t bytes = PNG_IMAGE_PNG_SIZE_MAX(*image);
  out.resize(start + bytes);
  if (!png_image_write_to_memory(&*image, out.data() + start, &bytes, 0, source->pixels_.data(), rowStep,
                                 nullptr)) {
    out.resize(start);
    throw EVellmarError(std::string("TBitmap.SaveToPng: ") + image->message);
  }
  out.resize(start + bytes);
}

void TBitmap::SaveToPngFile(const std::filesystem::path& path, TPngAlpha alpha) const {
  std::vector<uint8_t> png;
  SaveToPng(png, alpha);
  TAtomicFile file(path);
  file.Stream().Write(png.data(), png.size());
  file.Commit();
}

}  // namespace vellmar
