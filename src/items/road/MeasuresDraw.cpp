// The radius and slope measures drawn every frame.

#include <cmath>
#include <numbers>
#include <optional>

#include "geometry/Planar.h"
#include "geometry/Vector.h"
#include "items/road/RadiusMeasureItem.h"
#include "items/road/SlopeMeasureItem.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"

namespace vellmar {

namespace {

constexpr uint32_t kRadiusLine = MakeColor(255, 128, 64, 255);
constexpr uint32_t kRadiusCircle = MakeColor(196, 196, 64, 255);
constexpr uint32_t kSlopeLine = MakeColor(255, 64, 255, 255);

// Where the perpendicular bisectors of p0-p1 and p1-p2 meet; none when they are parallel.
std::optional<TXYZ> CircleCentre(const TXYZ& p0, const TXYZ& p1, const TXYZ& p2) {
  const TXYZ m1 = Midpoint(p0, p1), m2 = Midpoint(p1, p2);
  const TXYZ d1 = PerpLeft(SubXYZ(p0, p1)), d2 = PerpLeft(SubXYZ(p1, p2));
  const double det = static_cast<double>(d1.x) * d2.y - static_cast<double>(d1.y) * d2.x;
  if (det == 0.0) return std::nullopt;
  const TXYZ between = SubXYZ(m1, m2);
  const double s = (static_cast<double>(between.x) * d2.y - static_cast<double>(between.y) * d2.x) / det;
  const TXYZ centre = AddXYZ(m1, ScaleXYZ(d1, s));
  if (!std::isfinite(centre.x) || !std::isfinite(centre.y)) return std::nullopt;
  return centre;
}

}  // namespace

void TRadiusMeasureItem::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TAbstractItem::DrawImmediate(params, modes);
  if (Points().Count() < 3 || params.Renderer == nullptr) return;
  TdxRenderer& renderer = *params.Renderer;
  renderer.BindTexture(nullptr);
  const TXYZ p0 = Points().GetVertex(0), p1 = Points().GetVertex(1), p2 = Points().GetVertex(2);
  renderer.DrawPolyline(TXYZArray{p0, p1, p2}, kRadiusLine);
  const std::optional<TXYZ> centre = CircleCentre(p0, p1, p2);
  if (!centre) return;
  renderer.DrawPolyline(TXYZArray{p0, *centre, p2}, kRadiusCircle);
  const TXYZ from = SubXYZ(*centre, p0);
  double alpha = std::fmod(AngleOf(SubXYZ(*centre, p2)) - AngleOf(from) + 2 * std::numbers::pi, 2 * std::numbers::pi);
  // The arc takes the shorter way round.
  double sense = 1.0;
  if (alpha > std::numbers::pi) {
    alpha = 2 * std::numbers::pi - alpha;
    sense = -1.0;
  }
  const auto count = static_cast<int32_t>(std::nearbyint(alpha * 180 / std::numbers::pi)) + 2;
  TXYZArray arc;
  arc.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    arc.push_back(AddXYZ(*centre, RotateAngle(from, sense * alpha * i / (count - 1))));
  }
  renderer.DrawPolyline(arc, kRadiusCircle);
}

void TSlopeMeasureItem::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TAbstractItem::DrawImmediate(params, modes);
  if (Points().Count() < 2 || params.Renderer == nullptr) return;
  params.Renderer->BindTexture(nullptr);
  params.Renderer->DrawPolyline(Points().GetVertices(), kSlopeLine);
}

}  // namespace vellmar
