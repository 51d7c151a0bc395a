#pragma once
// The GLU tessellator as the reference triangulator for tests and benchmarks: odd
// winding rule, triangles only, corners in double (crossings are new vertices).

#include <vector>

#include "geometry/XYZ.h"

namespace vellmar::test {

struct TPoint2 {
  double x = 0.0;
  double y = 0.0;
};

// Three corners per triangle; empty when the contours enclose nothing. Throws
// std::runtime_error when GLU reports an error.
std::vector<TPoint2> GluTriangles(const TXYZArrays& contours);

}  // namespace vellmar::test
