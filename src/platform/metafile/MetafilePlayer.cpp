#include "platform/metafile/MetafilePlayer.h"

#include <cairo.h>

#include <cstring>
#include <memory>
#include <string>

#include "platform/Error.h"
#include "platform/metafile/RecordPlayers.h"

namespace vellmar {

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

}  // namespace

TBitmap PlayMetafile(const TMetafile& picture, int width, int height, TMetafilePlayback* report) {
  if (width < 3 || height < 3 || width > kMaxPlaybackSide || height > kMaxPlaybackSide) {
    throw EVellmarError("PlayMetafile: bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                        " out of range");
  }
  const std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), cairo_surface_destroy);
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) throw EVellmarError("PlayMetafile: out of memory");
  {
    const std::unique_ptr<cairo_t, void (*)(cairo_t*)> cr(cairo_create(surface.get()), cairo_destroy);
    cairo_set_source_rgb(cr.get(), 1, 0, 1);
    cairo_paint(cr.get());
    // Shapes are drawn without smoothing, as GDI draws them: a smoothed edge would blend
    // the sign's colours with the magenta that textures take as transparent, and leave
    // a pink fringe that no longer counts as transparent. Text stays smoothed; it lies
    // on the sign's face.
    cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
    // The picture fills the bitmap but for the one-pixel frame.
    const std::array<double, 4> target{1, 1, double(width - 1), double(height - 1)};
    TMetafilePlayback counts;
    switch (picture.Format()) {
      case TMetafileFormat::Enhanced: PlayEnhancedRecords(picture, cr.get(), target, counts); break;
      case TMetafileFormat::Placeable:
      case TMetafileFormat::Windows: PlayWindowsRecords(picture, cr.get(), target, counts); break;
      case TMetafileFormat::Empty: break;
    }
    if (report) *report = counts;
  }
  cairo_surface_flush(surface.get());

  TBitmap bitmap(width, height, TPixelFormat::pf32bit);
  const uint8_t* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < height; ++y) {
    const auto* source = reinterpret_cast<const uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    auto* row = reinterpret_cast<uint32_t*>(bitmap.ScanLine(y));
    const bool edgeRow = y == 0 || y == height - 1;
    for (int x = 0; x < width; ++x) {
      const uint32_t rgb = edgeRow || x == 0 || x == width - 1 ? kMagenta : source[x] & 0xFFFFFF;
      row[x] = 0xFF000000u | rgb;  // B, G, R, A in memory
    }
  }
  return bitmap;
}

int MetafileTextureSide(int32_t units) { return units > 3000 ? 1024 : units > 1000 ? 512 : 256; }

}  // namespace vellmar
