// The sign duplicate drawn: frame and sign every frame, its two labels when it changes.

#include <algorithm>
#include <string>

#include "document/StreetStructure.h"
#include "geometry/Vector.h"
#include "items/road/AtlasLabels.h"
#include "items/road/RazmetZnakItem.h"
#include "items/road/SignDuplicates.h"
#include "items/road/SymbolLabels.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"

namespace vellmar {

namespace {

constexpr double kMillimetre = 0.001;
// Reach of a painted sign beyond its point: twice its height.
constexpr double kReach = 3.2;

}  // namespace

void TRazmetZnakItem::InitKindCollections(TStreetStructure& street) {
  InitSymbolLabelCollection(street, kKindIndex);
}

void TRazmetZnakItem::BuildPrimitives() {
  TSymbolLabelFrame frame;
  if (!SymbolLabelFrame(*this, frame)) return;
  TAtlasLabels labels(SymbolLabelCollection(*this), this);
  const std::string gost(GostLabel());
  const std::string name = "(" + signName_ + ")";
  const double widest = std::max(labels.Width(gost), labels.Width(name)), h = labels.Height();
  for (const auto& [text, down] : {std::pair{&gost, 0.0}, std::pair{&name, h}}) {
    TMatrixShell& local = labels.Local();
    PlaceSymbolLabel(local, frame);
    local.Translate(false, frame.Flipped ? -kSymbolLabelGap : kSymbolLabelGap, 0, 0);
    local.Scale(false, kSymbolLabelScale, kSymbolLabelScale, kSymbolLabelScale);
    local.Translate(false, frame.Flipped ? -widest : 0, -down, 0);
    labels.Add(*text);
  }
}

void TRazmetZnakItem::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TOrientPointItem::DrawImmediate(params, modes);
  if (Points().Count() < 1 || params.Renderer == nullptr) return;
  const TSignDuplicates& library = SignDuplicates();
  if (!resolved_) {
    frameGlyph_ = library.FrameIndexOf(signName_);
    signGlyph_ = signName_.empty() ? -1 : library.LastIndexOf(signName_);
    resolved_ = true;
  }
  const TXYZ at = Points().GetVertex(0);
  if (DistanceXYZ(at, params.Centre) - kReach > params.Radius) return;
  TdxRenderer& renderer = *params.Renderer;
  renderer.BindTexture(nullptr);
  TMatrixShell& world = renderer.World();
  world.PushMatrix();
  world.Translate(false, at.x, at.y, at.z);
  world.RotateZ(false, -Orientation());
  world.Scale(false, kMillimetre, kMillimetre, kMillimetre);
  if (frameGlyph_ < 0 && signGlyph_ < 0) DrawGlyph(renderer, TSignDuplicates::Placeholder());
  for (const int32_t index : {frameGlyph_, signGlyph_}) {
    if (index >= 0) DrawGlyph(renderer, library.Entry(index).Glyph);
  }
  world.PopMatrix();
}

}  // namespace vellmar
