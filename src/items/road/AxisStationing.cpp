// The axis drawn: its line, vertex marks and the ticks of its stationing.

#include <algorithm>
#include <cmath>
#include <memory>

#include "document/StreetStructure.h"
#include "items/road/AxisItem.h"
#include "items/road/ModeSets.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxLineCollection.h"

namespace vellmar {

namespace {

// Half the diagonal of the diamond marking each control point.
constexpr float kVertexMark = 0.2f;
// Short ticks run 0.5 m to either side of the axis.
constexpr double kShortTick = 0.5;
// More ticks than this on one axis come only from a damaged step; they would freeze
// the build, so such a series is left out.
constexpr int64_t kMaxTicks = 1'000'000;

// The last tick index, trunc(length / step); -1 (no ticks) beyond kMaxTicks.
int64_t TickCount(double length, double step) {
  const double count = std::trunc(length / step);
  return count <= static_cast<double>(kMaxTicks) ? static_cast<int64_t>(count) : -1;
}

// The tick across the axis at a station, from +half to -half.
void AddTick(TDxLineCollection& lines, const TAbstractItem* owner, TPointList& points, double station,
             double half) {
  const double parameter = points.ParamAtStation(station);
  lines.AddSegments(owner, TXYZArray{points.OffsetPointAt(half, parameter), points.OffsetPointAt(-half, parameter)});
}

}  // namespace

void TAxisItem::InitKindCollections(TStreetStructure& street) {
  auto lines = std::make_unique<TDxLineCollection>();
  lines->SetColor(MakeColor(70, 70, 70, 255));
  street.KindCollections(kKindIndex).push_back(std::move(lines));
}

void TAxisItem::BuildPrimitives() {
  TPointList& points = Points();
  const TXYZArray& polyline = points.Polyline();
  auto& lines = dynamic_cast<TDxLineCollection&>(*Street().KindCollections(kKindIndex).at(0));
  lines.SetColor(colour_);

  lines.SetModeSet(drawLine_ ? kPlanModes : kConstructionModes);
  lines.AddPolyline(this, polyline);

  lines.SetModeSet(kConstructionModes);
  for (int32_t i = 0; i < points.Count(); ++i) {
    const TXYZ v = points.GetVertex(i);
    lines.AddPolyline(this, TXYZArray{{v.x + kVertexMark, v.y, v.z},
                                      {v.x, v.y + kVertexMark, v.z},
                                      {v.x - kVertexMark, v.y, v.z},
                                      {v.x, v.y - kVertexMark, v.z},
                                      {v.x + kVertexMark, v.y, v.z}});
  }

  lines.SetModeSet(kPlanModes);
  const std::vector<float>& stations = points.Stations();
  const double length = stations.empty() ? 0.0 : stations.back();
  // A step that is not a positive number would give no or endless ticks.
  if (!(picketStep_ > 0.0f) || !std::isfinite(picketStep_)) return;
  if (shortPickets_) {
    const double step = picketStep_ * 0.1;
    const int64_t count = TickCount(length, step);
    for (int64_t e = 0; e <= count; ++e) {
      if (e % 10 != 0) AddTick(lines, this, points, static_cast<double>(e) * step, kShortTick);
    }
  }
  if (markPickets_) {
    const int64_t count = TickCount(length, picketStep_);
    for (int64_t k = 0; k <= count; ++k)
      AddTick(lines, this, points, static_cast<double>(k) * picketStep_, markWidth_);
  }
}

}  // namespace vellmar
