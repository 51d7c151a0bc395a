// Surface polygons on the headless GL device: the fill of each kind, the carriageway's
// white or grey by the street's option, the shoulder's colour by its material.

#include <gtest/gtest.h>

#include <string>

#include "RoadDrawSupport.h"
#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"
#include "support/GlTestSupport.h"

namespace vellmar {
namespace {

using test::ColorNear;

class RoadSurfacesDrawTest : public ::testing::Test {
 protected:
  RoadSurfacesDrawTest() { RegisterAllItemKinds(); }

  // A 10 m square of the kind around the origin.
  TAbstractItem& Square(int32_t kind, float left = -5) {
    TAbstractItem& item = *street_.ItemList(kind).NewItem();
    for (const TXYZ& p : {TXYZ{left, -5, 0}, TXYZ{left + 10, -5, 0}, TXYZ{left + 10, 5, 0}, TXYZ{left, 5, 0}})
      item.Points().InsertNew(item.Points().Count(), p);
    return item;
  }

  std::optional<test::TPlanPicture> Draw(const TXYZ& centre = {}) {
    return test::DrawPlan(street_, centre, 4.0, TKindRegistry::AllKinds());
  }

  test::RoadDataRoot data_;
  TStreetStructure street_;
};

TEST_F(RoadSurfacesDrawTest, EachSurfaceKindFillsInItsColour) {
  struct TCase {
    int32_t Kind;
    uint32_t Fill;
  };
  const TCase cases[] = {
      {1, MakeColor(195, 180, 140, 255)}, {2, MakeColor(235, 235, 235, 255)}, {3, MakeColor(210, 210, 210, 255)},
      {4, MakeColor(210, 255, 210, 255)}, {5, MakeColor(250, 200, 120, 255)}, {6, MakeColor(220, 190, 130, 255)},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    Square(c.Kind);
    const auto picture = Draw();
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    EXPECT_TRUE(ColorNear(picture->At(0, 0), c.Fill)) << "kind " << c.Kind;
    EXPECT_TRUE(ColorNear(picture->At(3.5, -4), c.Fill)) << "kind " << c.Kind;
    EXPECT_TRUE(ColorNear(picture->At(0, 8), MakeColor(255, 255, 255, 255))) << "kind " << c.Kind;
  }
}

// Regression: a carriageway's fill is fixed when it is built, so a changed option only
// shows once the carriageways are rebuilt - and then on all of them.
TEST_F(RoadSurfacesDrawTest, CarriagewaysTurnWhiteWithTheOptionOnceRebuilt) {
  Square(2, -12);
  Square(2, 2);
  auto picture = Draw();
  if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
  const uint32_t grey = MakeColor(235, 235, 235, 255), white = MakeColor(255, 255, 255, 255);
  EXPECT_TRUE(ColorNear(picture->At(-7, 0), grey));
  EXPECT_TRUE(ColorNear(picture->At(7, 0), grey));

  street_.DrawOptions().Lines().push_back("RWWhite=1");
  picture = Draw();
  EXPECT_TRUE(ColorNear(picture->At(7, 0), grey)) << "no rebuild, no change";
  street_.ItemList(2).InvalidatePoints();
  picture = Draw();
  // The frame is white too: only a grey pixel would show the carriageway.
  EXPECT_TRUE(ColorNear(picture->At(-7, 0), white));
  EXPECT_TRUE(ColorNear(picture->At(7, 0), white));
  street_.DrawOptions().Lines().back() = "RWWhite=0";
  street_.ItemList(2).InvalidatePoints();
  EXPECT_TRUE(ColorNear(Draw()->At(7, 0), grey));
}

TEST_F(RoadSurfacesDrawTest, ShouldersTakeTheColourOfTheirMaterial) {
  struct TCase {
    const char* Material;  // UTF-8
    uint32_t Fill;
  };
  const uint32_t sand = MakeColor(250, 200, 120, 255);
  const TCase cases[] = {
      {"", sand},
      {"ус.покрытие", MakeColor(192, 192, 130, 255)},
      {"а/б", MakeColor(192, 192, 130, 255)},
      {"гравий", MakeColor(215, 215, 120, 255)},
      {"щебень", MakeColor(215, 215, 120, 255)},
      {"трава", MakeColor(180, 220, 136, 255)},
      {"комб.укр.", sand},
      {"грунт", MakeColor(225, 225, 100, 255)},
      {"песок", MakeColor(225, 225, 100, 255)},
      {"неукр.", MakeColor(225, 225, 100, 255)},
      {"Гравий", sand},  // compared exactly, case included
      {"гравий ", sand},
  };
  // All shoulders in one street: each keeps its own colour in the shared collection.
  float left = 0;
  for (const TCase& c : cases) {
    Square(5, left).SetComment2(Utf8ToCp1251(c.Material));
    left += 12;
  }
  const auto picture = test::DrawPlan(street_, {left / 2 - 1, 0, 0}, 1.0, TKindRegistry::AllKinds(), 160, 40);
  if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
  left = 0;
  for (const TCase& c : cases) {
    EXPECT_TRUE(ColorNear(picture->At(left + 5, 0), c.Fill)) << "material '" << c.Material << "'";
    left += 12;
  }
}

}  // namespace
}  // namespace vellmar
