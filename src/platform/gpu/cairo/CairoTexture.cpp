#include "platform/gpu/cairo/CairoTexture.h"

#include <algorithm>
#include <cstring>

namespace vellmar {

namespace {

// More looks than this of one texture are not worth keeping: the oldest go.
constexpr size_t kMaxImages = 8;

struct TRgb {
  double R = 0.0, G = 0.0, B = 0.0;
};

TRgb RgbOf(uint32_t Argb) {
  return {static_cast<double>(Argb >> 16 & 0xFF) / 255.0, static_cast<double>(Argb >> 8 & 0xFF) / 255.0,
          static_cast<double>(Argb & 0xFF) / 255.0};
}

double Combine(uint32_t Op, double A1, double A2) {
  double c = 0.0;
  switch (Op) {
    case D3DTOP_SELECTARG1:
      c = A1;
      break;
    case D3DTOP_SELECTARG2:
      c = A2;
      break;
    case D3DTOP_MODULATE:
      c = A1 * A2;
      break;
    case D3DTOP_MODULATE2X:
      c = A1 * A2 * 2.0;
      break;
    case D3DTOP_MODULATE4X:
      c = A1 * A2 * 4.0;
      break;
    case D3DTOP_ADD:
      c = A1 + A2;
      break;
    default:
      c = A1 + A2 - 0.5;
      break;
  }
  return std::clamp(c, 0.0, 1.0);
}

// One texel as stage 0 makes it (the operation's numbers as in GlDevice's shader).
uint32_t Texel(uint32_t Texel, const TTextureLook& Look) {
  const TRgb t = RgbOf(Texel), d = RgbOf(Look.Diffuse);
  const auto arg = [&](uint32_t a, double tc, double dc) { return a == D3DTA_TEXTURE ? tc : dc; };
  const uint32_t alpha = Look.Blend ? Texel >> 24 : 0xFFu;
  const auto channel = [&](double tc, double dc) {
    const double c = Combine(Look.ColorOp, arg(Look.ColorArg1, tc, dc), arg(Look.ColorArg2, tc, dc));
    // Cairo's images hold premultiplied colours.
    return static_cast<uint32_t>(c * alpha + 0.5);
  };
  return alpha << 24 | channel(t.R, d.R) << 16 | channel(t.G, d.G) << 8 | channel(t.B, d.B);
}

}  // namespace

CairoTexture::CairoTexture(uint32_t Width, uint32_t Height, std::weak_ptr<const CairoDevice*> Owner)
    : width_(Width), height_(Height), texels_(size_t{Width} * Height), owner_(std::move(Owner)) {}

CairoTexture::~CairoTexture() {
  DropImages();
}

void CairoTexture::DropImages() {
  for (TImage& image : images_) cairo_surface_destroy(image.Surface);
  images_.clear();
}

HRESULT CairoTexture::LockRect(uint32_t Level, D3DLOCKED_RECT& Locked, uint32_t /*Flags*/) {
  if (Level != 0 || locked_) return D3DERR_INVALIDCALL;
  locked_ = true;
  Locked.Pitch = static_cast<int32_t>(width_ * 4);
  Locked.pBits = texels_.data();
  return D3D_OK;
}

HRESULT CairoTexture::UnlockRect(uint32_t Level) {
  if (Level != 0 || !locked_) return D3DERR_INVALIDCALL;
  locked_ = false;
  DropImages();
  return D3D_OK;
}

bool CairoTexture::BelongsTo(const CairoDevice* Device) const {
  const std::shared_ptr<const CairoDevice*> owner = owner_.lock();
  return owner && *owner == Device;
}

cairo_surface_t* CairoTexture::Image(const TTextureLook& Look) {
  for (const TImage& image : images_)
    if (image.Look == Look) return image.Surface;
  if (images_.size() == kMaxImages) {
    cairo_surface_destroy(images_.front().Surface);
    images_.erase(images_.begin());
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width_),
                                                        static_cast<int>(height_));
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  if (data != nullptr) {
    for (uint32_t y = 0; y < height_; ++y) {
      unsigned char* row = data + static_cast<ptrdiff_t>(y) * stride;
      for (uint32_t x = 0; x < width_; ++x) {
        const uint32_t texel = Texel(texels_[size_t{y} * width_ + x], Look);
        std::memcpy(row + 4 * size_t{x}, &texel, 4);
      }
    }
  }
  cairo_surface_mark_dirty(surface);
  images_.push_back(TImage{Look, surface});
  return surface;
}

}  // namespace vellmar
