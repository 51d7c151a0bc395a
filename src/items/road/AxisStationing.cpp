// The axis drawn: its line, vertex marks, and the ticks and labels of its stationing.

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "document/StreetStructure.h"
#include "items/road/AtlasLabels.h"
#include "items/road/AxisItem.h"
#include "items/road/ModeSets.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Numbers.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

namespace {

constexpr std::string_view kAxisPrefix = "Ось "_cp1251;
constexpr std::string_view kPicketPrefix = "ПК "_cp1251;

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

}  // namespace

void TAxisItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections& collections = street.KindCollections(kKindIndex);
  auto lines = std::make_unique<TDxLineCollection>();
  lines->SetColor(MakeColor(70, 70, 70, 255));
  collections.push_back(std::move(lines));
  collections.push_back(std::make_unique<TDxTriangleCollection>());
}

void TAxisItem::BuildPrimitives() {
  TPointList& points = Points();
  const TXYZArray& polyline = points.Polyline();
  const TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  auto& lines = dynamic_cast<TDxLineCollection&>(*collections.at(0));
  auto& labels = dynamic_cast<TDxTriangleCollection&>(*collections.at(1));
  lines.SetColor(colour_);
  labels.SetColor(0);
  labels.SetModeSet(kPlanModes);

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
  if (!(picketStep_ > 0.0f) || !std::isfinite(picketStep_) || (!shortPickets_ && !markPickets_)) return;
  TAtlasLabels writer(labels, this);
  TMatrixShell& local = writer.Local();
  // The tick across the axis at a station, from +half to -half; the direction there.
  const auto tick = [&](double station, double half) {
    const double parameter = points.ParamAtStation(station);
    lines.AddSegments(this, TXYZArray{points.OffsetPointAt(half, parameter), points.OffsetPointAt(-half, parameter)});
    return parameter;
  };
  // Moves Local to a point and turns it by angle (counter-clockwise).
  const auto place = [&](const TXYZ& at, double angle) {
    local.LoadIdentity();
    local.Translate(false, at.x, at.y, at.z);
    local.RotateZ(false, -angle);
  };

  if (shortPickets_) {
    const double step = picketStep_ * 0.1;
    const int64_t count = TickCount(length, step);
    for (int64_t e = 0; e <= count; ++e) {
      if (e % 10 == 0) continue;
      const double parameter = tick(static_cast<double>(e) * step, kShortTick);
      const std::string text = FormatFixedWidth(static_cast<double>(e % 10) * step, 2, 0);
      place(points.PointAt(parameter), points.AngleAt(parameter));
      local.Translate(false, 0, 0.5, 0);
      local.Scale(false, 0.08, 0.07, 0.07);
      local.Translate(false, -0.5 * writer.Width(text), 0.1 * writer.Height(), 0);
      writer.Add(text);
    }
  }
  if (markPickets_) {
    const std::string name = axisName_.empty() ? std::string() : std::string(kAxisPrefix) + axisName_;
    const int64_t count = TickCount(length, picketStep_);
    for (int64_t k = 0; k <= count; ++k) {
      const double parameter = tick(static_cast<double>(k) * picketStep_, markWidth_);
      const std::string picket = std::string(kPicketPrefix) + std::to_string(k);
      // Across the road, towards the tick's +MarkWidth end.
      const double across = points.AngleAt(parameter) + std::numbers::pi / 2;
      const double wP = writer.Width(picket), h = writer.Height(), wN = writer.Width(name);
      struct TPlacement {
        const std::string* Text;
        TXYZ Anchor;
        double Along;  // moved along the turned frame's x before scaling
        double ShiftX, ShiftY;
      };
      const TXYZ centre = points.PointAt(parameter);
      const TPlacement placements[4] = {
          {&picket, points.OffsetPointAt(markWidth_, parameter), 0, -1.1 * wP, -1.1 * h},
          {&picket, points.OffsetPointAt(-markWidth_, parameter), 0, 0.1 * wP, -1.1 * h},
          {&name, centre, markWidth_, -1.1 * wN, 0.1 * h},
          {&name, centre, -markWidth_, 0.1 * wN, 0.1 * h},
      };
      for (const TPlacement& p : placements) {
        if (p.Text->empty()) continue;
        place(p.Anchor, across);
        local.Translate(false, p.Along, 0, 0);
        local.Scale(false, 0.08, 0.1, 0.1);
        local.Translate(false, p.ShiftX, p.ShiftY, 0);
        writer.Add(*p.Text);
      }
    }
  }
}

}  // namespace vellmar
