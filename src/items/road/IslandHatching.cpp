#include "items/road/IslandHatching.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "geometry/Vector.h"

namespace vellmar {

namespace {

constexpr double kHalfStripe = 0.2;  // every hatch stripe is 0.4 m wide
constexpr int kStripesPerSide = 4;
constexpr double kMostParallelStripes = 100'000;

// Coordinates with the apex at the origin and x along the island's axis.
struct TAxisFrame {
  TXYZ Apex;
  double Angle = 0.0;
  TXYZ Local(const TXYZ& p) const { return RotateAngle(SubXYZ(Apex, p), -Angle); }
  TXYZ World(double x, double y) const { return AddXYZ(Apex, RotateAngle(MakeXYZ(x, y, 0), Angle)); }
};

// The apex rules' shared set-up: the axis and the two side chains in local
// coordinates, chain 1 ending above the axis. Nothing when the island has no axis.
struct TApexGeometry {
  TAxisFrame Frame;
  double Length = 0.0;  // A, the axis length
  TXYZArray Chain[2];
};

std::optional<TApexGeometry> ApexGeometry(const TIslandOutline& island, int32_t mainPoint) {
  const auto count = static_cast<int32_t>(island.Controls.size());
  if (count < 3 || island.VertexIndex.size() < island.Controls.size()) return std::nullopt;
  const int32_t apex = mainPoint == 0 ? 1 : mainPoint;
  // The apex has to leave both chains a point: it lies before the second-to-last point.
  if (apex < 1 || apex > count - 2) return std::nullopt;
  TApexGeometry g;
  const TXYZ tip = island.Controls[static_cast<size_t>(count - 1)];
  g.Frame.Apex = island.Controls[static_cast<size_t>(apex)];
  g.Length = DistanceXYZ(g.Frame.Apex, tip);
  if (!(g.Length > 0.0)) return std::nullopt;
  g.Frame.Angle = AngleOf(SubXYZ(g.Frame.Apex, tip));
  const auto at = [&](int32_t i) { return island.VertexIndex[static_cast<size_t>(i)]; };
  for (int32_t k = at(apex); k >= 0; --k) g.Chain[0].push_back(g.Frame.Local(island.Polyline[static_cast<size_t>(k)]));
  for (int32_t k = at(apex); k <= at(count - 2); ++k)
    g.Chain[1].push_back(g.Frame.Local(island.Polyline[static_cast<size_t>(k)]));
  if (g.Chain[0].size() < 2 || g.Chain[1].size() < 2) return std::nullopt;
  if (g.Chain[0].back().y < 0) std::swap(g.Chain[0], g.Chain[1]);
  return g;
}

// Walks a side chain for the crossings of lines y = slope * (x - xa), segment by
// segment, never going back: successive lines lie further along the chain.
class TChainWalk {
 public:
  explicit TChainWalk(const TXYZArray& chain) : chain_(chain) {}
  std::optional<TXYZ> Cross(double xa, double slope) {
    for (; segment_ + 1 < chain_.size(); ++segment_) {
      const TXYZ& p = chain_[segment_];
      const TXYZ& q = chain_[segment_ + 1];
      const double fp = p.y - slope * (p.x - xa);
      const double fq = q.y - slope * (q.x - xa);
      if ((fp > 0) == (fq > 0) && fq != 0) continue;
      return LerpXYZ(p, q, fp == fq ? 0.0 : fp / (fp - fq));
    }
    return std::nullopt;
  }

 private:
  const TXYZArray& chain_;
  size_t segment_ = 0;
};

void AddQuad(TXYZArray& quads, const TAxisFrame& frame, const TXYZ& a1, const TXYZ& c1, const TXYZ& a2,
             const TXYZ& c2) {
  for (const TXYZ* p : {&a1, &c1, &a2, &c2}) quads.push_back(frame.World(p->x, p->y));
}

}  // namespace

TXYZArray ApexHatch(const TIslandOutline& island, int32_t mainPoint, int32_t type) {
  const std::optional<TApexGeometry> g = ApexGeometry(island, mainPoint);
  if (!g || type < 0 || type > 2) return {};
  const TXYZ end1 = g->Chain[0].back(), end2 = g->Chain[1].back();
  if (end1.x == 0 || end2.x == 0) return {};
  const double t = std::max(1.5 * (end1.y / end1.x - end2.y / end2.x), 0.5);
  const double k = std::sqrt(1 / (t * t) + 1);
  const double pitch = std::clamp(g->Length / 4, 2.0, 4.0);
  const double slopes[3][2] = {{-t, -t}, {t, -t}, {-t, t}};

  // Each side's stripes as (axis point, chain point) pairs for the two edges.
  struct TStripe {
    TXYZ Axis[2];
    TXYZ Chain[2];
  };
  std::vector<TStripe> sides[2];
  for (int side = 0; side < 2; ++side) {
    const double slope = slopes[type][side];
    TChainWalk walk(g->Chain[side]);
    for (int n = 1; n <= kStripesPerSide; ++n) {
      const double x0 = n * pitch - kHalfStripe * k, x1 = n * pitch + kHalfStripe * k;
      if (side == 0 && x0 > g->Length) break;
      const std::optional<TXYZ> c0 = walk.Cross(x0, slope);
      const std::optional<TXYZ> c1 = c0 ? walk.Cross(x1, slope) : std::nullopt;
      if (!c1) break;
      sides[side].push_back({{MakeXYZ(x0, 0, 0), MakeXYZ(x1, 0, 0)}, {*c0, *c1}});
    }
  }
  TXYZArray quads;
  const size_t both = std::min(sides[0].size(), sides[1].size());
  for (size_t n = 0; n < both; ++n) {
    for (const auto& side : sides) {
      const TStripe& s = side[n];
      AddQuad(quads, g->Frame, s.Axis[0], s.Chain[0], s.Axis[1], s.Chain[1]);
    }
  }
  return quads;
}

TXYZArray EarlierApexHatch(const TIslandOutline& island, int32_t mainPoint, int32_t type) {
  const std::optional<TApexGeometry> g = ApexGeometry(island, mainPoint);
  if (!g || type < 0 || type > 2) return {};
  double alpha = std::fabs(AngleOf(g->Chain[0][1]) - AngleOf(g->Chain[1][1]));
  if (alpha > std::numbers::pi) alpha = 2 * std::numbers::pi - alpha;
  const double phi = std::min(std::numbers::pi / 2 - 1.5 * alpha, std::numbers::pi / 3);
  const double signs[3][2] = {{1, 1}, {-1, 1}, {1, -1}};
  TXYZArray quads;
  for (int side = 0; side < 2; ++side) {
    const TXYZArray& chain = g->Chain[side];
    const double tangent = std::tan(signs[type][side] * phi);
    // Where a line at the hatch angle through each chain point meets the axis.
    std::vector<double> onAxis;
    for (const TXYZ& p : chain) onAxis.push_back(p.x - tangent * std::fabs(p.y));
    const auto chainPointAt = [&](double x) -> std::optional<TXYZ> {
      for (size_t i = 1; i < chain.size(); ++i) {
        const double a = onAxis[i - 1], b = onAxis[i];
        if (a != b && x >= std::min(a, b) && x <= std::max(a, b)) return LerpXYZ(chain[i - 1], chain[i], (x - a) / (b - a));
      }
      return std::nullopt;
    };
    for (int v = 0; v < kStripesPerSide; ++v) {
      const double x0 = 1.0 + 1.6 * v, x1 = 1.6 + 1.6 * v;
      const std::optional<TXYZ> c0 = chainPointAt(x0), c1 = chainPointAt(x1);
      if (c0 && c1) AddQuad(quads, g->Frame, MakeXYZ(x0, 0, 0), *c0, MakeXYZ(x1, 0, 0), *c1);
    }
  }
  return quads;
}

TXYZArray ParallelHatch(const TIslandOutline& island) {
  const size_t count = island.Controls.size();
  if (count < 3 || island.VertexIndex.size() < count) return {};
  const TXYZ p = SubXYZ(island.Controls[1], island.Controls[2]);
  const TXYZ q = SubXYZ(island.Controls[1], island.Controls[0]);
  const double cross = std::fabs(double{p.x} * q.y - double{p.y} * q.x);
  // Parallel or zero-length edges give no stripe direction.
  if (!(cross > 0.0)) return {};
  const double sine = cross / (LengthXYZ(p) * LengthXYZ(q));
  const double pitch = std::clamp(2.0 / sine, 2.0, 4.0);
  const double pAngle = AngleOf(p);
  const TXYZArray& line = island.Polyline;
  const size_t first = static_cast<size_t>(island.VertexIndex[1]);
  const size_t last = static_cast<size_t>(island.VertexIndex[count - 1]);
  // An outline too long for its stripes to be counted is damaged data: no hatching,
  // rather than a frame spent on endless stripes.
  double length = 0.0;
  for (size_t i = first + 1; i <= last && i < line.size(); ++i) length += DistanceXYZ(line[i - 1], line[i]);
  if (!std::isfinite(pitch) || !(length / pitch < kMostParallelStripes)) return {};
  TXYZArray quads;
  double segmentStart = 0.0;  // station of line[i - 1] counted from control point 1
  double station = pitch / 2;
  for (size_t i = first + 1; i <= last && i < line.size(); ++i) {
    const TXYZ along = SubXYZ(line[i - 1], line[i]);
    const double length = LengthXYZ(along);
    const double segmentEnd = segmentStart + length;
    if (length > 0.0) {
      const TXYZ unit = ScaleXYZ(along, 1 / length);
      const TXYZ stripe = RotateAngle(q, AngleOf(along) - pAngle);
      const TXYZ edge = ScaleXYZ(unit, kHalfStripe / sine);
      for (; station < segmentEnd; station += pitch) {
        const TXYZ o = LerpXYZ(line[i - 1], line[i], (station - segmentStart) / length);
        const TXYZ a1 = SubXYZ(edge, o), a2 = AddXYZ(o, edge);
        quads.insert(quads.end(), {a1, AddXYZ(a1, stripe), a2, AddXYZ(a2, stripe)});
      }
    }
    segmentStart = segmentEnd;
  }
  return quads;
}

TXYZArray PlacedHatch(const TIslandOutline& island) {
  const TXYZArray& c = island.Controls;
  const size_t count = c.size();
  if (count < 3) return {};
  const TXYZ e1 = SubXYZ(c[0], c[1]);
  const TXYZ e2 = count % 2 == 1 ? e1 : SubXYZ(c[2], c[count - 1]);
  TXYZArray quads;
  for (size_t i = 1; i + 1 < count; i += 2) {
    const TXYZ along = SubXYZ(c[i], c[i + 1]);
    if (!(LengthXYZ(along) > 0.0)) continue;
    const TXYZ normal = SetLengthXYZ(PerpLeft(along), 1.0);
    // The end edges cross the stripe's sides where they lie 0.2 m from its centre line.
    const double d1 = double{e1.x} * normal.x + double{e1.y} * normal.y;
    const double d2 = double{e2.x} * normal.x + double{e2.y} * normal.y;
    if (d1 == 0.0 || d2 == 0.0) continue;
    const TXYZ s1 = ScaleXYZ(e1, kHalfStripe / d1), s2 = ScaleXYZ(e2, kHalfStripe / d2);
    quads.insert(quads.end(), {SubXYZ(s1, c[i]), SubXYZ(s2, c[i + 1]), AddXYZ(c[i], s1), AddXYZ(c[i + 1], s2)});
  }
  return quads;
}

}  // namespace vellmar
