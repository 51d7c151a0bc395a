#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "document/PointList.h"
#include "document/PointStructure.h"
#include "geometry/Vector.h"
#include "items/road/StationView.h"

namespace vellmar {
namespace {

// An axis of two legs: 5 m up and to the right along (0.6, 0.8), then 10 m straight up.
class StationViewTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const TXYZ& p : {TXYZ{10, 20, 0}, TXYZ{13, 24, 0}, TXYZ{13, 34, 0}}) axis.InsertNew(axis.Count(), p);
  }
  TPointStructure table;
  TPointList axis{nullptr, table};
  const TViewState start{{1, 2, 3}, 0.04f, 2.0f};
};

TEST_F(StationViewTest, CentresOnTheStationWithTheAxisRunningLeftToRight) {
  struct TCase {
    std::string Name;
    double Station;
    TXYZ Centre;
    TXYZ Direction;  // of the axis at the station
  };
  const TXYZ first{0.6f, 0.8f, 0}, second{0, 1, 0};
  const TCase cases[] = {
      {"the start", 0, {10, 20, 0}, first},
      {"inside the first leg", 2.5, {11.5, 22, 0}, first},
      {"the bend, which belongs to the leg after it", 5, {13, 24, 0}, second},
      {"inside the last leg", 10, {13, 29, 0}, second},
      {"the end", 15, {13, 34, 0}, second},
      {"before the start, on the first leg extended", -5, {7, 16, 0}, first},
      {"past the end, on the last leg extended", 20, {13, 39, 0}, second},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::optional<TViewState> view = ViewAtStation(axis, c.Station, start);
    ASSERT_TRUE(view);
    EXPECT_NEAR(view->Centre.x, c.Centre.x, 1e-4);
    EXPECT_NEAR(view->Centre.y, c.Centre.y, 1e-4);
    // The axis direction turned as the view turns the world points right on the screen.
    const TXYZ onScreen = RotateAngle(c.Direction, view->Rotation);
    EXPECT_NEAR(onScreen.x, 1.0, 1e-6);
    EXPECT_NEAR(onScreen.y, 0.0, 1e-6);
    EXPECT_EQ(view->Scale, start.Scale);
  }
}

TEST_F(StationViewTest, NoPlaceLeavesTheViewAlone) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(ViewAtStation(axis, nan, start));
  EXPECT_FALSE(ViewAtStation(axis, inf, start));
  EXPECT_FALSE(ViewAtStation(axis, -inf, start));
  TPointList lone{nullptr, table};
  EXPECT_FALSE(ViewAtStation(lone, 0, start));
  lone.InsertNew(0, {5, 5, 0});
  EXPECT_FALSE(ViewAtStation(lone, 0, start));
}

}  // namespace
}  // namespace vellmar
