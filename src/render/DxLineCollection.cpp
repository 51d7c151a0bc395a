#include "render/DxLineCollection.h"

#include <algorithm>

#include "platform/gpu/GpuDevice.h"

namespace vellmar {

TDxLineCollection::TDxLineCollection() : TDxPrimCollection(2, D3DPT_LINELIST) {}

void TDxLineCollection::AddLine(const TAbstractItem* owner, const TXYZ& a, const TXYZ& b) {
  TDxVertex* v = BeginPrim();
  SetPosition(v[0], a);
  SetPosition(v[1], b);
  CommitPrim(owner);
}

void TDxLineCollection::AddSegments(const TAbstractItem* owner, std::span<const TXYZ> points) {
  for (size_t k = 0; k + 1 < points.size(); k += 2) AddLine(owner, points[k], points[k + 1]);
}

void TDxLineCollection::AddPolyline(const TAbstractItem* owner, std::span<const TXYZ> points) {
  for (size_t k = 0; k + 1 < points.size(); ++k) AddLine(owner, points[k], points[k + 1]);
}

void TDxLineCollection::AddPolylineRange(const TAbstractItem* owner, std::span<const TXYZ> points,
                                         int32_t last, int32_t first) {
  const auto end = std::min<int64_t>(last, static_cast<int64_t>(points.size()) - 1);
  for (int64_t k = std::max<int64_t>(first, 0); k < end; ++k) {
    AddLine(owner, points[static_cast<size_t>(k)], points[static_cast<size_t>(k + 1)]);
  }
}

void TDxLineCollection::AddClosedPolyline(const TAbstractItem* owner, std::span<const TXYZ> points) {
  if (points.size() < 2) return;
  AddPolyline(owner, points);
  AddLine(owner, points.back(), points.front());
}

}  // namespace vellmar
