#include <gtest/gtest.h>

#include <cstddef>

#include "geometry/Matrix44.h"
#include "geometry/XYZ.h"

namespace vellmar {

// Point arrays are handed to the device and written to files as packed floats;
// a padded record would shift every vertex after the first.
TEST(GeometryLayout, RecordsArePackedInFieldOrder) {
  EXPECT_EQ(offsetof(TXYZ, x), 0u);
  EXPECT_EQ(offsetof(TXYZ, y), 4u);
  EXPECT_EQ(offsetof(TXYZ, z), 8u);
  TMatrix44 m;
  m.at(3, 1) = 5.0f;
  EXPECT_EQ(m[13], 5.0f);
}

}  // namespace vellmar
