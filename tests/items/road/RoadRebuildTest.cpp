// Moving a point rebuilds exactly the items that use it, whatever their kinds, and the
// next frame draws the new geometry (seen through the recording device).

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "RoadDrawSupport.h"
#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/road/LineRazmetItem.h"
#include "platform/gpu/recording/RecordingDevice.h"
#include "render/DxRenderer.h"

namespace vellmar {
namespace {

class RoadRebuildTest : public ::testing::Test {
 protected:
  RoadRebuildTest() {
    RegisterAllItemKinds();
    renderer_ = std::make_unique<TdxRenderer>(
        200, 200,
        [this](std::unique_ptr<IGpuDevice>& made) {
          auto recording = std::make_unique<RecordingDevice>(200, 200);
          recording->SetRecordVertices(true);
          device_ = recording.get();
          made = std::move(recording);
          return D3D_OK;
        },
        nullptr);
    renderer_->World().Scale(true, 0.02, 0.02, 1);
    params_.Renderer = renderer_.get();
    params_.Radius = 1000;
  }

  TAbstractItem& Add(int32_t kind, const TXYZArray& points) {
    TAbstractItem& item = *street_.ItemList(kind).NewItem();
    for (const TXYZ& p : points) item.Points().InsertNew(item.Points().Count(), p);
    return item;
  }
  // The item's primitive references in each of its kind's collections.
  static std::vector<TDxPrimRange> PrimsOf(const TAbstractItem& item) {
    std::vector<TDxPrimRange> prims;
    for (const TKindPrimitives& entry : item.KindPrimitives()) prims.push_back(entry.Prims);
    return prims;
  }
  void Frame() {
    device_->ClearCalls();
    street_.Draw(params_, TKindRegistry::AllKinds(), 1u << 0);
  }
  // Whether a drawn vertex of this frame lies at p.
  bool Drawn(const TXYZ& p) const {
    for (const TGpuCall& call : device_->Calls()) {
      for (const TDxVertex& v : call.Vertices) {
        if (v.X == p.x && v.Y == p.y) return true;
      }
    }
    return false;
  }

  test::RoadDataRoot data_;
  TStreetStructure street_;
  std::unique_ptr<TdxRenderer> renderer_;
  RecordingDevice* device_ = nullptr;
  TDxDrawParams params_;
};

TEST_F(RoadRebuildTest, AMovedSharedPointRebuildsTheItemsThatUseItAndNoOthers) {
  // A carriageway and a sidewalk meeting along x = 10, the curb on that edge sharing its
  // two points, and items of the same kinds elsewhere that share nothing.
  TAbstractItem& road = Add(2, {{0, 0, 0}, {10, 0, 0}, {10, 20, 0}, {0, 20, 0}});
  TAbstractItem& walk = *street_.ItemList(3).NewItem();
  TAbstractItem& curb = *street_.ItemList(8).NewItem();
  for (const int32_t i : {1, 2}) {
    walk.Points().Insert(walk.Points().Count(), road.Points().VertexRecord(i));
    curb.Points().Insert(curb.Points().Count(), road.Points().VertexRecord(i));
  }
  walk.Points().InsertNew(2, {14, 20, 0});
  walk.Points().InsertNew(3, {14, 0, 0});
  std::vector<TAbstractItem*> untouched = {
      &Add(2, {{30, 0, 0}, {40, 0, 0}, {40, 20, 0}}),
      &Add(8, {{30, 0, 0}, {40, 0, 0}}),
      &Add(35, {{-20, -5, 0}, {60, -5, 0}}),
      &Add(14, {{20, 0, 0}, {20, 8, 0}}),
  };
  auto& marking = dynamic_cast<TLineRazmetItem&>(Add(10, {{2, 5, 0}, {8, 5, 0}}));
  marking.SetGostName("1.1");
  untouched.push_back(&marking);
  Frame();
  std::vector<std::vector<TDxPrimRange>> before;
  for (const TAbstractItem* item : untouched) before.push_back(PrimsOf(*item));
  const std::vector<TDxPrimRange> roadBefore = PrimsOf(road), walkBefore = PrimsOf(walk), curbBefore = PrimsOf(curb);

  const TXYZ moved{11, 1, 0};
  ASSERT_FALSE(Drawn(moved));
  road.Points().SetVertex(1, moved);
  for (const TAbstractItem* item : {&road, &walk, &curb}) EXPECT_TRUE(item->Points().Modified());
  for (const TAbstractItem* item : untouched) EXPECT_FALSE(item->Points().Modified()) << item->KindIndex();
  Frame();

  // Counted: three items re-recorded their primitives, none of the others did.
  int rebuilt = 0;
  rebuilt += PrimsOf(road) != roadBefore;
  rebuilt += PrimsOf(walk) != walkBefore;
  rebuilt += PrimsOf(curb) != curbBefore;
  for (size_t i = 0; i < untouched.size(); ++i) rebuilt += PrimsOf(*untouched[i]) != before[i];
  EXPECT_EQ(rebuilt, 3);
  for (size_t i = 0; i < untouched.size(); ++i)
    EXPECT_EQ(PrimsOf(*untouched[i]), before[i]) << "kind " << untouched[i]->KindIndex();
  EXPECT_TRUE(Drawn(moved)) << "the frame draws the moved point";
}

// A marking that moves onto a label place makes the place write its labels anew.
TEST_F(RoadRebuildTest, AMarkingMarksTheLabelPlacesItCrosses) {
  TAbstractItem& crossed = Add(31, {{5, -5, 0}, {5, 5, 0}});
  TAbstractItem& apart = Add(31, {{50, -5, 0}, {50, 5, 0}});
  auto& marking = dynamic_cast<TLineRazmetItem&>(Add(10, {{0, 0, 0}, {10, 0, 0}}));
  marking.SetGostName("1.1");
  Frame();
  ASSERT_FALSE(crossed.Points().Modified());
  marking.Points().SetVertex(1, {10, 1, 0});
  EXPECT_TRUE(crossed.Points().Modified());
  EXPECT_FALSE(apart.Points().Modified());

  // Moved away, the marking still refreshes the place whose label it left there.
  Frame();
  ASSERT_FALSE(crossed.Points().Modified());
  marking.Points().SetVertex(0, {20, 0, 0});
  marking.Points().SetVertex(1, {30, 1, 0});
  EXPECT_TRUE(crossed.Points().Modified());
  EXPECT_FALSE(apart.Points().Modified());
}

}  // namespace
}  // namespace vellmar
