#pragma once
// What a bound matrix shell talks to: the device that holds the world, view and
// projection transforms. The renderer implements it; a shell never owns its target.

#include <cstdint>

#include "geometry/Matrix44.h"
#include "platform/gpu/GpuDevice.h"

namespace vellmar {

class ITransformTarget {
 public:
  virtual ~ITransformTarget() = default;
  virtual void SetTransform(uint32_t transformState, const TMatrix44& matrix) = 0;
};

}  // namespace vellmar
