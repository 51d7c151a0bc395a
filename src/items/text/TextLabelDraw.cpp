// The text label drawn every frame with the vector fonts.

#include <algorithm>
#include <cmath>

#include "items/text/TextLabelItem.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"
#include "render/FontsData.h"
#include "render/TextDrawing.h"

namespace vellmar {

namespace {

// Font pixels one screen pixel may span before the glyphs are too small to read.
constexpr double kPlaceholderFontPixels = 20.0;

}  // namespace

double TTextLabelItem::FontScale() const { return size_ / 100.0 / 15.625; }

TTextLabelItem::TTextBox TTextLabelItem::TextBox() const {
  const TDxFont& font = GetFont(fontName_, fontStyle_);
  const double width = StringWidth(font, text_) * FontScale();
  const double height = size_ / 16.0;
  const TAlignFactors factors = AlignFactors(align_);
  TTextBox box;
  box.X0 = factors.FX * width;
  box.X1 = box.X0 + width;
  box.Y0 = factors.FY * height;
  box.Y1 = box.Y0 + height;
  return box;
}

void TTextLabelItem::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TOrientPointItem::DrawImmediate(params, modes);
  if (Points().Count() < 1 || params.Renderer == nullptr) return;
  TdxRenderer& renderer = *params.Renderer;
  const TXYZ anchor = Points().GetVertex(0);
  const TTextBox box = TextBox();
  // Culled by the box's farthest corner from the anchor, so that a label reaching into
  // the view from outside it is drawn whichever way it is aligned and turned.
  const double reach = std::hypot(std::max(std::abs(box.X0), std::abs(box.X1)),
                                  std::max(std::abs(box.Y0), std::abs(box.Y1)));
  if (std::hypot(double{anchor.x} - params.Centre.x, double{anchor.y} - params.Centre.y) - reach > params.Radius)
    return;

  // Measured on the plan's own transform, whose inverse the renderer keeps between
  // labels.
  const double k = FontScale();
  const bool placeholder = renderer.PixelSize() / k >= kPlaceholderFontPixels;
  TMatrixShell& world = renderer.World();
  world.PushMatrix();
  world.Translate(false, anchor.x, anchor.y, anchor.z);
  world.RotateZ(false, -double{Orientation()});
  if (placeholder) {
    const auto x0 = static_cast<float>(box.X0), x1 = static_cast<float>(box.X1);
    const auto y0 = static_cast<float>(box.Y0), y1 = static_cast<float>(box.Y1);
    renderer.DrawPolyline({{x0, y0, 0}, {x0, y1, 0}, {x1, y1, 0}, {x1, y0, 0}, {x0, y0, 0}}, color_);
  } else {
    world.Scale(false, k, k, k);
    DrawString(GetFont(fontName_, fontStyle_), params, text_, !outline_, outline_, color_, align_);
  }
  world.PopMatrix();
}

}  // namespace vellmar
