// Streets built at random from items of every kind that share points, saved, loaded
// and drawn for two frames. A line following a curve through two shared points once
// read the curve's polyline before anything had evaluated it (kinds rebuild in index
// order, and an inactive curve is never built) and crashed while drawing a valid file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "document/KindRegistry.h"
#include "document/PointList.h"
#include "document/StreetStructure.h"
#include "kinds/AllKinds.h"
#include "platform/MemoryStream.h"
#include "support/StreetFrames.h"

namespace vellmar {
namespace {

constexpr int32_t kCurveKind = 26;
constexpr int32_t kCalcAreaKind = 34;
constexpr int32_t kAreaDefectKind = 38;

class RandomStreetDrawTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterAllKinds(); }

  // Every kind gets up to two items; each vertex reuses an earlier point one time in three,
  // so lines, areas and curves share points (and runs of consecutive points) freely.
  static void FillAtRandom(TStreetStructure& street, uint32_t seed) {
    std::mt19937 rng(seed);
    street.GroupNames().SetValue("hidden", "OFF");
    std::vector<TPointRecord*> used;
    const auto coordinate = [&] { return static_cast<float>(rng() % 2000) / 20.0f; };
    for (int32_t kind = 0; kind < kKindCount; ++kind) {
      if (!TKindRegistry::IsRegistered(kind) || TKindRegistry::Kind(kind).Factory == nullptr) continue;
      const int items = static_cast<int>(rng() % 3);
      for (int n = 0; n < items; ++n) {
        TAbstractItem* item = street.ItemList(kind).NewItem();
        const int vertices = 1 + static_cast<int>(rng() % 6);
        for (int v = 0; v < vertices; ++v) {
          TPointList& points = item->Points();
          if (!used.empty() && rng() % 3 == 0) {
            points.Insert(points.Count(), used[rng() % used.size()]);
          } else {
            points.InsertNew(points.Count(), {coordinate(), coordinate(), 0.0f});
          }
          if (points.Count() > 0) used.push_back(points.VertexRecord(points.Count() - 1));
        }
        if (rng() % 4 == 0) item->SetGroupName("hidden");
      }
    }
  }

  // The street as a file would bring it back.
  static std::unique_ptr<TStreetStructure> Reloaded(TStreetStructure& street) {
    TMemoryStream saved;
    street.SaveToStream(saved);
    saved.SetPosition(0);
    auto loaded = std::make_unique<TStreetStructure>();
    loaded->LoadFromStream(saved);
    return loaded;
  }
};

TEST_F(RandomStreetDrawTest, AFollowerOfAnUnbuiltCurveDrawsAlongTheCurve) {
  for (const int32_t follower : {kCalcAreaKind, kAreaDefectKind}) {
    for (const bool curveShown : {true, false}) {
      SCOPED_TRACE(std::to_string(follower) + (curveShown ? " shown" : " hidden"));
      TStreetStructure street;
      TAbstractItem* curve = street.ItemList(kCurveKind).NewItem();
      for (const TXYZ& p : {TXYZ{0, 0, 0}, TXYZ{10, 8, 0}, TXYZ{20, 0, 0}}) {
        curve->Points().InsertNew(curve->Points().Count(), p);
      }
      if (!curveShown) {
        street.GroupNames().SetValue("hidden", "OFF");
        curve->SetGroupName("hidden");
      }
      TAbstractItem* area = street.ItemList(follower).NewItem();
      area->Points().Insert(0, curve->Points().VertexRecord(0));
      area->Points().Insert(1, curve->Points().VertexRecord(1));
      area->Points().InsertNew(2, {10, -10, 0});

      const std::unique_ptr<TStreetStructure> loaded = Reloaded(street);
      DrawTwoFrames(*loaded);

      // The area's first edge runs along the smooth curve, not straight across.
      TAbstractItem* drawn = loaded->ItemList(follower).Items(0);
      const TXYZArray& outline = drawn->Points().Polyline();
      ASSERT_GT(outline.size(), 4u);
      EXPECT_GT(outline[outline.size() / 4].y, 0.5f) << "the edge should bulge with the curve";
    }
  }
}

// Every vertex drawn is a finite number, and a street draws the same before and after a
// save (the file keeps everything a drawing depends on). A random street may hold items
// no file can (a line of one point), which a load drops; so the street compared is the
// one a file brought back, against its own save loaded once more.
TEST_F(RandomStreetDrawTest, StreetsOfEveryKindSharingPointsDrawTheSameBeforeAndAfterASave) {
  const auto finite = [](const TDrawnFrames& drawn) {
    return std::ranges::all_of(drawn.Vertices, [](const TDxVertex& v) {
      return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z);
    });
  };
  size_t vertices = 0;
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    TStreetStructure street;
    FillAtRandom(street, seed);
    ASSERT_TRUE(finite(DrawTwoFrames(street)));
    const std::unique_ptr<TStreetStructure> saved = Reloaded(street);
    const std::unique_ptr<TStreetStructure> again = Reloaded(*saved);
    const TDrawnFrames before = DrawTwoFrames(*saved);
    const TDrawnFrames after = DrawTwoFrames(*again);
    ASSERT_TRUE(finite(before));
    ASSERT_EQ(after.Draws, before.Draws);
    ASSERT_EQ(after.Vertices.size(), before.Vertices.size());
    for (size_t i = 0; i < before.Vertices.size(); ++i) {
      const TDxVertex& a = before.Vertices[i];
      const TDxVertex& b = after.Vertices[i];
      ASSERT_TRUE(a.X == b.X && a.Y == b.Y && a.Z == b.Z && a.Color == b.Color && a.U == b.U && a.V == b.V)
          << "vertex " << i << " of " << before.Vertices.size();
    }
    vertices += before.Vertices.size();
  }
  // The streets are not empty: most kinds have items in most of them.
  EXPECT_GT(vertices, 300u * 100u);
}

}  // namespace
}  // namespace vellmar
