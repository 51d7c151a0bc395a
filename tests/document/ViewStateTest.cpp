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

TEST(ViewState, FittingToAViewportKeepsAMarginOnTheSideReachedFirst) {
  RegisterItemKinds();
  struct TCase {
    const char* What;
    TXYZ Far;  // the second point, the first at the origin
    int Width, Height;
    float Scale;
  };
  const float usable = static_cast<float>(1.0 - 2 * kFitMargin);
  const TCase cases[] = {
      {"by the width", {200, 10, 0}, 1000, 500, 2 * usable * 1000 / 200 / 1000},
      {"by the height", {200, 150, 0}, 1000, 500, 2 * usable * 500 / 150 / 1000},
      {"a line along y", {0, 50, 0}, 1000, 500, 2 * usable * 500 / 50 / 1000},
      {"points in one place", {0, 0, 0}, 1000, 500, 2 * usable * 500 / 1 / 1000},
      {"no viewport yet", {200, 10, 0}, 0, 0, 1.0f / 201},
  };
  for (const TCase& c : cases) {
    TStreetStructure street;
    street.Points().NewPoint({0, 0, 0});
    street.Points().NewPoint(c.Far);
    const TViewState view = FitStreetViewTo(street, c.Width, c.Height);
    EXPECT_FLOAT_EQ(view.Scale, c.Scale) << c.What;
    EXPECT_FLOAT_EQ(view.Centre.x, c.Far.x / 2) << c.What;
    EXPECT_EQ(view.Rotation, 0.0f) << c.What;
  }
}

}  // namespace
}  // namespace vellmar
