#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/ItemSnapper.h"

namespace vellmar {
namespace {

constexpr int32_t kCarriageway = 2, kLawn = 4, kCurb = 8, kAxis = 35;

// A carriageway from x = 0 to 100 between y = 0 and 10, a curb along its northern edge
// from x = 20 to 60, a lawn north of it, and the main axis down the middle, its line not
// drawn.
class ItemSnapperTest : public testing::Test {
 public:
  ItemSnapperTest() {
    RegisterAllItemKinds();
    carriageway = Add(kCarriageway, {{0, 0, 0}, {100, 0, 0}, {100, 10, 0}, {0, 10, 0}});
    curb = Add(kCurb, {{20, 10, 0}, {60, 10, 0}});
    lawn = Add(kLawn, {{0, 12, 0}, {30, 12, 0}, {30, 20, 0}, {0, 20, 0}});
    axis = Add(kAxis, {{0, 5, 0}, {100, 5, 0}});
    street.MainReferences().SetItem(0, axis);
  }
  TAbstractItem* Add(int32_t kind, const std::vector<TXYZ>& points) {
    TAbstractItem* item = street.ItemList(kind).NewItem();
    for (const TXYZ& p : points) item->Points().InsertNew(item->Points().Count(), p);
    return item;
  }
  // Both the reference and the fast snapper, which must agree.
  std::optional<TSnap> Snap(const TKindSet& visible, const TXYZ& point, double radius) {
    const std::optional<TSnap> expected = SnapToItems(street, visible, point, radius);
    const std::optional<TSnap> fast = TItemSnapper(street).Snap(visible, point, radius);
    EXPECT_EQ(fast.has_value(), expected.has_value());
    if (fast && expected) {
      EXPECT_EQ(fast->Item, expected->Item);
      EXPECT_EQ(fast->Kind, expected->Kind);
    }
    return expected;
  }
  TStreetStructure street;
  TAbstractItem *carriageway, *curb, *lawn, *axis;
};

TEST_F(ItemSnapperTest, AVertexWinsOverNearerLinesAndLinesOverNothing) {
  struct TCase {
    std::string Name;
    TXYZ Point;
    double Radius;
    std::optional<TXYZ> Expected;
    TSnapKind Kind;
  };
  const TCase cases[] = {
      {"the curb's end within the radius", {20.6f, 10.4f, 0}, 1.0, TXYZ{20, 10, 0}, TSnapKind::Vertex},
      {"a vertex further than the line under the pointer", {29.5f, 11.9f, 0}, 1.0, TXYZ{30, 12, 0}, TSnapKind::Vertex},
      {"the nearest point of the curb's line", {40, 10.6f, 0}, 1.0, TXYZ{40, 10, 0}, TSnapKind::Edge},
      {"an area's closing edge", {-0.5f, 16, 0}, 1.0, TXYZ{0, 16, 0}, TSnapKind::Edge},
      {"the axis, its line hidden", {50, 5.7f, 0}, 1.0, TXYZ{50, 5, 0}, TSnapKind::Axis},
      {"the axis's end", {100.3f, 5.2f, 0}, 1.0, TXYZ{100, 5, 0}, TSnapKind::Vertex},
      {"nothing beyond the radius", {50, 7.5f, 0}, 1.0, std::nullopt, TSnapKind::Edge},
      {"a vertex just outside the radius leaves the line", {21.2f, 10.1f, 0}, 1.0, TXYZ{21.2f, 10, 0},
       TSnapKind::Edge},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::optional<TSnap> snap = Snap(TKindRegistry::AllKinds(), c.Point, c.Radius);
    ASSERT_EQ(snap.has_value(), c.Expected.has_value());
    if (!snap) continue;
    EXPECT_NEAR(snap->Point.x, c.Expected->x, 1e-4);
    EXPECT_NEAR(snap->Point.y, c.Expected->y, 1e-4);
    EXPECT_EQ(snap->Kind, c.Kind);
  }
}

TEST_F(ItemSnapperTest, HiddenKindsTakeNoSnaps) {
  TKindSet visible = TKindRegistry::AllKinds();
  visible.Exclude(kCurb);
  // The carriageway's edge under the curb still takes the point.
  const std::optional<TSnap> edge = Snap(visible, {40, 10.6f, 0}, 1.0);
  ASSERT_TRUE(edge.has_value());
  EXPECT_EQ(edge->Item, carriageway);
  visible.Exclude(kAxis);
  EXPECT_FALSE(Snap(visible, {50, 5.7f, 0}, 1.0).has_value());
}

// The fast snapper skips items by their boxes; a box without the radius round it, or a
// hidden axis left out, loses snaps near the edges.
TEST_F(ItemSnapperTest, TheFastSnapperAgreesWithTheReferenceEverywhere) {
  Add(kCurb, {{-5, -5, 0}, {-1, -1, 0}});
  const TItemSnapper snapper(street);
  int snaps = 0;
  for (float x = -7; x <= 103; x += 0.45f) {
    for (float y = -7; y <= 22; y += 0.45f) {
      const std::optional<TSnap> expected = SnapToItems(street, TKindRegistry::AllKinds(), {x, y, 0}, 0.8);
      const std::optional<TSnap> fast = snapper.Snap(TKindRegistry::AllKinds(), {x, y, 0}, 0.8);
      ASSERT_EQ(fast.has_value(), expected.has_value()) << x << ", " << y;
      if (!fast) continue;
      ASSERT_EQ(fast->Item, expected->Item) << x << ", " << y;
      ASSERT_EQ(fast->Point.x, expected->Point.x) << x << ", " << y;
      ASSERT_EQ(fast->Point.y, expected->Point.y) << x << ", " << y;
      ++snaps;
    }
  }
  EXPECT_GT(snaps, 1000);
}

}  // namespace
}  // namespace vellmar
