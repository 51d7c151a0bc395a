// The arrows drawn: the library's outline at every point but the last, and its label.

#include <cmath>
#include <memory>
#include <numbers>
#include <optional>

#include "document/StreetStructure.h"
#include "geometry/Vector.h"
#include "items/road/ArrowLibrary.h"
#include "items/road/ArrowRazmetItem.h"
#include "items/road/AtlasLabels.h"
#include "items/road/AxisDirection.h"
#include "items/road/ModeSets.h"
#include "items/road/SymbolLabels.h"
#include "items/road/SymbolGlyphs.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

void TArrowRazmetItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections& collections = street.KindCollections(kKindIndex);
  auto fills = std::make_unique<TDxTriangleCollection>();
  fills->SetColor(kSymbolInk);
  collections.push_back(std::move(fills));
  auto outlines = std::make_unique<TDxLineCollection>();
  outlines->SetColor(kSymbolInk);
  collections.push_back(std::move(outlines));
  collections.push_back(std::make_unique<TDxTriangleCollection>());
}

void TArrowRazmetItem::BuildPrimitives() {
  if (arrowIndex_ < 0 || arrowIndex_ >= ArrowLibrary().Count()) return;
  const TArrowType& type = ArrowLibrary().Type(arrowIndex_);
  const TArrowOutline& outline = Street().ArrowBig() ? type.Big : type.Normal;
  const TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  auto& fills = dynamic_cast<TDxTriangleCollection&>(*collections.at(0));
  auto& outlines = dynamic_cast<TDxLineCollection&>(*collections.at(1));
  auto& labelCollection = dynamic_cast<TDxTriangleCollection&>(*collections.at(2));
  fills.SetModeSet(kPlanModes);
  outlines.SetModeSet(kPlanModes);
  labelCollection.SetModeSet(kPlanModes);
  labelCollection.SetColor(0);
  TAtlasLabels labels(labelCollection, this);
  const double w = labels.Width(type.GostSubName), h = labels.Height();

  for (int32_t i = 0; i + 1 < Points().Count(); ++i) {
    const TXYZ from = Points().GetVertex(i);
    const double direction = AngleOf(SubXYZ(from, Points().GetVertex(i + 1)));
    for (TMatrixShell* local : {&fills.Local(), &outlines.Local()}) {
      local->LoadIdentity();
      local->Translate(false, from.x, from.y, from.z);
      local->RotateZ(false, -direction);
      if (type.MirrorY) local->Scale(false, 1, -1, 1);
    }
    fills.AddTriangles(this, outline.Triangles);
    outlines.AddClosedPolyline(this, outline.Points);
    fills.Local().LoadIdentity();
    outlines.Local().LoadIdentity();

    if (type.GostSubName.empty()) continue;
    // Against the axis the label turns round, so that it reads along the axis.
    const std::optional<double> axis = AxisDirectionAt(*this, from);
    const bool turned = axis && std::cos(direction - *axis) < 0;
    TMatrixShell& local = labels.Local();
    local.Translate(false, from.x, from.y, from.z);
    local.RotateZ(false, -(turned ? direction + std::numbers::pi : direction));
    local.Scale(false, kSymbolLabelScale, kSymbolLabelScale, kSymbolLabelScale);
    local.Translate(false, turned ? 0 : -w, -h / 2, 0);
    labels.Add(type.GostSubName);
  }
}

}  // namespace vellmar
