#pragma once
// What a bound matrix shell talks to: the device that holds the world, view and
// projection transforms. The renderer implements it; a shell never owns its target.

#include <cstdint>

#include "geometry/Matrix44.h"

namespace vellmar {

// Transform-state numbers as the device interface numbers them.
inline constexpr int32_t kTransformWorld = 256;
inline constexpr int32_t kTransformView = 2;
inline constexpr int32_t kTransformProjection = 3;

class ITransformTarget {
 public:
  virtual ~ITransformTarget() = default;
  virtual void SetTransform(int32_t transformState, const TMatrix44& matrix) = 0;
};

}  // namespace vellmar
