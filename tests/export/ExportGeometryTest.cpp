// The shapes an export writes: areas by the even-odd rule, marking patterns read off
// their textures, and the colours and order the tables use.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "document/LnParam.h"
#include "export/DxfExport.h"
#include "export/MarkingPattern.h"
#include "export/PaintedMarking.h"
#include "export/PlanPolygon.h"
#include "export/Quantities.h"
#include "geometry/PolylineMeasure.h"
#include "kinds/AllKinds.h"
#include "platform/Error.h"
#include "platform/files/DataRoot.h"
#include "platform/imaging/Bitmap.h"
#include "platform/text/Cp1251.h"
#include "support/HandWorkedStreet.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

TXYZArray Ring(std::initializer_list<std::pair<float, float>> points) {
  TXYZArray ring;
  for (const auto& [x, y] : points) ring.push_back({x, y, 0});
  return ring;
}

TEST(PlanPolygon, AreasFollowTheEvenOddRuleAsTheyAreDrawn) {
  const TXYZArray square = Ring({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  const struct {
    const char* What;
    std::vector<TXYZArray> Rings;
    double Area;
    size_t Polygons;
  } cases[] = {
      {"a square", {square}, 100, 1},
      {"a square with a hole drawn as a second ring", {square, Ring({{2, 2}, {6, 2}, {6, 6}, {2, 6}})}, 84, 1},
      // The signed area of a bow-tie is 0: a sum of vertices' cross products loses it.
      {"a bow-tie whose outline crosses itself", {Ring({{0, 0}, {10, 10}, {10, 0}, {0, 10}})}, 50, 2},
      {"two overlapping squares: the overlap is a hole", {Ring({{0, 0}, {2, 0}, {2, 2}, {0, 2}}), Ring({{1, 1}, {3, 1}, {3, 3}, {1, 3}})}, 6, 2},
      {"a square drawn twice encloses nothing", {square, square}, 0, 0},
      {"a ring of repeated points closing on itself", {Ring({{0, 0}, {0, 0}, {4, 0}, {4, 4}, {4, 4}, {0, 0}})}, 8, 1},
      {"a line folded back on itself", {Ring({{0, 0}, {5, 0}, {0, 0}})}, 0, 0},
  };
  for (const auto& c : cases) {
    const std::vector<TPlanPolygon> polygons = EvenOddPolygons(c.Rings);
    EXPECT_EQ(polygons.size(), c.Polygons) << c.What;
    EXPECT_NEAR(PolygonsArea(polygons), c.Area, 1e-9 * std::max(1.0, c.Area)) << c.What;
    for (const TPlanPolygon& polygon : polygons) {
      for (const TPlanRing& ring : polygon.Rings) EXPECT_EQ(ring.front(), ring.back()) << c.What << ": a ring left open";
    }
  }
}

TEST(PlanPolygon, UnionCountsOverlapsAndSharedEdgesOnce) {
  const auto polygons = [](std::vector<TXYZArray> rings) {
    std::vector<TPlanPolygon> all;
    for (const TXYZArray& ring : rings) {
      for (TPlanPolygon& p : EvenOddPolygons({ring})) all.push_back(std::move(p));
    }
    return all;
  };
  EXPECT_NEAR(UnionArea(polygons({Ring({{0, 0}, {2, 0}, {2, 2}, {0, 2}}), Ring({{1, 1}, {3, 1}, {3, 3}, {1, 3}})})), 7, 1e-9);
  EXPECT_NEAR(UnionArea(polygons({Ring({{0, 0}, {2, 0}, {2, 2}, {0, 2}}), Ring({{2, 0}, {4, 0}, {4, 2}, {2, 2}})})), 8, 1e-9);
  // A chain of overlaps whose ends' boxes are apart, and a square far from all of them.
  EXPECT_NEAR(UnionArea(polygons({Ring({{0, 0}, {2, 0}, {2, 2}, {0, 2}}), Ring({{50, 50}, {51, 50}, {51, 51}, {50, 51}}),
                                  Ring({{1, 0}, {3, 0}, {3, 2}, {1, 2}}), Ring({{2.5f, 0}, {4.5f, 0}, {4.5f, 2}, {2.5f, 2}})})),
              9 + 1, 1e-9);
  EXPECT_EQ(UnionArea({}), 0.0);
}

TEST(PlanPolygon, AnOutlineWithAPointThatIsNoNumberIsNamed) {
  TXYZArray ring = Ring({{0, 0}, {1, 0}, {1, 1}});
  ring[1].x = std::nanf("");
  EXPECT_THROW(EvenOddPolygons({ring}), EVellmarError);
}

// A texture like the library's: 64 columns along a repeat, 24 rows across the band,
// dark where paint lies.
TBitmap Texture(const std::vector<std::array<double, 4>>& painted) {
  TBitmap bitmap(64, 24, TPixelFormat::pf24bit);
  for (int32_t y = 0; y < 24; ++y) {
    for (int32_t x = 0; x < 64; ++x) {
      const double u = (x + 0.5) / 64, v = (y + 0.5) / 24;
      bool paint = false;
      for (const auto& [v0, v1, u0, u1] : painted) paint = paint || (v >= v0 && v < v1 && u >= u0 && u < u1);
      bitmap.SetPixel(x, y, paint ? 0x000000 : 0xFFFFFF);
    }
  }
  return bitmap;
}

TEST(MarkingPattern, DashesAndStripesAreReadOffTheTexture) {
  const struct {
    const char* What;
    std::vector<std::array<double, 4>> Paint;
    size_t Stripes;
    double Painted, Dashed;
  } cases[] = {
      {"solid", {{0, 1, 0, 1}}, 1, 1.0, 1.0},
      {"dashes of 3 in 12", {{0, 1, 0, 0.25}}, 1, 0.25, 0.25},
      {"two solid lines with a gap between", {{0, 1.0 / 3, 0, 1}, {2.0 / 3, 1, 0, 1}}, 2, 2.0 / 3, 1.0},
      {"solid beside dashed", {{0, 1.0 / 3, 0, 1}, {2.0 / 3, 1, 0, 0.25}}, 2, 1.0 / 3 + 0.25 / 3, 1.0},
      {"dashes beside dashes shifted by half a repeat", {{0, 0.5, 0, 0.25}, {0.5, 1, 0.5, 0.75}}, 2, 0.25, 0.5},
      {"no paint", {}, 0, 0.0, 0.0},
  };
  for (const auto& c : cases) {
    const TMarkingPattern pattern = PatternFromTexture(Texture(c.Paint));
    EXPECT_EQ(pattern.Stripes.size(), c.Stripes) << c.What;
    EXPECT_NEAR(pattern.PaintedShare(), c.Painted, 1e-9) << c.What;
    EXPECT_NEAR(pattern.DashShare(), c.Dashed, 1e-9) << c.What;
  }
}

// The library states each type's painted area per metre (SqCoeff); the textures must say the same.
TEST(MarkingPattern, EveryLibraryTextureAgreesWithTheLibrarysAreaPerMetre) {
  test::ScopedDataVariable root(test::CommittedDataFiles().c_str());
  const TLnParams params = LoadDefaultLnParams();
  ASSERT_FALSE(params.empty());
  for (const LnParam& param : params) {
    const auto file = ResolveDataPath(std::string("\\DataFiles\\Разметка\\"_cp1251) + std::string(ShortStringText(param.TextureFile)));
    ASSERT_TRUE(file) << ShortStringText(param.Name);
    TBitmap texture;
    texture.LoadFromFile(*file);
    const double width = std::abs(param.Disp1 - param.Disp2);
    const double perMetre = width * PatternFromTexture(texture).PaintedShare();
    // A dash ends on a whole column of the picture: the two may differ by one column.
    EXPECT_NEAR(perMetre, param.SqCoeff, width / texture.Width()) << ShortStringText(param.Name);
  }
}

TEST(PaintedMarking, SlicesFollowTheLineAndStandAsideByTheOffset) {
  const TXYZArray bend = Ring({{0, 0}, {10, 0}, {10, 10}});
  const TXYZArray left = OffsetSlice(bend, 5, 15, 1);
  ASSERT_EQ(left.size(), 3u);
  EXPECT_NEAR(left[0].x, 5, 1e-6);
  EXPECT_NEAR(left[0].y, 1, 1e-6);
  EXPECT_NEAR(left[1].x, 9, 1e-6) << "the corner is mitred inwards on the inner side";
  EXPECT_NEAR(left[1].y, 1, 1e-6);
  EXPECT_NEAR(left[2].x, 9, 1e-6);
  EXPECT_NEAR(left[2].y, 5, 1e-6);
  const TXYZArray inside = OffsetSlice(bend, 2, 4, -0.5);
  ASSERT_EQ(inside.size(), 2u);
  EXPECT_NEAR(inside[0].x, 2, 1e-6);
  EXPECT_NEAR(inside[0].y, -0.5, 1e-6);
  EXPECT_NEAR(inside[1].x, 4, 1e-6);
}

TEST(PaintedMarking, AHundredMetresOfDashesAreEightRepeatsOfThreeAndAQuarterMetres) {
  test::ScopedDataVariable root(test::CommittedDataFiles().c_str());
  RegisterAllKinds();
  TStreetStructure street;
  test::BuildHandWorkedStreet(street);
  auto& dashed = dynamic_cast<TLineRazmetItem&>(*street.ItemList(TLineRazmetItem::kKindIndex).Items(0));
  TMarkingPatterns patterns(street);
  const TPaintedMarking painted = PaintMarking(dashed, patterns);
  EXPECT_NEAR(painted.LineLength, 100, 1e-9);
  EXPECT_NEAR(painted.PaintedLength, 25, 1e-9);
  EXPECT_NEAR(painted.PaintedArea, 2.5, 1e-6);
  ASSERT_EQ(painted.Pieces.size(), 8u);
  for (size_t i = 0; i < painted.Pieces.size(); ++i) {
    EXPECT_NEAR(painted.Pieces[i].front().x, 12.5 * double(i), 1e-4) << i;
    EXPECT_NEAR(PolylineLength(painted.Pieces[i], false), 3.125, 1e-4) << i;
    EXPECT_NEAR(painted.Pieces[i].front().y, 2, 1e-6) << "a centred band stays on its line";
  }
  // Two thousand kilometres of dashes is damaged data: one run, counted all the same.
  dashed.Points().SetVertex(1, {2e6f, 2, 0});
  const TPaintedMarking endless = PaintMarking(dashed, patterns);
  EXPECT_EQ(endless.Pieces.size(), 1u);
  EXPECT_NEAR(endless.PaintedLength, 0.25 * endless.LineLength, 1e-6 * endless.LineLength);
  dashed.Points().SetVertex(1, {100, 2, 0});
  dashed.SetGostName("9.99");
  const TPaintedMarking unknown = PaintMarking(dashed, patterns);
  EXPECT_NEAR(unknown.PaintedLength, 100, 1e-9) << "a type the library lacks is the plan's solid red stripe";
  EXPECT_NEAR(unknown.PaintedArea, 30, 1e-6);
}

TEST(ExportTables, ColoursAndDesignationsKeepTheirOrder) {
  const struct {
    uint32_t Rgb;
    int Aci;
  } colours[] = {{0x000000, 7}, {0xFFFFFF, 7}, {0xD2FFD2, 3}, {0xFF0000, 1}, {0x0000C8, 5},
                 {0x808080, 8}, {0xEBEBEB, 7}, {0xF0F000, 2}, {0x505050, 250}, {0xFFA000, 30}};
  for (const auto& c : colours) EXPECT_EQ(NearestAci(c.Rgb), c.Aci) << std::hex << c.Rgb;
  const std::vector<std::string> ordered = {"1.1", "1.2", "1.5", "1.10", "1.14.1", "1.16.1", "1.16.4*", "2.1", "5.19.1", "5.19.2"};
  for (size_t i = 0; i + 1 < ordered.size(); ++i) {
    EXPECT_TRUE(DesignationLess(ordered[i], ordered[i + 1])) << ordered[i] << " < " << ordered[i + 1];
    EXPECT_FALSE(DesignationLess(ordered[i + 1], ordered[i])) << ordered[i + 1] << " > " << ordered[i];
  }
  EXPECT_FALSE(DesignationLess("1.5", "1.5"));
}

}  // namespace
}  // namespace vellmar
