// The dimension line drawn: intervals measured between its first two points, or along
// its contour.

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "document/StreetStructure.h"
#include "geometry/Planar.h"
#include "geometry/Vector.h"
#include "items/road/AtlasLabels.h"
#include "items/road/ModeSets.h"
#include "items/road/RazmerItem.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Numbers.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

namespace {

// The arrowhead: tip at the origin, 1 long and 0.4 wide, pointing towards -x.
const TXYZArray kArrowhead = {{0, 0, 0}, {1, 0.2f, 0}, {1, -0.2f, 0}};
constexpr double kTextScaleX = 0.08;
constexpr double kTextScaleY = 0.096;
// An end interval shorter than this many arrow lengths has its arrows outside.
constexpr double kRoomForArrows = 2.5;

// One interval's ends along the dimension: where they lie and which way the
// dimension runs there.
struct TEnd {
  TXYZ At;
  double Direction;
};

struct TInterval {
  TEnd From, To;
  double Length;
  TXYZ TextAt;
  double TextDirection;
};

class TDimensionWriter {
 public:
  TDimensionWriter(TRazmerItem& item, TStreetStructure& street)
      : item_(item),
        lines_(Collection<TDxLineCollection>(street, 0)),
        fills_(Collection<TDxTriangleCollection>(street, 1)),
        labelCollection_(Collection<TDxTriangleCollection>(street, 2)),
        labels_(labelCollection_, &item),
        k_(street.DimScale()),
        step_(street.DimRound()) {
    uint32_t colour = static_cast<uint32_t>(street.DimColour());
    // An option written without alpha still draws.
    if ((colour >> 24) == 0) colour |= 0xFF000000u;
    for (TDxPrimCollection* c : std::array<TDxPrimCollection*, 3>{&lines_, &fills_, &labelCollection_}) {
      c->SetModeSet(kPlanModes);
      c->SetColor(colour);
    }
  }

  TDxLineCollection& Lines() { return lines_; }

  // Draws the intervals in order and writes their texts. Straight chains draw each
  // interval's segment; a chain along a contour draws its line as the offset contour
  // afterwards, since a chord would cut across the inside of every bend.
  void Write(const std::vector<TInterval>& intervals, std::vector<std::string>& texts, bool custom,
             bool chords) {
    if (!custom) texts.clear();
    for (size_t i = 0; i < intervals.size(); ++i) {
      const TInterval& v = intervals[i];
      const bool first = i == 0, last = i + 1 == intervals.size();
      const bool cramped = k_ * kRoomForArrows > v.Length;
      if (chords) lines_.AddSegments(&item_, TXYZArray{v.From.At, v.To.At});
      const double outside = cramped && (first || last) ? std::numbers::pi : 0.0;
      Arrowhead(v.From.At, v.From.Direction + outside);
      Arrowhead(v.To.At, v.To.Direction + std::numbers::pi + outside);
      std::string text;
      if (custom) {
        if (i < texts.size()) text = texts[i];
      } else {
        text = FormatGeneral(std::nearbyint(v.Length / step_) * step_);
        texts.push_back(text);
      }
      if (text.empty()) continue;
      TMatrixShell& local = labels_.Local();
      local.Translate(false, v.TextAt.x, v.TextAt.y, v.TextAt.z);
      local.RotateZ(false, -v.TextDirection);
      if (first && cramped) local.Translate(false, -k_ - v.Length / 2, 0, 0);
      if (last && cramped) local.Translate(false, k_ + v.Length / 2, 0, 0);
      local.Scale(false, k_ * kTextScaleX, k_ * kTextScaleY, k_ * kTextScaleX);
      local.Translate(false, -labels_.Width(text) / 2, 0.1 * labels_.Height(), 0);
      labels_.Add(text);
    }
  }

 private:
  template <typename T>
  static T& Collection(TStreetStructure& street, size_t index) {
    return dynamic_cast<T&>(*street.KindCollections(TRazmerItem::kKindIndex).at(index));
  }

  void Arrowhead(const TXYZ& tip, double direction) {
    for (TMatrixShell* local : {&lines_.Local(), &fills_.Local()}) {
      local->LoadIdentity();
      local->Translate(false, tip.x, tip.y, tip.z);
      local->RotateZ(false, -direction);
      local->Scale(false, k_, k_, k_);
    }
    lines_.AddClosedPolyline(&item_, kArrowhead);
    fills_.AddTriangles(&item_, kArrowhead);
    lines_.Local().LoadIdentity();
    fills_.Local().LoadIdentity();
  }

  TRazmerItem& item_;
  TDxLineCollection& lines_;
  TDxTriangleCollection& fills_;
  TDxTriangleCollection& labelCollection_;
  TAtlasLabels labels_;
  double k_;
  double step_;
};

// Lengths are shown to 0.05 before the street's rounding step.
double Measured(double length) {
  return std::nearbyint(length * 20) / 20;
}

}  // namespace

void TRazmerItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections& collections = street.KindCollections(kKindIndex);
  collections.push_back(std::make_unique<TDxLineCollection>());
  collections.push_back(std::make_unique<TDxTriangleCollection>());
  collections.push_back(std::make_unique<TDxTriangleCollection>());
}

void TRazmerItem::BuildPrimitives() {
  TPointList& points = Points();
  points.EnsurePolyline();
  points.SetModified(false);
  const int32_t count = points.Count();
  if (count < 2) return;
  TDimensionWriter writer(*this, Street());
  const TXYZ a = points.GetVertex(0), b = points.GetVertex(1);
  TAbstractItem* contourItem = contour_.Count() > 0 ? contour_.Items(0) : nullptr;
  if (count <= 3 || contourItem == nullptr || contourItem->Points().Count() < 2) {
    // A chain draws only between its outer measured points: A and B may lie beyond them.
    if (count <= 3) {
      writer.Lines().AddSegments(this, TXYZArray{a, b});
      return;
    }
    const double theta = AngleOf(SubXYZ(a, b));
    std::vector<double> params;
    for (int32_t k = 2; k < count; ++k) {
      const TXYZ p = points.GetVertex(k);
      const double t = PointLineRelation(p, a, b).t;
      // Coincident A and B give no line to measure along.
      if (!std::isfinite(t)) return;
      writer.Lines().AddSegments(this, TXYZArray{p, LerpXYZ(a, b, t)});
      params.push_back(t);
    }
    std::sort(params.begin(), params.end());
    std::vector<TInterval> intervals;
    for (size_t i = 1; i < params.size(); ++i) {
      const TXYZ p = LerpXYZ(a, b, params[i - 1]), q = LerpXYZ(a, b, params[i]);
      intervals.push_back({{p, theta}, {q, theta}, Measured(DistanceXYZ(p, q)), Midpoint(p, q), theta});
    }
    writer.Write(intervals, texts_, customTexts_, true);
    writer.Lines().AddSegments(this, TXYZArray{LerpXYZ(a, b, params.front()), LerpXYZ(a, b, params.back())});
    return;
  }

  // Along the contour, at the offset of the first point from it.
  TPointList& curve = contourItem->Points();
  const double pa = curve.ParamOfPoint(a), pb = curve.ParamOfPoint(b);
  const TXYZ foot = curve.PointAt(pa);
  const double along = curve.AngleAt(pa);
  const TXYZ away = SubXYZ(foot, a);
  const double offset = std::cos(along) * away.y - std::sin(along) * away.x;
  const double turn = curve.StationAt(pb) < curve.StationAt(pa) ? std::numbers::pi : 0.0;
  std::vector<double> stations;
  for (int32_t k = 2; k < count; ++k) {
    const TXYZ p = points.GetVertex(k);
    const double param = curve.ParamOfPoint(p);
    writer.Lines().AddSegments(this, TXYZArray{p, curve.OffsetPointAt(offset, param)});
    stations.push_back(curve.StationAt(param));
  }
  std::sort(stations.begin(), stations.end());
  const auto end = [&](double station) {
    const double param = curve.ParamAtStation(station);
    return TEnd{curve.OffsetPointAt(offset, param), curve.AngleAt(param)};
  };
  std::vector<TInterval> intervals;
  for (size_t i = 1; i < stations.size(); ++i) {
    const double middle = curve.ParamAtStation((stations[i - 1] + stations[i]) / 2);
    intervals.push_back({end(stations[i - 1]), end(stations[i]), Measured(stations[i] - stations[i - 1]),
                         curve.OffsetPointAt(offset, middle), curve.AngleAt(middle) + turn});
  }
  writer.Write(intervals, texts_, customTexts_, false);
  // The dimension line: the offset contour from the first position to the last.
  TXYZArray line = {end(stations.front()).At};
  const TXYZArray& polyline = curve.Polyline();
  const std::vector<float>& alongStations = curve.Stations();
  for (size_t i = 0; i < polyline.size() && i < alongStations.size(); ++i) {
    if (alongStations[i] <= stations.front() || alongStations[i] >= stations.back()) continue;
    line.push_back(curve.OffsetPointAt(offset, curve.ParamAtStation(alongStations[i])));
  }
  line.push_back(end(stations.back()).At);
  writer.Lines().AddPolyline(this, line);
}

}  // namespace vellmar
