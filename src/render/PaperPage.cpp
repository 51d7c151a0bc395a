#include "render/PaperPage.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "platform/Error.h"
#include "platform/gpu/cairo/CairoDevice.h"
#include "render/DisplayRenderer.h"

namespace vellmar {

namespace {
constexpr uint32_t kWhite = 0xFFFFFFFFu;
}  // namespace

void DrawPaperPage(cairo_t* Cairo, const TPaper& Paper, double UnitsPerMm, const TPdfDocument::TDrawPage& Draw) {
  Paper.Check("DrawPaperPage");
  const double width = Paper.WidthMm * UnitsPerMm, height = Paper.HeightMm * UnitsPerMm;
  const double lineMm = Paper.LineWidthMm > 0.0 ? Paper.LineWidthMm : 25.4 / Paper.Dpi;
  CairoDevice* device = nullptr;
  std::string failure;
  TDisplayRenderer renderer(
      static_cast<int32_t>(Paper.PixelWidth()), static_cast<int32_t>(Paper.PixelHeight()),
      [&](std::unique_ptr<IGpuDevice>& made) {
        auto cairoDevice = std::make_unique<CairoDevice>(Cairo, Paper.PixelWidth(), Paper.PixelHeight(), width,
                                                         height, lineMm * UnitsPerMm);
        device = cairoDevice.get();
        made = std::move(cairoDevice);
        return D3D_OK;
      },
      [&](const std::string& message) { failure = message; });
  if (!renderer.HasDevice()) throw EVellmarError("DrawPaperPage: " + failure);
  renderer.BeginFrame();
  renderer.SetAmbientColor(kWhite);
  renderer.ResetMatrices();
  Draw(renderer, *device);
  renderer.EndFrame();
  renderer.PresentFrame();
}

TOffscreenFrame RenderPaperPicture(const TPaper& Paper, uint32_t Width, const TPdfDocument::TDrawPage& Draw) {
  Paper.Check("RenderPaperPicture");
  const double unitsPerMm = Width / Paper.WidthMm;
  const auto height = static_cast<uint32_t>(std::max(1.0, std::nearbyint(Paper.HeightMm * unitsPerMm)));
  const std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(Width), static_cast<int>(height)),
      cairo_surface_destroy);
  const std::unique_ptr<cairo_t, void (*)(cairo_t*)> cairo(cairo_create(surface.get()), cairo_destroy);
  cairo_set_source_rgb(cairo.get(), 1, 1, 1);
  cairo_paint(cairo.get());
  DrawPaperPage(cairo.get(), Paper, unitsPerMm, Draw);
  cairo_surface_flush(surface.get());
  if (cairo_status(cairo.get()) != CAIRO_STATUS_SUCCESS)
    throw EVellmarError(std::string("RenderPaperPicture: ") + cairo_status_to_string(cairo_status(cairo.get())));
  TOffscreenFrame frame{Width, height, std::vector<uint32_t>(size_t{Width} * height)};
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  // Opaque on white: Cairo's premultiplied words are the colours themselves.
  for (uint32_t y = 0; y < height; ++y)
    std::memcpy(&frame.Pixels[size_t{y} * Width], data + static_cast<ptrdiff_t>(y) * stride, size_t{Width} * 4);
  return frame;
}

}  // namespace vellmar
