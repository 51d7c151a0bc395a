// The label place drawn: its construction line, and the designation of every line
// marking it crosses, written beside the marking's band.

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <optional>
#include <string>

#include "document/LnParam.h"
#include "document/StreetStructure.h"
#include "geometry/Vector.h"
#include "items/road/AtlasLabels.h"
#include "items/road/AxisDirection.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/ModeSets.h"
#include "items/road/SymbolLabels.h"
#include "items/road/RazmetLabelPlaceItem.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

namespace {

// A marking closer than this to square to the axis reads as running against it.
constexpr double kAgainstAxis = 0.1;

// The designation as written: the library name up to its first "_", yellow markings
// marked as such.
std::string Designation(const std::string& gostName) {
  std::string text = gostName.substr(0, gostName.find('_'));
  if (text == "1.4" || text == "1.10") text += "(желтая)"_cp1251;
  return text;
}

// How far across from the marking's line its label goes: to the band edge on the side
// the label lies, mirrored with the marking, from the side the place comes from, and
// turned with the label.
double LateralShift(const LnParam& param, bool mirror, bool side, bool flip) {
  const double lo = std::min(param.Disp1, param.Disp2), hi = std::max(param.Disp1, param.Disp2);
  const double shifts[8] = {hi, -lo, lo, -hi, -lo, hi, -hi, lo};
  return shifts[(mirror ? 1 : 0) + (side ? 2 : 0) + (flip ? 4 : 0)];
}

}  // namespace

void TRazmetLabelPlaceItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections& collections = street.KindCollections(kKindIndex);
  auto line = std::make_unique<TDxLineCollection>();
  line->SetColor(MakeColor(150, 150, 1, 255));
  collections.push_back(std::move(line));
  collections.push_back(std::make_unique<TDxTriangleCollection>());
}

void TRazmetLabelPlaceItem::BuildPrimitives() {
  TPointList& points = Points();
  points.EnsurePolyline();
  points.SetModified(false);
  const TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  auto& line = dynamic_cast<TDxLineCollection&>(*collections.at(0));
  line.SetModeSet(kConstructionModes);
  const TXYZArray control = points.GetVertices();
  line.AddPolyline(this, control);
  if (control.size() < 2) return;

  auto& labelCollection = dynamic_cast<TDxTriangleCollection&>(*collections.at(1));
  labelCollection.SetModeSet(kPlanModes);
  labelCollection.SetColor(0);
  TAtlasLabels labels(labelCollection, this);
  const TLnParams& params = Street().GetLineParams();
  double size = Street().SignScale() * kSymbolLabelScale;
  if (size == 0.0) size = kSymbolLabelScale;
  TItemList& markings = Street().ItemList(TLineRazmetItem::kKindIndex);
  for (size_t i = 0; i + 1 < control.size(); ++i) {
    const double segment = AngleOf(SubXYZ(control[i], control[i + 1]));
    for (int32_t m = 0; m < markings.Count(); ++m) {
      auto* marking = dynamic_cast<TLineRazmetItem*>(markings.Items(m));
      if (marking == nullptr || !marking->Active()) continue;
      const int32_t index = marking->ParamIndex();
      // Without its library record a marking has no band to write beside.
      if (index < 0 || static_cast<size_t>(index) >= params.size()) continue;
      TPolylineCrossing crossing;
      if (!marking->Points().Intersect(control[i], control[i + 1], -1.0, crossing)) continue;
      const TXYZ q = marking->Points().PointAt(crossing.Parameter);
      double r = marking->Points().AngleAt(crossing.Parameter);
      bool flip = false;
      if (const std::optional<double> axis = AxisDirectionAt(*this, q); axis && std::cos(r - *axis) < kAgainstAxis) {
        r += std::numbers::pi;
        flip = true;
      }
      const bool side = std::sin(r - segment) > 0;
      const double g = LateralShift(params[static_cast<size_t>(index)], marking->Mirror(), side, flip);
      const std::string text = Designation(marking->GostName());
      TMatrixShell& local = labels.Local();
      local.Translate(false, q.x, q.y, q.z);
      local.RotateZ(false, -r);
      local.Translate(false, 0, g, 0);
      local.Scale(false, size, size, size);
      local.Translate(false, -labels.Width(text) / 2, side ? -labels.Height() : 0.0, 0);
      labels.Add(text);
    }
  }
}

}  // namespace vellmar
