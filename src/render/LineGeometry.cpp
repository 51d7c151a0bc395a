#include "render/LineGeometry.h"

#include <cmath>

#include "geometry/Planar.h"
#include "geometry/Vector.h"

namespace vellmar {

std::vector<double> PolylineLengths(const TXYZArray& Points, size_t First, size_t Last) {
  std::vector<double> lengths;
  if (Last < First || Last >= Points.size()) return lengths;
  lengths.reserve(Last - First + 1);
  double total = 0.0;
  lengths.push_back(total);
  for (size_t i = First + 1; i <= Last; ++i) {
    total += DistanceXYZ(Points[i - 1], Points[i]);
    lengths.push_back(total);
  }
  return lengths;
}

TXYZ OffsetDirection(const TXYZArray& Points, size_t First, size_t Last, size_t I) {
  if (I > First && I < Last) {
    TXYZ miter = MiterOffset(Points[I - 1], Points[I], Points[I + 1]);
    miter.z = 0.0f;  // offsets are sideways on the plan; the point keeps its own z
    return miter;
  }
  const TXYZ& a = I == First ? Points[First] : Points[Last - 1];
  const TXYZ& b = I == First ? Points[First + 1] : Points[Last];
  const double dx = double{b.x} - a.x;
  const double dy = double{b.y} - a.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  return MakeXYZ(-dy / length, dx / length, 0.0);
}

}  // namespace vellmar
