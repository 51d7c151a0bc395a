// The plan sheet on the plan: the paper's edge and inner frame kept in the kind's line
// collection, the stamps drawn every frame as nested streets.

#include <limits>

#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "geometry/Vector.h"
#include "items/plan/PlanDefineItem.h"
#include "items/plan/SheetLayout.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxDrawParams.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

namespace {

// Stamps are drawn with the first drawing mode only.
constexpr TModeSet kStampModes = 1u << 0;

// How many stamps are being drawn inside each other right now. Stamps hold streets that
// may hold sheets with stamps again; past the depth a stream may nest them to, a stamp
// is left out rather than followed down.
thread_local int drawDepth = 0;

class TDrawDepth {
 public:
  TDrawDepth() { ++drawDepth; }
  ~TDrawDepth() { --drawDepth; }
  TDrawDepth(const TDrawDepth&) = delete;
  TDrawDepth& operator=(const TDrawDepth&) = delete;
};

}  // namespace

void TPlanDefineItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections& collections = street.KindCollections(kKind);
  auto lines = std::make_unique<TDxLineCollection>();
  lines->SetColor(kFrameColor);
  collections.push_back(std::move(lines));
  collections.push_back(std::make_unique<TDxTriangleCollection>());
}

void TPlanDefineItem::BuildPrimitives() {
  Points().EnsurePolyline();
  const TSheetLayout layout = TSheetLayout::Of(*this);
  if (Points().Count() < 2 || !layout.Placeable()) return;
  auto& lines = dynamic_cast<TDxLineCollection&>(*Street().KindCollections(kKind).at(0));
  const std::array<TXYZ, 4> edge = layout.Edge();
  const std::array<TXYZ, 4> frame = layout.Frame();
  lines.AddClosedPolyline(this, edge);
  lines.AddClosedPolyline(this, frame);
}

void TPlanDefineItem::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TOrientPointItem::DrawImmediate(params, modes);
  const TSheetLayout layout = TSheetLayout::Of(*this);
  if (Points().Count() == 0 || !layout.Placeable() || drawDepth >= kMaxStampDepth) return;
  if (DistanceXYZ(params.Centre, layout.Origin) > layout.Reach() + params.Radius) return;
  // The stamp's items lie in millimetres about its own origin: none of them may cull
  // itself against the view.
  TDxDrawParams stampParams = params;
  stampParams.Centre = TXYZ{};
  stampParams.Radius = std::numeric_limits<float>::max();
  const TDrawDepth depth;
  for (int corner = 0; corner < kCorners; ++corner) {
    TStreetStructure* stamp = stamps_[static_cast<size_t>(corner)].get();
    if (stamp == nullptr) continue;
    layout.PlaceStamp(stamp->Placement(), static_cast<TCorner>(corner));
    stamp->Draw(stampParams, TKindRegistry::AllKinds(), kStampModes);
  }
}

}  // namespace vellmar
