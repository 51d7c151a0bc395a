// The painted text drawn: its glyphs every frame, its designation label when it changes.

#include <string_view>

#include "document/StreetStructure.h"
#include "geometry/Vector.h"
#include "items/road/AtlasLabels.h"
#include "items/road/MarkingFont.h"
#include "items/road/RazmetTextItem.h"
#include "items/road/SymbolLabels.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"
#include "render/MatrixShell.h"

namespace vellmar {

namespace {

// Large markings stretch the letters this much along their height.
constexpr double kBigStretch = 2.5;
// Reach of a text beyond its point: a letter's advance per character, plus its height.
constexpr double kReachPerCharacter = 0.6;

}  // namespace

void TRazmetTextItem::InitKindCollections(TStreetStructure& street) {
  InitSymbolLabelCollection(street, kKindIndex);
}

void TRazmetTextItem::BuildPrimitives() {
  TSymbolLabelFrame frame;
  if (!SymbolLabelFrame(*this, frame)) return;
  TAtlasLabels labels(SymbolLabelCollection(*this), this);
  const std::string_view label = GostLabel();
  const double a = MarkingFont().TextAdvance(text_), w = labels.Width(label), h = labels.Height();
  TMatrixShell& local = labels.Local();
  PlaceSymbolLabel(local, frame);
  // Beside the text's middle, on its right-hand side as it reads.
  if (frame.Flipped) {
    local.Translate(false, -kSymbolLabelGap, -a / 2, 0);
  } else {
    local.Translate(false, kSymbolLabelGap, a / 2, 0);
  }
  local.Scale(false, kSymbolLabelScale, kSymbolLabelScale, kSymbolLabelScale);
  local.Translate(false, frame.Flipped ? -w : 0, -h / 2, 0);
  labels.Add(label);
}

void TRazmetTextItem::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TOrientPointItem::DrawImmediate(params, modes);
  if (Points().Count() < 1 || params.Renderer == nullptr) return;
  const TXYZ at = Points().GetVertex(0);
  const double reach = kReachPerCharacter * static_cast<double>(text_.size()) + TMarkingFont::kLetterHeight;
  if (DistanceXYZ(at, params.Centre) - reach > params.Radius) return;
  if (letters_.empty()) {
    const TMarkingFont& font = MarkingFont();
    double pen = 0.0;
    for (const char c : text_) {
      const TSymbolGlyph& glyph = font.Glyph(static_cast<unsigned char>(c));
      for (TDxVertex v : glyph.Triangles) {
        v.X = static_cast<float>(v.X + pen);
        letters_.push_back(v);
      }
      pen += glyph.Advance;
    }
  }
  if (letters_.size() < 3) return;
  // One transform and one draw call a text: a frame of many texts stays close to the
  // cost of the same triangles drawn from a collection.
  TMatrixShell place;
  place.Translate(false, at.x, at.y, at.z);
  place.RotateZ(false, -Orientation());
  if (Street().ArrowBig()) place.Scale(false, 1, kBigStretch, 1);
  TdxRenderer& renderer = *params.Renderer;
  renderer.BindTexture(nullptr);
  TMatrixShell& world = renderer.World();
  world.PushMatrix();
  world.Multiply(place.GetMatrix(), /*after=*/false);
  renderer.DrawVertexTriangles(letters_);
  world.PopMatrix();
}

}  // namespace vellmar
