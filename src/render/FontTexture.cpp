#include "render/FontTexture.h"

#include <algorithm>
#include <cstring>

#include "platform/fonts/FontFace.h"

namespace vellmar {

namespace {

constexpr uint32_t kHaloRgb = 0xF0F0F0;
// Each try at a face too large for its cells draws it this much smaller.
constexpr double kShrinkStep = 0.95;
constexpr double kSmallestPoints = 4.0;

}  // namespace

void TFontTexture::BuildAtlas(TFontFace& Face, int32_t AtlasSize, double Points, uint32_t TextRgb) {
  scale_ = 256.0 / AtlasSize;
  for (points_ = Points;; points_ *= kShrinkStep) {
    Face.SetRasterPointSize(points_);
    maxHeight_ = 0;
    maxWidth_ = 0;
    for (int32_t code = 0; code < 256; ++code) {
      TCell& cell = cells_[static_cast<size_t>(code)];
      cell.CharHeight = Face.RasterTextHeight() + 1;
      cell.CharWidth = Face.RasterTextWidth(static_cast<unsigned char>(code)) + 1;
      maxHeight_ = std::max(maxHeight_, cell.CharHeight);
      maxWidth_ = std::max(maxWidth_, cell.CharWidth);
    }
    const bool fits = 16 * maxWidth_ <= AtlasSize && 16 * maxHeight_ <= AtlasSize;
    if (fits || points_ * kShrinkStep < kSmallestPoints) break;
  }
  const float size = static_cast<float>(AtlasSize);
  for (int32_t code = 0; code < 256; ++code) {
    TCell& cell = cells_[static_cast<size_t>(code)];
    cell.CellX = code % 16 * maxWidth_;
    cell.CellY = code / 16 * maxHeight_;
    cell.U0 = static_cast<float>(cell.CellX) / size;
    cell.DU = static_cast<float>(cell.CharWidth) / size;
    cell.V0 = static_cast<float>(cell.CellY + 1) / size;
    cell.DV = static_cast<float>(cell.CharHeight - 1) / size;
  }

  TBitmap picture(AtlasSize, AtlasSize, TPixelFormat::pf32bit);
  for (int32_t row = 0; row < AtlasSize; ++row)
    std::memset(picture.ScanLine(row), 0xFF, static_cast<size_t>(AtlasSize) * 4);
  for (int32_t code = 0; code < 256; ++code) {
    const TCell& cell = cells_[static_cast<size_t>(code)];
    const auto c = static_cast<unsigned char>(code);
    for (int32_t dy = -1; dy <= 1; ++dy)
      for (int32_t dx = -1; dx <= 1; ++dx) Face.DrawChar(picture, cell.CellX + 1 + dx, cell.CellY + dy, c, kHaloRgb);
    Face.DrawChar(picture, cell.CellX + 1, cell.CellY, c, TextRgb);
  }
  AssignBitmap(picture);
  SetTransparentColor(255, 255, 255);
  Settings().MinFilter = TTextureFilter::Anisotropic;
  Settings().MagFilter = TTextureFilter::Anisotropic;
}

}  // namespace vellmar
