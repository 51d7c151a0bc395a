#pragma once
// A glyph atlas: the 256 Windows-1251 characters of a face drawn once into one
// texture on a 16 x 16 grid of equal cells, with each character's texture rectangle.
// Atlas text is a row of textured quads (BuildTextQuads) that items add to a triangle
// collection sharing the atlas. Owned by the fonts data (FontsData.h).

#include <array>
#include <cstdint>

#include "render/TextureSurface.h"

namespace vellmar {

class TFontFace;

class TFontTexture final : public TTextureSurface {
 public:
  struct TCell {
    int32_t CellX = 0;  // the cell's top-left pixel in the atlas
    int32_t CellY = 0;
    int32_t CharHeight = 0;  // pixels, one more than the face reports
    int32_t CharWidth = 0;
    float U0 = 0.0f;  // normalised texture rectangle of the character
    float V0 = 0.0f;
    float DU = 0.0f;
    float DV = 0.0f;
  };

  // The picture of an atlas of AtlasSize x AtlasSize pixels (1024 or 256): white, each
  // character of the face at Points (96 dots per inch) drawn in TextRgb (0x00RRGGBB)
  // over a light halo of nine shifted copies in (240, 240, 240). A face too wide or
  // tall for its 16 x 16 cells to fit (a stand-in with wider glyphs than Arial's) is
  // drawn a little smaller until they do. White is the transparent colour and both
  // filters are anisotropic; the owner changes them as it needs.
  void BuildAtlas(TFontFace& Face, int32_t AtlasSize, double Points, uint32_t TextRgb);

  // The point size the atlas was drawn at.
  double Points() const { return points_; }
  const TCell& Cell(unsigned char Code) const { return cells_[Code]; }
  int32_t MaxHeight() const { return maxHeight_; }
  int32_t MaxWidth() const { return maxWidth_; }
  // 256 / atlas size: what the atlas pixels are worth in text units.
  double Scale() const { return scale_; }

 private:
  std::array<TCell, 256> cells_{};
  int32_t maxHeight_ = 0;
  int32_t maxWidth_ = 0;
  double scale_ = 1.0;
  double points_ = 0.0;
};

}  // namespace vellmar
