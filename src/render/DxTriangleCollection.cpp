#include "render/DxTriangleCollection.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/Vector.h"
#include "platform/gpu/GpuDevice.h"
#include "render/LineGeometry.h"

namespace vellmar {

namespace {

// Corners sharper than this (sine of the turn) are cut by AddSmoothRibbon.
constexpr double kSmoothSine = 0.3;
// The cut points lie at most this fraction of a segment away from the corner.
constexpr double kSmoothFraction = 0.3;

TXYZ OffsetPoint(const TXYZ& p, const TXYZ& direction, double offset) {
  return TXYZ{static_cast<float>(p.x + direction.x * offset), static_cast<float>(p.y + direction.y * offset),
              p.z};
}

}  // namespace

TDxTriangleCollection::TDxTriangleCollection() : TDxPrimCollection(3, D3DPT_TRIANGLELIST) {}

void TDxTriangleCollection::AddTriangle(const TAbstractItem* owner, const TXYZ& a, const TXYZ& b,
                                        const TXYZ& c) {
  TDxVertex* v = BeginPrim();
  SetPosition(v[0], a);
  SetPosition(v[1], b);
  SetPosition(v[2], c);
  CommitPrim(owner);
}

void TDxTriangleCollection::AddTriangles(const TAbstractItem* owner, std::span<const TXYZ> points) {
  for (size_t k = 0; k + 2 < points.size(); k += 3)
    AddTriangle(owner, points[k], points[k + 1], points[k + 2]);
}

void TDxTriangleCollection::AddQuads(const TAbstractItem* owner, std::span<const TXYZ> points) {
  for (size_t k = 0; k + 3 < points.size(); k += 4) {
    AddTriangle(owner, points[k], points[k + 1], points[k + 3]);
    AddTriangle(owner, points[k + 2], points[k + 3], points[k]);
  }
}

void TDxTriangleCollection::AddTexturedTriangles(const TAbstractItem* owner, std::span<const TXYZ> points,
                                                 double s, double c, double originY, double originX,
                                                 double scaleY, double scaleX) {
  const double kx = scaleX == 0.0 ? 1.0 : 1.0 / scaleX;
  const double ky = scaleY == 0.0 ? 1.0 : 1.0 / scaleY;
  for (size_t k = 0; k + 2 < points.size(); k += 3) {
    TDxVertex* v = BeginPrim();
    for (size_t j = 0; j < 3; ++j) {
      const TXYZ& p = points[k + j];
      SetPosition(v[j], p);
      const double u = (p.x - originX) * kx;
      const double w = (p.y - originY) * ky;
      v[j].U = static_cast<float>(u * c - w * s);
      v[j].V = static_cast<float>(u * s + w * c);
    }
    CommitPrim(owner);
  }
}

void TDxTriangleCollection::AddRibbon(const TAbstractItem* owner, const TXYZArray& points, int32_t first,
                                      int32_t last, double period, double offsetLeft, double offsetRight,
                                      double vLeft, double vRight) {
  const auto lo = static_cast<size_t>(std::max<int64_t>(first, 0));
  const auto hi = static_cast<size_t>(std::min<int64_t>(last, static_cast<int64_t>(points.size()) - 1));
  if (points.size() < 2 || hi <= lo) return;

  const bool textured = period != 0.0;
  std::vector<double> lengths;
  double periods = 0.0;
  if (textured) {
    lengths = PolylineLengths(points, lo, hi);
    periods = std::max(1.0, std::nearbyint(lengths.back() / period));
  }
  const float leftV = textured ? static_cast<float>(vLeft) : 0.0f;
  const float rightV = textured ? static_cast<float>(vRight) : 0.0f;

  TDxVertex prevLeft{};
  TDxVertex prevRight{};
  for (size_t i = lo; i <= hi; ++i) {
    const TXYZ direction = OffsetDirection(points, lo, hi, i);
    const float u = textured ? static_cast<float>(lengths[i - lo] * periods / lengths.back()) : 0.0f;
    TDxVertex left{};
    SetPosition(left, OffsetPoint(points[i], direction, offsetLeft));
    left.U = u;
    left.V = leftV;
    TDxVertex right{};
    SetPosition(right, OffsetPoint(points[i], direction, offsetRight));
    right.U = u;
    right.V = rightV;
    if (i > lo) {
      TDxVertex* t = BeginPrim();
      t[0] = prevLeft;
      t[1] = prevRight;
      t[2] = left;
      CommitPrim(owner);
      t = BeginPrim();
      t[0] = left;
      t[1] = right;
      t[2] = prevRight;
      CommitPrim(owner);
    }
    prevLeft = left;
    prevRight = right;
  }
}

void TDxTriangleCollection::AddSmoothRibbon(const TAbstractItem* owner, const TXYZArray& points,
                                            double period, double offsetLeft, double offsetRight,
                                            double vLeft, double vRight) {
  const auto last = static_cast<int32_t>(points.size()) - 1;
  if (period == 0.0 || points.size() < 3) {
    AddRibbon(owner, points, 0, last, period, offsetLeft, offsetRight, vLeft, vRight);
    return;
  }
  const double width = std::fabs(offsetLeft - offsetRight);
  TXYZArray smoothed;
  smoothed.reserve(points.size() * 3);
  smoothed.push_back(points.front());
  for (size_t i = 1; i + 1 < points.size(); ++i) {
    const TXYZ in = SubXYZ(points[i - 1], points[i]);
    const TXYZ out = SubXYZ(points[i], points[i + 1]);
    const double inLength = LengthXYZ(in);
    const double outLength = LengthXYZ(out);
    const double sine = std::fabs(double{in.x} * out.y - double{in.y} * out.x) / (inLength * outLength);
    if (sine < kSmoothSine) {
      smoothed.push_back(points[i]);
      continue;
    }
    const double e = std::min(width / inLength, kSmoothFraction);
    const double g = std::min(width / outLength, kSmoothFraction);
    smoothed.push_back(LerpXYZ(points[i - 1], points[i], 1.0 - e));
    smoothed.push_back(points[i]);
    smoothed.push_back(LerpXYZ(points[i], points[i + 1], g));
  }
  smoothed.push_back(points.back());
  AddRibbon(owner, smoothed, 0, static_cast<int32_t>(smoothed.size()) - 1, period, offsetLeft, offsetRight,
            vLeft, vRight);
}

}  // namespace vellmar
