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
// A series longer than this is not kept whole: a tiny step on a long axis (1 mm on
// 1 km) would take gigabytes of ticks and labels that no view can tell apart. Every
// m-th is kept instead, m the first of 1, 2, 5, 10, 20, 50, ... that brings the series
// within it.
constexpr int64_t kMaxTicks = 100'000;
// Beyond this many the step is damaged rather than small: no series at all.
constexpr double kAbsurdTicks = 1e12;

// The last tick index, trunc(length / step); -1 (no ticks) for an absurd count.
int64_t TickCount(double length, double step) {
  const double count = std::trunc(length / step);
  return count <= kAbsurdTicks ? static_cast<int64_t>(count) : -1;
}

// The round numbers 1, 2, 5, 10, 20, 50, ... times from, the first for which keep holds.
template <typename Keep>
int64_t RoundModulus(int64_t from, Keep keep) {
  for (int64_t decade = 1;; decade *= 10) {
    for (const int64_t m : {decade, 2 * decade, 5 * decade}) {
      if (keep(from * m) || from * m > static_cast<int64_t>(kAbsurdTicks)) return from * m;
    }
  }
}

// Labels scale with the plan, so ones closer along the axis than their own size overlap
// at every zoom; a few overlapping are the user's choice, more than this many sharing
// one label's room are a pile no one reads, and are thinned.
constexpr double kLabelCrowding = 4.0;

// Every how many ticks one is drawn, and every how many of those one is labelled: the
// ticks within kMaxTicks, the labels no more crowded than kLabelCrowding. The label
// modulus is a multiple of the tick one, so that every label has its tick.
struct TThinning {
  int64_t Ticks, Labels;
};

TThinning Thinning(int64_t count, double step, double labelSize) {
  TThinning t{};
  t.Ticks = RoundModulus(1, [&](int64_t m) { return count / m <= kMaxTicks; });
  t.Labels = RoundModulus(
      t.Ticks, [&](int64_t m) { return static_cast<double>(m) * step * kLabelCrowding >= labelSize; });
  return t;
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
    // A short label runs along the axis: the widest, "90", sets the spacing.
    const TThinning thin = Thinning(count, step, 0.08 * writer.Width("90"));
    for (int64_t e = 0; e <= count; e += thin.Ticks) {
      if (e % 10 == 0) continue;
      const double parameter = tick(static_cast<double>(e) * step, kShortTick);
      if (e % thin.Labels != 0) continue;
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
    // Picket labels stand across the axis, two rows of text high along it.
    const TThinning thin = Thinning(count, picketStep_, 0.1 * 2.2 * writer.Height());
    for (int64_t k = 0; k <= count; k += thin.Ticks) {
      const double parameter = tick(static_cast<double>(k) * picketStep_, markWidth_);
      if (k % thin.Labels != 0) continue;
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
