#include "export/PaintedMarking.h"

#include <algorithm>
#include <cmath>

#include "document/LnParam.h"
#include "document/StreetStructure.h"
#include "export/MarkingPattern.h"
#include "geometry/PolylineMeasure.h"
#include "items/road/LineRazmetItem.h"

namespace vellmar {

namespace {

constexpr double kUnknownHalfWidth = 0.15;
// Runs closer than this (metres) along the line are one piece of paint.
constexpr double kJoin = 1e-9;
// More repeats than this is damaged data (a thousand kilometres of short dashes): each
// stripe is then written as one run, as the plan's band cannot show them either, and
// the painted length and area still count every dash.
constexpr double kMostRepeats = 100000.0;

struct TUnit {
  double X = 0.0, Y = 0.0;
};

// The unit normal to the left of segment a -> b; none for a segment of no length.
std::optional<TUnit> LeftNormal(const TXYZ& a, const TXYZ& b) {
  const double dx = double{b.x} - a.x, dy = double{b.y} - a.y;
  const double length = std::hypot(dx, dy);
  if (!(length > 0.0)) return std::nullopt;
  return TUnit{-dy / length, dx / length};
}

TXYZ Moved(const TXYZ& p, const TUnit& n, double offset) {
  return TXYZ{static_cast<float>(p.x + n.X * offset), static_cast<float>(p.y + n.Y * offset), p.z};
}

// The mitre at an inner vertex, its length capped so that a sharp turn does not throw it far.
TUnit Mitre(const TUnit& a, const TUnit& b) {
  const double dot = a.X * b.X + a.Y * b.Y;
  const double scale = 1.0 / std::max(1.0 + dot, 0.25);
  return TUnit{(a.X + b.X) * scale, (a.Y + b.Y) * scale};
}

}  // namespace

TXYZArray OffsetSlice(const TXYZArray& line, double s0, double s1, double offset) {
  TXYZArray out;
  double reached = 0.0;
  std::optional<TUnit> before;
  for (size_t i = 1; i < line.size(); ++i) {
    const TXYZ& a = line[i - 1];
    const TXYZ& b = line[i];
    const double length = PlanarDistance(a, b);
    const std::optional<TUnit> normal = LeftNormal(a, b);
    if (!normal) continue;
    const double start = reached, end = reached + length;
    reached = end;
    if (end < s0) {
      before = normal;
      continue;
    }
    if (start > s1) break;
    const auto at = [&](double s) {
      const double t = std::clamp((s - start) / length, 0.0, 1.0);
      return TXYZ{static_cast<float>(a.x + (b.x - a.x) * t), static_cast<float>(a.y + (b.y - a.y) * t), a.z};
    };
    if (out.empty()) {
      out.push_back(Moved(at(std::max(s0, start)), *normal, offset));
    } else if (before) {
      // The vertex a lies inside the slice: mitre the two segments' offsets.
      out.back() = Moved(a, Mitre(*before, *normal), offset);
    }
    out.push_back(Moved(at(std::min(s1, end)), *normal, offset));
    before = normal;
    if (end >= s1) break;
  }
  return out;
}

TPaintedMarking PaintMarking(TLineRazmetItem& item, TMarkingPatterns& patterns) {
  TPaintedMarking painted;
  if (item.Points().Count() < 2) return painted;
  const TXYZArray& line = item.Points().Polyline();
  const double length = PolylineLength(line, false);
  painted.LineLength = length;
  if (!(length > 0.0)) return painted;
  const TLnParams& params = item.Street().GetLineParams();
  const int32_t index = item.ParamIndex();
  const bool known = index >= 0 && static_cast<size_t>(index) < params.size();
  const double sign = item.Mirror() ? -1.0 : 1.0;
  const double disp1 = known ? sign * params[static_cast<size_t>(index)].Disp1 : kUnknownHalfWidth;
  const double disp2 = known ? sign * params[static_cast<size_t>(index)].Disp2 : -kUnknownHalfWidth;
  const double period = known ? params[static_cast<size_t>(index)].Period : length;
  const TMarkingPattern& pattern = known ? patterns.Pattern(index) : patterns.Pattern(-1);
  painted.PaintedLength = length * pattern.DashShare();
  painted.PaintedArea = length * std::abs(disp1 - disp2) * pattern.PaintedShare();

  // Whole repeats over the line, halves to even, at least one.
  const double repeats = period > 0.0 ? std::max(1.0, std::nearbyint(length / period)) : 1.0;
  const double repeat = length / repeats;
  for (const TMarkingStripe& stripe : pattern.Stripes) {
    const double offset = disp1 + (disp2 - disp1) * (stripe.V0 + stripe.V1) / 2.0;
    if (repeats > kMostRepeats) {
      if (!stripe.Dashes.empty()) painted.Pieces.push_back(OffsetSlice(line, 0.0, length, offset));
      continue;
    }
    double runStart = -1.0, runEnd = -1.0;
    const auto flush = [&] {
      if (runEnd > runStart && runStart >= 0.0) painted.Pieces.push_back(OffsetSlice(line, runStart, runEnd, offset));
    };
    for (double k = 0; k < repeats; ++k) {
      for (const auto& [u0, u1] : stripe.Dashes) {
        const double s0 = (k + u0) * repeat, s1 = (k + u1) * repeat;
        if (runEnd >= 0.0 && s0 - runEnd <= kJoin * length) {
          runEnd = s1;
          continue;
        }
        flush();
        runStart = s0;
        runEnd = s1;
      }
    }
    flush();
  }
  return painted;
}

}  // namespace vellmar
