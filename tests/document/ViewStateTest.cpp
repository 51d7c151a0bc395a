#include <gtest/gtest.h>

#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/ViewState.h"

namespace vellmar {
namespace {

TEST(ViewState, FittingCentresTheBoundsWithTheLargerExtentAcross) {
  RegisterItemKinds();
  TStreetStructure street;
  street.Points().NewPoint({5, 5, 0});
  // One point is nothing to fit: the origin at the default scale.
  TViewState view = FitStreetView(street);
  EXPECT_EQ(view.Centre.x, 0.0f);
  EXPECT_EQ(view.Centre.y, 0.0f);
  EXPECT_FLOAT_EQ(view.Scale, 0.01f);

  street.Points().NewPoint({104, 54, 0});
  street.SetView({1, 2, 0}, 3.0f, 1.0f);
  view = FitStreetView(street);
  EXPECT_FLOAT_EQ(view.Centre.x, 54.5f);
  EXPECT_FLOAT_EQ(view.Centre.y, 29.5f);
  EXPECT_FLOAT_EQ(view.Scale, 0.01f);  // 99 x 49 units
  EXPECT_EQ(view.Rotation, 0.0f);
  EXPECT_EQ(StreetView(street).Scale, 3.0f);  // fitting does not touch the street
}

}  // namespace
}  // namespace vellmar
