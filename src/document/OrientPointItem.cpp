#include "document/OrientPointItem.h"

#include <cmath>
#include <numbers>

#include "geometry/Vector.h"

namespace vellmar {

float TOrientPointItem::Orientation() const {
  if (Points().Count() < 2) return 0.0f;
  const float angle = static_cast<float>(AngleOf(SubXYZ(Points().GetVertex(0), Points().GetVertex(1))));
  // An angle just below 2*pi may round up to it as a single; keep the range half-open.
  constexpr float kTwoPi = static_cast<float>(2.0 * std::numbers::pi);
  return angle >= kTwoPi ? std::nextafter(kTwoPi, 0.0f) : angle;
}

}  // namespace vellmar
