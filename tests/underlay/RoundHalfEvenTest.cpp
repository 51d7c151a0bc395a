#include <gtest/gtest.h>

#include <cmath>

#include "underlay/RoundHalfEven.h"

namespace vellmar {

// The encoder's coefficients and the pyramid's averages must round exactly as
// std::nearbyint did when the files were first written, or the same picture would
// code to other bytes (a build with reassociating float options breaks this).
TEST(RoundHalfEven, AgreesWithNearbyintOnHalvesAndNeighbours) {
  for (const double value :
       {0.0, 0.25, 0.5, 1.5, 2.5, 3.5, 254.5, 255.49999999999997, 127.50000000000001, -0.5, -1.5, -2.5,
        -2046.5, -7.499999999999999, 1e15 + 0.5, -1e15 - 1.5, 0.49999999999999994}) {
    EXPECT_EQ(RoundHalfEven(value), std::nearbyint(value)) << value;
  }
}

}  // namespace vellmar
