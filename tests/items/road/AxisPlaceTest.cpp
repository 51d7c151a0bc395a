#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "document/PointList.h"
#include "document/PointStructure.h"
#include "items/road/AxisPlace.h"
#include "items/road/StationView.h"

namespace vellmar {
namespace {

TEST(AxisPlace, StationAndOffsetOfPointsAlongAStraightAxis) {
  // The demo street's axis: 300 m from west to east, so south is on the right.
  TPointStructure table;
  TPointList axis{nullptr, table};
  axis.InsertNew(0, {0, 0, 0});
  axis.InsertNew(1, {300, 0, 0});
  struct TCase {
    std::string Name;
    TXYZ Point;
    double Station, Offset;
  };
  const TCase cases[] = {
      {"on the axis", {50, 0, 0}, 50, 0},
      {"right of the axis", {123.45f, -3.2f, 0}, 123.45, 3.2},
      {"left of the axis", {123.45f, 3.2f, 0}, 123.45, -3.2},
      {"before the start, on the left", {-10, 2, 0}, -10, -2},
      {"past the end, on the right", {310, -1, 0}, 310, 1},
      {"at the end", {300, 0, 0}, 300, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::optional<TAxisPlace> place = PlaceOnAxis(axis, c.Point);
    ASSERT_TRUE(place);
    EXPECT_NEAR(place->Station, c.Station, 1e-4);
    EXPECT_NEAR(place->Offset, c.Offset, 1e-4);
  }
}

// A place found for a point must be the place a view set to that station looks at, also
// on a bent axis and beyond either end; otherwise going to the station a user read off
// would show another spot.
TEST(AxisPlace, AgreesWithTheViewAtAStationOnABentAxis) {
  TPointStructure table;
  TPointList axis{nullptr, table};
  for (const TXYZ& p : {TXYZ{10, 20, 0}, TXYZ{13, 24, 0}, TXYZ{13, 34, 0}}) axis.InsertNew(axis.Count(), p);
  for (const double station : {-5.0, 0.0, 2.5, 7.5, 15.0, 20.0}) {
    SCOPED_TRACE(station);
    const std::optional<TViewState> view = ViewAtStation(axis, station, TViewState{});
    ASSERT_TRUE(view);
    const std::optional<TAxisPlace> centre = PlaceOnAxis(axis, view->Centre);
    ASSERT_TRUE(centre);
    EXPECT_NEAR(centre->Station, station, 1e-4);
    EXPECT_NEAR(centre->Offset, 0.0, 1e-4);
    // 2 m to the right along the same tick the axis draws there.
    const std::optional<TAxisPlace> right = PlaceOnAxis(axis, axis.OffsetPointAt(-2.0, axis.ParamAtStation(station)));
    ASSERT_TRUE(right);
    EXPECT_NEAR(right->Station, station, 1e-4);
    EXPECT_NEAR(right->Offset, 2.0, 1e-4);
  }
}

TEST(AxisPlace, NoPlaceWithoutASegmentOrForAPointThatIsNotFinite) {
  TPointStructure table;
  TPointList axis{nullptr, table};
  EXPECT_FALSE(PlaceOnAxis(axis, {1, 1, 0}));
  axis.InsertNew(0, {5, 5, 0});
  EXPECT_FALSE(PlaceOnAxis(axis, {1, 1, 0}));
  axis.InsertNew(1, {15, 5, 0});
  EXPECT_TRUE(PlaceOnAxis(axis, {1, 1, 0}));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(PlaceOnAxis(axis, {nan, 1, 0}));
  EXPECT_FALSE(PlaceOnAxis(axis, {1, std::numeric_limits<float>::infinity(), 0}));
}

}  // namespace
}  // namespace vellmar
