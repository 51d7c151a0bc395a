#include "platform/metafile/GdiBitmaps.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/Error.h"
#include "platform/metafile/GdiCanvas.h"

namespace vellmar {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

void PutU32(std::vector<uint8_t>& bytes, std::size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// An image surface of the bitmap's size, each row of 32-bit words written by fill(y, row).
template <typename TFill>
std::shared_ptr<cairo_surface_t> ImageSurface(const TBitmap& bitmap, cairo_format_t format, TFill fill) {
  auto surface = ShareSurface(cairo_image_surface_create(format, bitmap.Width(), bitmap.Height()));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_surface_flush(surface.get());
  uint8_t* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    fill(y, reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride));
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

}  // namespace

std::optional<TBitmap> DecodeDib(std::span<const uint8_t> info, std::span<const uint8_t> bits) {
  // The record's parts become a BMP file image: a file header, then the info, then
  // the bits right behind it.
  std::vector<uint8_t> file(kFileHeaderSize);
  file[0] = 'B';
  file[1] = 'M';
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), bits.begin(), bits.end());
  PutU32(file, 10, static_cast<uint32_t>(kFileHeaderSize + info.size()));
  TBitmap bitmap;
  try {
    bitmap.LoadFromBmp(file.data(), file.size());
  } catch (const EVellmarError&) {
    return std::nullopt;
  }
  if (bitmap.Empty()) return std::nullopt;
  return bitmap;
}

std::shared_ptr<cairo_surface_t> BitmapSurface(const TBitmap& bitmap) {
  return ImageSurface(bitmap, CAIRO_FORMAT_RGB24, [&](int32_t y, uint32_t* row) {
    for (int32_t x = 0; x < bitmap.Width(); ++x) row[x] = 0xFF000000u | bitmap.GetPixel(x, y);
  });
}

std::shared_ptr<cairo_surface_t> PremultipliedSurface(const TBitmap& bitmap) {
  return ImageSurface(bitmap, CAIRO_FORMAT_ARGB32, [&](int32_t y, uint32_t* row) {
    const uint8_t* in = bitmap.ScanLine(y);
    for (int32_t x = 0; x < bitmap.Width(); ++x, in += 4) {
      // Blue, green, red, alpha; a colour above its alpha is no premultiplied colour
      // and is held to it.
      const uint8_t alpha = in[3];
      const auto channel = [alpha](uint8_t c) { return uint32_t{std::min(c, alpha)}; };
      row[x] = uint32_t{alpha} << 24 | channel(in[2]) << 16 | channel(in[1]) << 8 | channel(in[0]);
    }
  });
}

bool TGdiCanvas::DrawBitmap(const TBitmap& bitmap, double xDest, double yDest, double cxDest, double cyDest,
                            double xSrc, double ySrc, double cxSrc, double cySrc, uint32_t rop) {
  cairo_operator_t op = CAIRO_OPERATOR_OVER;
  switch (rop) {
    case kRopSrcCopy: break;
    // On black-and-white masks these are the bitwise operations.
    case kRopSrcAnd: op = CAIRO_OPERATOR_MULTIPLY; break;
    case kRopSrcPaint: op = CAIRO_OPERATOR_LIGHTEN; break;
    case kRopSrcInvert: op = CAIRO_OPERATOR_DIFFERENCE; break;
    default: return false;
  }
  const auto surface = BitmapSurface(bitmap);
  return surface && PaintBitmapSurface(surface.get(), xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc, op, 1.0);
}

bool TGdiCanvas::BlendBitmap(const TBitmap& bitmap, double xDest, double yDest, double cxDest, double cyDest,
                             double xSrc, double ySrc, double cxSrc, double cySrc, uint8_t constantAlpha,
                             bool pixelAlpha) {
  if (pixelAlpha && bitmap.PixelFormat() != TPixelFormat::pf32bit) return false;
  const auto surface = pixelAlpha ? PremultipliedSurface(bitmap) : BitmapSurface(bitmap);
  return surface && PaintBitmapSurface(surface.get(), xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc,
                                       CAIRO_OPERATOR_OVER, constantAlpha / 255.0);
}

bool TGdiCanvas::PaintBitmapSurface(cairo_surface_t* surface, double xDest, double yDest, double cxDest,
                                    double cyDest, double xSrc, double ySrc, double cxSrc, double cySrc,
                                    cairo_operator_t op, double alpha) {
  if (!(cxSrc > 0 && cySrc > 0) || cxDest == 0 || cyDest == 0) return false;
  const auto m = LogicalToTarget();
  if (!m) return false;
  TPathKeeper keep(cr_, inPath_);
  cairo_save(cr_);
  cairo_new_path(cr_);
  cairo_set_matrix(cr_, &*m);
  cairo_translate(cr_, xDest, yDest);
  cairo_scale(cr_, cxDest / cxSrc, cyDest / cySrc);
  cairo_set_source_surface(cr_, surface, -xSrc, -ySrc);
  cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_PAD);
  // Enlarged bitmaps repeat their pixels, as GDI's default stretching does; reduced
  // ones are averaged so that thin lines of a large picture do not drop out.
  double unitX = 1, unitY = 0;
  cairo_user_to_device_distance(cr_, &unitX, &unitY);
  double unitX2 = 0, unitY2 = 1;
  cairo_user_to_device_distance(cr_, &unitX2, &unitY2);
  const bool enlarged = std::hypot(unitX, unitY) >= 1 && std::hypot(unitX2, unitY2) >= 1;
  cairo_pattern_set_filter(cairo_get_source(cr_), enlarged ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
  cairo_rectangle(cr_, 0, 0, cxSrc, cySrc);
  cairo_set_operator(cr_, op);
  if (alpha < 1.0) {
    cairo_clip(cr_);
    cairo_paint_with_alpha(cr_, alpha);
  } else {
    cairo_fill(cr_);
  }
  cairo_restore(cr_);
  return true;
}

}  // namespace vellmar
