// Traffic lights drawn: each head's picture with its marker pixel on the head's point,
// turned by the head's rotation; the support's at the item's point when the point is the
// item's own; a line from the point to each head.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numbers>
#include <vector>

#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/road/RoadDrawSupport.h"
#include "items/signs/SvetoforItem.h"
#include "items/signs/SvetoforPictureLib.h"
#include "render/DxPrimCollection.h"
#include "support/GlTestSupport.h"

namespace vellmar {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGreen = 0x00C000;
constexpr uint32_t kMarker = 0xFF0000;

// W x H white pixels with a green block over the left half of the top half, and the red
// marker pixel.
TBitmap HeadPicture(int32_t width, int32_t height, int32_t markerX, int32_t markerY) {
  TBitmap bitmap(width, height, TPixelFormat::pf24bit);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) bitmap.SetPixel(x, y, x < width / 2 && y < height / 2 ? kGreen : kWhite);
  }
  bitmap.SetPixel(markerX, markerY, kMarker);
  return bitmap;
}

struct TBox {
  double X0, Y0, X1, Y1;
};

class SvetoforDrawTest : public ::testing::Test {
 protected:
  SvetoforDrawTest() {
    RegisterAllItemKinds();
    heads_.Add("1_1.bmp", HeadPicture(20, 40, 10, 39));
    heads_.Add("1_2.bmp", HeadPicture(8, 8, 0, 0));
    supports_.Add("3_1.bmp", HeadPicture(16, 16, 8, 15));
  }

  TSvetoforItem& Light(const TXYZ& at) {
    auto& item = dynamic_cast<TSvetoforItem&>(*street_.ItemList(TSvetoforItem::kKindIndex).NewItem());
    item.UseLibraries(supports_, heads_);
    item.Points().InsertNew(0, at);
    return item;
  }

  // The bounding box of the triangles in the collection, after a rebuild.
  TBox Box(size_t collection) {
    for (int32_t i = 0; i < street_.ItemList(TSvetoforItem::kKindIndex).Count(); ++i)
      street_.ItemList(TSvetoforItem::kKindIndex).Items(i)->Rebuild();
    const TDxPrimCollection& triangles = *street_.KindCollections(TSvetoforItem::kKindIndex).at(collection);
    TBox box{1e9, 1e9, -1e9, -1e9};
    for (size_t p = 0; p < triangles.Count(); ++p) {
      if (triangles.PrimAt(p).Deleted) continue;
      for (const TDxVertex& v : triangles.PrimAt(p).Vertices) {
        box = {std::min<double>(box.X0, v.X), std::min<double>(box.Y0, v.Y), std::max<double>(box.X1, v.X),
               std::max<double>(box.Y1, v.Y)};
      }
    }
    return box;
  }

  // Primitives of a collection not flagged for removal.
  size_t Live(size_t collection) {
    const TDxPrimCollection& prims = *street_.KindCollections(TSvetoforItem::kKindIndex).at(collection);
    size_t live = 0;
    for (size_t p = 0; p < prims.Count(); ++p) live += prims.PrimAt(p).Deleted ? 0 : 1;
    return live;
  }

  test::RoadDataRoot data_;
  TStreetStructure street_;
  TSvetoforPictureLib heads_;
  TSvetoforPictureLib supports_;
};

TEST_F(SvetoforDrawTest, APictureSitsOnItsMarkerPixelOnePixelEveryFortiethOfAUnit) {
  // Collections: [0] lines, [1] the support 3.1, [2] head 1.1, [3] head 1.2.
  struct TCase {
    const char* What;
    const char* Head;
    TXYZ Offset;
    float Rotation;
    size_t Collection;
    TBox Expected;  // relative to the item's point
  };
  const double q = std::numbers::pi / 2;
  const TCase cases[] = {
      // The marker on the bottom row: the picture stands above its point.
      {"20 x 40 with its marker at (10, 39)", "1.1", {}, 0, 2, {-0.2625, -0.0125, 0.2375, 0.9875}},
      {"the same at an offset", "1.1", {3, -1, 0}, 0, 2, {2.7375, -1.0125, 3.2375, -0.0125}},
      {"turned a quarter counter-clockwise", "1.1", {}, static_cast<float>(q), 2,
       {-0.9875, -0.2625, 0.0125, 0.2375}},
      {"without a marker: anchored at the top-left pixel", "1.2", {}, 0, 3, {-0.0125, -0.1875, 0.1875, 0.0125}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    street_.Clear();
    TSvetoforItem& light = Light({10, 20, 0});
    TSvetoforSubItem& head = light.AddHead();
    head.SetName(c.Head);
    head.SetOffset(c.Offset);
    head.SetRotation(c.Rotation);
    const TBox box = Box(c.Collection);
    EXPECT_NEAR(box.X0 - 10, c.Expected.X0, 1e-5);
    EXPECT_NEAR(box.Y0 - 20, c.Expected.Y0, 1e-5);
    EXPECT_NEAR(box.X1 - 10, c.Expected.X1, 1e-5);
    EXPECT_NEAR(box.Y1 - 20, c.Expected.Y1, 1e-5);
  }
}

TEST_F(SvetoforDrawTest, TheSupportStandsOnlyOnAPointOfTheItemsOwn) {
  TSvetoforItem& own = Light({0, 0, 0});
  own.SetSupport("3.1");
  own.AddHead().SetName("1.1");
  EXPECT_NEAR(Box(1).X0, -0.2125, 1e-5);
  EXPECT_NEAR(Box(1).Y1, 0.3875, 1e-5);
  // A second light on the same point: its support would stand on the first one's.
  auto& shared = dynamic_cast<TSvetoforItem&>(*street_.ItemList(TSvetoforItem::kKindIndex).NewItem());
  shared.UseLibraries(supports_, heads_);
  shared.Points().Insert(0, own.Points().VertexRecord(0));
  shared.SetSupport("3.1");
  shared.AddHead().SetName("1.1");
  Box(1);
  EXPECT_EQ(Live(1), 0u);
  // Heads are drawn for both; a head of no known picture adds only its line.
  shared.AddHead().SetName("9.9");
  Box(2);
  EXPECT_EQ(Live(2), 4u);
  EXPECT_EQ(Live(0), 3u);
}

TEST_F(SvetoforDrawTest, HeadPicturesLandTurnedWhereTheirHeadsAreAndWhiteIsTransparent) {
  // Pictures were once laid mirrored top to bottom, and their red marker pixel drawn as
  // a dot on every head. The green block is the picture's top-left quarter, the marker
  // on its bottom row: an unturned head stands above its point with the green block
  // upper left, white to its right and below it, and no red on the point.
  struct TCase {
    const char* What;
    float Rotation;
    double GreenX, GreenY;  // from the head's point
    std::vector<std::array<double, 2>> White;
  };
  const TCase cases[] = {
      {"unturned", 0, -0.14, 0.74, {{0.14, 0.74}, {-0.14, 0.25}}},
      {"a quarter counter-clockwise", static_cast<float>(std::numbers::pi / 2), -0.74, -0.14,
       {{-0.74, 0.14}, {-0.25, -0.14}}},
  };
  // On a pixel centre, so that the one-pixel line to the head is where it is probed.
  const double x = 0.5 / 80;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    street_.Clear();
    TSvetoforItem& light = Light({static_cast<float>(x), 0, 0});
    TSvetoforSubItem& head = light.AddHead();
    head.SetName("1.1");
    head.SetOffset({0, 1, 0});
    head.SetRotation(c.Rotation);
    const auto picture = test::DrawPlan(street_, {0, 1, 0}, 80, TKindSet{TSvetoforItem::kKindIndex});
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    EXPECT_TRUE(test::ColorNear(picture->At(x + c.GreenX, 1 + c.GreenY), kGreen, 40));
    for (const auto& [dx, dy] : c.White) EXPECT_TRUE(test::ColorNear(picture->At(x + dx, 1 + dy), kWhite, 10));
    EXPECT_FALSE(test::ColorNear(picture->At(x, 1), kMarker, 80));
    // The line from the item's point up to the head.
    EXPECT_LT(test::Brightness(picture->At(x, 0.3)), 128);
  }
}

}  // namespace
}  // namespace vellmar
