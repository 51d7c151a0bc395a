#pragma once
// Points and polylines of the plan: three single-precision floats, z carried along
// (0 on plans). Arithmetic on them is done in double and stored back as float.

#include <vector>

namespace vellmar {

struct TXYZ {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};
static_assert(sizeof(TXYZ) == 12, "TXYZ is three packed floats");

using TXYZArray = std::vector<TXYZ>;
using TXYZArrays = std::vector<TXYZArray>;

}  // namespace vellmar
