#include "render/DxFont.h"

#include <utility>

#include "platform/fonts/FontFace.h"
#include "render/DxTesselator3.h"

namespace vellmar {

namespace {

std::unique_ptr<TCharOutLine> MakeChar(const TGlyphOutline& glyph, TDxTesselator3& tesselator) {
  auto out = std::make_unique<TCharOutLine>();
  out->Contours = glyph.Contours;
  out->AdvanceX = glyph.AdvanceX;
  out->AdvanceY = glyph.AdvanceY;
  out->BoxLeft = glyph.BoxLeft;
  out->BoxTop = glyph.BoxTop;
  out->BoxRight = glyph.BoxLeft + glyph.BoxWidth;
  out->BoxBottom = glyph.BoxTop - glyph.BoxHeight;

  // All contours in one run, so counters (the hole of an "O") stay empty. A failed
  // run keeps the triangles made before the failure. One tessellator serves every
  // glyph of the face, cleared between them, so that its memory is made once.
  tesselator.Clear();
  for (const TXYZArray& contour : out->Contours) tesselator.AddContour(contour);
  tesselator.Proceed();
  const std::span<const TXYZ* const> result = tesselator.Result();
  out->Triangles.reserve(result.size());
  for (const TXYZ* point : result) out->Triangles.push_back(*point);

  for (const TXYZArray& contour : out->Contours) {
    for (size_t i = 0; i < contour.size(); ++i) {
      out->OutlineSegments.push_back(contour[i]);
      out->OutlineSegments.push_back(contour[(i + 1) % contour.size()]);
    }
  }
  return out;
}

}  // namespace

TFontGlyphs::TFontGlyphs(TFontFace& Face) : Decorations(Face.Decorations(kOutlineEmPixels)) {
  TDxTesselator3 tesselator;
  for (int32_t code = 0; code < kCodeCount; ++code)
    Chars[static_cast<size_t>(code)] =
        MakeChar(Face.Outline(static_cast<unsigned char>(code), kOutlineEmPixels), tesselator);
}

TFontGlyphs::TFontGlyphs() {
  for (auto& c : Chars) c = std::make_unique<TCharOutLine>();
}

TDxFont::TDxFont(std::shared_ptr<TFontGlyphs> Glyphs, std::string Name, TFontStyle Style)
    : glyphs_(std::move(Glyphs)), name_(std::move(Name)), style_(Style) {}

}  // namespace vellmar
