// Line kinds, markings, zebras, islands, the axis and the kilometre plate on the
// headless GL device: measured on the pixels they leave.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "RoadDrawSupport.h"
#include "document/StreetStructure.h"
#include "geometry/Planar.h"
#include "items/ItemKinds.h"
#include "items/road/AxisItem.h"
#include "items/road/BortItem.h"
#include "items/road/KMSignItem.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/OstrovokItem.h"
#include "items/road/ZebraItem.h"
#include "platform/gpu/DxVertex.h"
#include "support/DarkPixel.h"
#include "support/GlTestSupport.h"

namespace vellmar {
namespace {

using test::Brightness;
using test::ColorNear;

constexpr uint32_t kWhite = MakeColor(255, 255, 255, 255);

// A run of pixels of one class along a row: where it starts and how long it is.
struct TRun {
  int32_t Start;
  int32_t Length;
};

// The runs of pixels for which wanted holds, along row from column first to last.
std::vector<TRun> Runs(const test::TPlanPicture& picture, int32_t row, int32_t first, int32_t last,
                       const std::function<bool(uint32_t)>& wanted) {
  std::vector<TRun> runs;
  for (int32_t x = first; x <= last; ++x) {
    if (!wanted(picture.Frame.At(static_cast<uint32_t>(x), static_cast<uint32_t>(row)))) continue;
    if (!runs.empty() && runs.back().Start + runs.back().Length == x) {
      ++runs.back().Length;
    } else {
      runs.push_back({x, 1});
    }
  }
  return runs;
}

using test::Dark;

class RoadLinesDrawTest : public ::testing::Test {
 protected:
  RoadLinesDrawTest() { RegisterAllItemKinds(); }

  template <typename TItem>
  TItem& Add(int32_t kind, const TXYZArray& points) {
    TAbstractItem& item = *street_.ItemList(kind).NewItem();
    for (const TXYZ& p : points) item.Points().InsertNew(item.Points().Count(), p);
    return dynamic_cast<TItem&>(item);
  }

  test::RoadDataRoot data_;
  TStreetStructure street_;
};

TEST_F(RoadLinesDrawTest, ACurbIsABandOfItsWidthInItsColour) {
  auto& curb = Add<TBortItem>(8, {{0, 0, 0}, {20, 0, 0}});
  curb.SetWidth(0.5f);
  const auto picture = test::DrawPlan(street_, {10, 0, 0}, 20.0, TKindSet{8}, 480, 100);
  if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
  const uint32_t green = MakeColor(0, 128, 0, 255);
  EXPECT_TRUE(ColorNear(picture->At(10, 0.2), green));
  EXPECT_TRUE(ColorNear(picture->At(10, -0.2), green));
  EXPECT_TRUE(ColorNear(picture->At(10, 0.3), kWhite));
  EXPECT_TRUE(ColorNear(picture->At(10, -0.3), kWhite));
}

// A broken marking's dashes and gaps, measured along the line, are the library's
// lengths within a pixel; the band repeats a whole number of times.
TEST_F(RoadLinesDrawTest, BrokenMarkingsHaveTheirDashAndGapLengths) {
  struct TCase {
    const char* Gost;
    float Length;      // metres, a whole number of periods
    double Pixels;     // per metre
    int32_t Dash;      // pixels
    int32_t Gap;       // pixels
    uint32_t Paint;
  };
  const uint32_t black = MakeColor(0, 0, 0, 255), yellow = MakeColor(160, 128, 0, 255);
  const TCase cases[] = {
      {"1.8", 16, 20, 20, 60, black},   // 1:3 on a 4 m period
      {"1.7", 8, 40, 20, 20, black},    // 0.5:0.5
      {"1.10", 8, 40, 40, 40, yellow},  // 1:1 on 2 m, yellow
      {"1.6", 32, 10, 60, 20, black},   // 6:2
  };
  for (const TCase& c : cases) {
    street_.Clear();
    Add<TLineRazmetItem>(10, {{0, 0, 0}, {c.Length, 0, 0}}).SetGostName(c.Gost);
    const auto picture =
        test::DrawPlan(street_, {c.Length / 2, 0, 0}, c.Pixels, TKindSet{10}, static_cast<uint32_t>(c.Length * c.Pixels) + 40, 40);
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    const std::vector<TRun> dashes =
        Runs(*picture, picture->Row(0), picture->Column(0), picture->Column(c.Length) - 1, Dark);
    ASSERT_GE(dashes.size(), 3u) << c.Gost;
    for (size_t i = 0; i < dashes.size(); ++i) {
      EXPECT_NEAR(dashes[i].Length, c.Dash, 1) << c.Gost << " dash " << i;
      if (i > 0) {
        EXPECT_NEAR(dashes[i].Start - dashes[i - 1].Start - dashes[i - 1].Length, c.Gap, 1) << c.Gost;
      }
    }
    const uint32_t middle = picture->Frame.At(static_cast<uint32_t>(dashes[0].Start + dashes[0].Length / 2),
                                              static_cast<uint32_t>(picture->Row(0)));
    EXPECT_TRUE(ColorNear(middle, c.Paint, 6))
        << c.Gost;
  }
}

TEST_F(RoadLinesDrawTest, AnUnknownMarkingIsARedStripe) {
  Add<TLineRazmetItem>(10, {{0, 0, 0}, {10, 0, 0}}).SetGostName("9.99");
  const auto picture = test::DrawPlan(street_, {5, 0, 0}, 20.0, TKindSet{10}, 240, 40);
  if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
  EXPECT_TRUE(ColorNear(picture->At(5, 0.1), MakeColor(200, 0, 0, 255)));
  EXPECT_TRUE(ColorNear(picture->At(5, 0.2), kWhite));
}

// Stripes 0.4 m wide every metre from 0.5 m on, gap stripes between them; the number
// depends on the room the path leaves at its end.
TEST_F(RoadLinesDrawTest, ZebraStripesAndGapsCountAndWidth) {
  struct TCase {
    float Length;
    int32_t Option;  // the street's zebra option: narrower gaps
    size_t Stripes;
    size_t Gaps;
    int32_t GapPixels;
  };
  const TCase cases[] = {{4.0f, 0, 4, 3, 24}, {3.9f, 0, 3, 2, 24}, {4.0f, 1, 4, 3, 16}};
  const auto yellow = [](uint32_t argb) { return ColorNear(argb, MakeColor(240, 240, 0, 255), 8); };
  for (const TCase& c : cases) {
    street_.Clear();
    street_.SetZebraOption(c.Option);
    auto& zebra = Add<TZebraItem>(14, {{0, 0, 0}, {c.Length, 0, 0}});
    zebra.SetBackground(true);
    const auto picture = test::DrawPlan(street_, {2, 0, 0}, 40.0, TKindSet{14}, 240, 300);
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    for (const double y : {2.5, -2.5}) {
      const int32_t row = picture->Row(y);
      const std::vector<TRun> stripes = Runs(*picture, row, 0, 239, Dark);
      const std::vector<TRun> gaps = Runs(*picture, row, 0, 239, yellow);
      ASSERT_EQ(stripes.size(), c.Stripes) << "length " << c.Length;
      ASSERT_EQ(gaps.size(), c.Gaps) << "length " << c.Length;
      for (size_t i = 0; i < stripes.size(); ++i) {
        EXPECT_NEAR(stripes[i].Length, 16, 1);
        EXPECT_NEAR(stripes[i].Start + stripes[i].Length / 2.0, picture->Column(0.5 + i), 1);
      }
      for (const TRun& gap : gaps) EXPECT_NEAR(gap.Length, c.GapPixels, 1);
    }
    EXPECT_TRUE(ColorNear(picture->At(0.5, 3.2), kWhite)) << "stripes are 6 m long";
  }
}

// Regression: with a third point giving the stripes' direction, the crossing stepped
// backwards from its first point and drew no stripe at all.
TEST_F(RoadLinesDrawTest, AZebraWithASidePointStripesForwardAlongItsPath) {
  for (const float side : {3.0f, -3.0f}) {
    street_.Clear();
    Add<TZebraItem>(14, {{0, 0, 0}, {4, 0, 0}, {4, side, 0}});
    const auto picture = test::DrawPlan(street_, {2, 0, 0}, 40.0, TKindSet{14}, 240, 300);
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    const std::vector<TRun> stripes = Runs(*picture, picture->Row(2.5), 0, 239, Dark);
    ASSERT_EQ(stripes.size(), 4u) << "side point at y = " << side;
    EXPECT_NEAR(stripes[0].Start + stripes[0].Length / 2.0, picture->Column(0.5), 1);
  }
}

// Wider than 6 m a crossing splits in two halves; stripes 1 and m - 1 keep one half
// and carry arrows on the other.
TEST_F(RoadLinesDrawTest, AWideZebraSplitsAndCarriesArrows) {
  auto& zebra = Add<TZebraItem>(14, {{0, 0, 0}, {6, 0, 0}});
  zebra.SetWidth(8.0f);
  const auto picture = test::DrawPlan(street_, {3, 0, 0}, 30.0, TKindSet{14}, 240, 300);
  if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
  // Stripe 0: both halves, the middle open.
  EXPECT_TRUE(Dark(picture->At(0.5, 2)));
  EXPECT_TRUE(Dark(picture->At(0.5, -2)));
  EXPECT_FALSE(Dark(picture->At(0.5, 0)));
  // Stripe 1 (the first arrow stripe): the half north of the path only; an arrow's
  // shaft on the other half at 0.25 of the width beyond the middle gap.
  EXPECT_TRUE(Dark(picture->At(1.5, 2)));
  EXPECT_FALSE(Dark(picture->At(1.5, -3.8)));
  EXPECT_TRUE(Dark(picture->At(1.5, -2.1)));
  // Stripe m - 1 = 4 is turned: its kept half lies south, its arrows north.
  EXPECT_TRUE(Dark(picture->At(4.5, -2)));
  EXPECT_FALSE(Dark(picture->At(4.5, 3.8)));
  EXPECT_TRUE(Dark(picture->At(4.5, 2.1)));
}

// Hatching stays inside the island whatever its type; the island is hatched, not
// filled.
TEST_F(RoadLinesDrawTest, IslandHatchingStaysInsideTheIsland) {
  struct TCase {
    uint8_t Type;
    bool NewScheme;
  };
  const TCase cases[] = {{0, true}, {1, true}, {2, true}, {0, false}, {1, false}, {2, false}};
  const TXYZ p0{16, 0, 0}, apex{0, 0, 0}, p2{16, 8, 0}, tip{16, 4, 0};
  for (const TCase& c : cases) {
    street_.Clear();
    auto& island = Add<TOstrovokItem>(12, {p0, apex, p2, tip});
    island.SetGostType(c.Type);
    island.SetNewScheme(c.NewScheme);
    const auto picture = test::DrawPlan(street_, {8, 4, 0}, 10.0, TKindSet{12}, 200, 120);
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    int inside = 0, insideDark = 0;
    for (uint32_t row = 0; row < 120; ++row) {
      for (uint32_t column = 0; column < 200; ++column) {
        const TXYZ p{static_cast<float>(8 + (column + 0.5 - 100) / 10.0), static_cast<float>(4 - (row + 0.5 - 60) / 10.0),
                     0};
        // Signed distances to the three sides, positive inside.
        double nearest = 1e9;
        for (const auto& [a, b] : {std::pair{apex, p0}, std::pair{p0, p2}, std::pair{p2, apex}})
          nearest = std::min(nearest, PointLineRelation(p, a, b).distance);
        const bool dark = Dark(picture->Frame.At(column, row));
        if (nearest < -0.15) {
          ASSERT_FALSE(dark) << "type " << int{c.Type} << " paints outside at " << p.x << ", " << p.y;
        } else if (nearest > 0.15) {
          ++inside;
          insideDark += dark ? 1 : 0;
        }
      }
    }
    EXPECT_GT(insideDark, inside / 20) << "type " << int{c.Type} << " has no hatching";
    EXPECT_LT(insideDark, inside * 9 / 10) << "type " << int{c.Type} << " is filled, not hatched";
  }
}

// The outline's sides once ended square at every control point: a wedge gap outside
// each corner and a notch at each apex. Corners are joined now, mitred while the tip
// stays within two widths of the line, bevelled beyond (no spike at a sharp apex).
TEST_F(RoadLinesDrawTest, IslandOutlinesAreJoinedAtTheirCorners) {
  struct TCase {
    const char* What;
    uint8_t Type;
    TXYZArray Points;
    TXYZ Probe;  // just outside the corner, within the outline's width of it
    bool Dark;
  };
  const TCase cases[] = {
      // The parallel type outlines from point 1 to the last: a right angle at (10, 0).
      {"outside a right-angled corner", 3, {{0, 4, 0}, {0, 0, 0}, {10, 0, 0}, {10, 4, 0}}, {10.035f, -0.035f, 0}, true},
      // A 53 degree apex: its mitre's tip lies 0.11 beyond the apex.
      {"outside an apex of 53 degrees", 0, {{16, -8, 0}, {0, 0, 0}, {16, 8, 0}, {16, 0, 0}}, {-0.06f, 0, 0}, true},
      // A 10 degree apex: an unlimited mitre would reach 0.57 beyond it.
      {"beyond a bevelled apex of 10 degrees", 0, {{16, -1.4f, 0}, {0, 0, 0}, {16, 1.4f, 0}, {16, 0, 0}},
       {-0.3f, 0, 0}, false},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    auto& island = Add<TOstrovokItem>(12, c.Points);
    island.SetGostType(c.Type);
    const auto picture = test::DrawPlan(street_, c.Probe, 400.0, TKindSet{12}, 120, 120);
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    EXPECT_EQ(Dark(picture->At(c.Probe)), c.Dark) << c.What;
  }
}

// A 1 km axis with a picket step of 1 mm took 5 GB for a million ticks and four
// million labels, and failed the frame. A series past 100,000 ticks keeps every m-th
// (m = 1, 2, 5, 10, ...), and labels piled more than four deep on one another are
// thinned the same way; a sane series is kept whole.
TEST_F(RoadLinesDrawTest, PicketSeriesAreBoundedByWhatCanBeTold) {
  struct TCase {
    const char* What;
    float Length, Step;
    bool Short;
    size_t Pickets, ShortTicks;  // ticks kept
    size_t MaxLabelTriangles;
  };
  const TCase cases[] = {
      {"100 m at 10 m, with short ticks", 100, 10, true, 11, 90, 2000},
      // The step is a single: 1000 / 0.001f is 999,999.95, so the last picket is 999,999.
      {"1 km at 1 mm", 1000, 0.001f, false, 100'000, 0, 100'000},
      {"1 km at 1 mm, with short ticks", 1000, 0.001f, true, 100'000, 0, 100'000},
      {"1 km at 1.5 cm", 1000, 0.015f, true, 66'667, 0, 100'000},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    auto& axis = Add<TAxisItem>(35, {{0, 0, 0}, {c.Length, 0, 0}});
    axis.SetMarkPickets(true);
    axis.SetShortPickets(c.Short);
    axis.SetPicketStep(c.Step);
    axis.SetMarkWidth(2);
    street_.RebuildKinds(TKindSet{35});
    const TDxPrimCollection& lines = *street_.KindCollections(35).at(0);
    const TDxPrimCollection& labels = *street_.KindCollections(35).at(1);
    size_t pickets = 0, shortTicks = 0;
    for (size_t i = 0; i < lines.Count(); ++i) {
      const auto v = lines.PrimAt(i).Vertices;
      const double length = std::hypot(v[1].X - v[0].X, v[1].Y - v[0].Y);
      pickets += std::abs(length - 4) < 1e-3 ? 1 : 0;
      shortTicks += std::abs(length - 1) < 1e-3 ? 1 : 0;
    }
    EXPECT_EQ(pickets, c.Pickets) << c.What;
    EXPECT_EQ(shortTicks, c.ShortTicks) << c.What;
    EXPECT_GT(labels.Count(), 0u) << c.What;
    EXPECT_LE(labels.Count(), c.MaxLabelTriangles) << c.What;
  }
  // The dense street draws.
  const auto picture = test::DrawPlan(street_, {0, 0, 0}, 40.0, TKindSet{35}, 200, 200);
  if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
  EXPECT_TRUE(Dark(picture->At(0.3, 1.5)) || Brightness(picture->At(0.3, 1.5)) < 250);
}

TEST_F(RoadLinesDrawTest, PicketTicksStandAtTheirStationsOnACurvedAxis) {
  constexpr double radius = 30;
  TXYZArray arc;
  for (int degree = 0; degree <= 90; ++degree) {
    const double a = degree * std::numbers::pi / 180;
    arc.push_back({static_cast<float>(radius * std::cos(a)), static_cast<float>(radius * std::sin(a)), 0});
  }
  auto& axis = Add<TAxisItem>(35, arc);
  axis.SetMarkPickets(true);
  axis.SetPicketStep(10);
  axis.SetMarkWidth(3);
  axis.SetColour(MakeColor(200, 0, 0, 255));
  const auto picture = test::DrawPlan(street_, {15, 15, 0}, 8.0, TKindSet{35}, 320, 320);
  if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
  const double length = axis.Points().Stations().back();
  ASSERT_NEAR(length, radius * std::numbers::pi / 2, 0.01);
  // Whether a tick-coloured pixel lies within a pixel of the point at the station and
  // offset: ticks are one pixel wide.
  const auto tickNear = [&](double station, double offset) {
    // The chords shorten the arc a little; stations are taken along them.
    const double a = station / length * std::numbers::pi / 2;
    const int32_t column = picture->Column((radius + offset) * std::cos(a));
    const int32_t row = picture->Row((radius + offset) * std::sin(a));
    for (int32_t dy = -1; dy <= 1; ++dy) {
      for (int32_t dx = -1; dx <= 1; ++dx) {
        const uint32_t argb = picture->Frame.At(static_cast<uint32_t>(column + dx), static_cast<uint32_t>(row + dy));
        if (ColorNear(argb, MakeColor(200, 0, 0, 255), 60)) return true;
      }
    }
    return false;
  };
  for (int k = 0; k * 10 <= length; ++k) {
    for (const double offset : {2.0, -2.0, 2.8}) EXPECT_TRUE(tickNear(k * 10.0, offset)) << "picket " << k;
    EXPECT_FALSE(tickNear(k * 10.0, 3.5)) << "ticks are 3 m long each side";
    EXPECT_FALSE(tickNear(k * 10.0 + 5, 2)) << "between pickets " << k << " and " << k + 1;
  }
  // The axis line itself is a construction mark unless it is asked for.
  EXPECT_FALSE(tickNear(5, 0));
}

// The plate stands at the sign's point, turned along the axis of the street, one
// half either side; a half whose number is -1 stays empty.
TEST_F(RoadLinesDrawTest, KilometrePlatesStandAtTheirStationAlongTheAxis) {
  const double a = std::numbers::pi / 6;
  const TXYZ dir{static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a)), 0};
  auto& axis = Add<TAxisItem>(35, {{0, 0, 0}, {100 * dir.x, 100 * dir.y, 0}});
  street_.MainReferences().SetItem(0, &axis);
  const TXYZ at{50 * dir.x, 50 * dir.y, 0};
  auto& sign = Add<TKMSignItem>(24, {at});
  sign.SetFirstNumber(12);
  sign.SetSecondNumber(7);
  street_.DrawOptions().Lines() = {"KMSignScaled=1", "ZnakScale=100"};
  const uint32_t field = MakeColor(0x1F, 0x3F, 0x8F, 255);
  const auto probe = [&](const test::TPlanPicture& picture, double along, double across) {
    return picture.At(at.x + dir.x * along - dir.y * across, at.y + dir.y * along + dir.x * across);
  };
  auto picture = test::DrawPlan(street_, at, 20.0, TKindSet{24}, 240, 240);
  if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
  EXPECT_TRUE(ColorNear(probe(*picture, -2.1, 0), field, 6));
  EXPECT_TRUE(ColorNear(probe(*picture, 2.1, 0), field, 6));
  EXPECT_TRUE(ColorNear(probe(*picture, 2.1, 0.6), field, 6));
  EXPECT_TRUE(ColorNear(probe(*picture, 2.1, 1.3), kWhite)) << "the plate is turned along the axis";
  EXPECT_TRUE(ColorNear(probe(*picture, 4.4, 0), kWhite));
  sign.SetFirstNumber(-1);
  picture = test::DrawPlan(street_, at, 20.0, TKindSet{24}, 240, 240);
  EXPECT_TRUE(ColorNear(probe(*picture, -2.1, 0), kWhite));
  EXPECT_TRUE(ColorNear(probe(*picture, 2.1, 0), field, 6));
}

}  // namespace
}  // namespace vellmar
