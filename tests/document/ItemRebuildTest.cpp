#include <gtest/gtest.h>

#include <memory>

#include "document/AbstractItem.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "platform/gpu/recording/RecordingDevice.h"
#include "render/DxLineCollection.h"
#include "render/DxRenderer.h"

namespace vellmar {
namespace {

constexpr int32_t kCurbKind = 8;
constexpr int32_t kLawnKind = 4;

int gInitCalls = 0;
// World translation seen by each DrawImmediate call.
std::vector<float> gImmediateShifts;

// A kind that draws its polyline into the one line collection of the kind.
class TOutlineItem : public TAbstractItem {
 public:
  using TAbstractItem::TAbstractItem;
  void BuildPrimitives() override {
    auto* lines = static_cast<TDxLineCollection*>(Street().KindCollections(KindIndex())[0].get());
    lines->AddPolyline(this, Points().Polyline());
  }
  void DrawImmediate(const TDxDrawParams& params, TModeSet /*modes*/) override {
    gImmediateShifts.push_back(params.Renderer->World().GetMatrix()[12]);
  }
};

void InitOutline(TStreetStructure& street) {
  ++gInitCalls;
  TDxPrimCollections& collections = street.KindCollections(kCurbKind);
  collections.clear();
  collections.push_back(std::make_unique<TDxLineCollection>());
}

class ItemRebuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterItemKinds();
    TItemKind kind = TKindRegistry::Kind(kCurbKind);
    kind.Factory = [](TStreetStructure& s, const TItemKind& k) -> std::unique_ptr<TAbstractItem> {
      return std::make_unique<TOutlineItem>(s, k);
    };
    kind.InitKindCollections = InitOutline;
    TKindRegistry::Register(kind);
    gInitCalls = 0;
    gImmediateShifts.clear();
  }
  void TearDown() override { RegisterItemKinds(); }

  TAbstractItem* NewCurb(std::initializer_list<TXYZ> vertices) {
    TAbstractItem* item = street.ItemList(kCurbKind).NewItem();
    for (const TXYZ& v : vertices) item->Points().InsertNew(item->Points().Count(), v);
    return item;
  }
  TDxPrimCollection& Lines() { return *street.KindCollections(kCurbKind)[0]; }
  size_t LiveLines() { return Lines().Count() - Lines().DeletedCount(); }

  TStreetStructure street;
};

TEST_F(ItemRebuildTest, ChangedItemsReplaceTheirPrimitives) {
  TAbstractItem* first = NewCurb({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
  TAbstractItem* second = NewCurb({{0, 5, 0}, {1, 5, 0}});
  EXPECT_EQ(gInitCalls, 1);  // only the first item of the kind sets the collections up
  const TKindSet curbs{kCurbKind};
  street.RebuildKinds(curbs);
  EXPECT_EQ(LiveLines(), 3u);
  EXPECT_FALSE(street.ItemList(kCurbKind).NeedsRebuild());
  EXPECT_FALSE(first->Points().Modified());
  ASSERT_EQ(first->KindPrimitives().size(), 1u);
  EXPECT_EQ(first->KindPrimitives()[0].Prims.size(), 2u);

  // Only the changed item is re-recorded.
  const TDxPrimRange secondPrims = second->KindPrimitives()[0].Prims;
  first->Points().SetVertex(2, {2, 1, 0});
  street.RebuildKinds(curbs);
  EXPECT_EQ(LiveLines(), 3u);
  EXPECT_EQ(Lines().DeletedCount(), 2u);
  EXPECT_EQ(second->KindPrimitives()[0].Prims, secondPrims);

  // A hidden item keeps no primitives.
  street.GroupNames().Lines() = {"Hidden=OFF"};
  second->SetGroupName("Hidden");
  street.RebuildKinds(curbs);
  EXPECT_EQ(LiveLines(), 2u);
  EXPECT_TRUE(second->KindPrimitives()[0].Prims.empty());

  // A freed item takes its primitives with it.
  street.ItemList(kCurbKind).Delete(first);
  EXPECT_EQ(LiveLines(), 0u);
}

TEST_F(ItemRebuildTest, OnlyVisibleKindsThatNeedItAreRebuilt) {
  TAbstractItem* curb = NewCurb({{0, 0, 0}, {1, 0, 0}});
  street.RebuildKinds(TKindSet{kLawnKind});
  EXPECT_EQ(Lines().Count(), 0u);
  EXPECT_TRUE(curb->Points().Modified());
  street.RebuildKinds(TKindRegistry::AllKinds());
  EXPECT_EQ(Lines().Count(), 1u);
}

TEST_F(ItemRebuildTest, ItemsRecordAfreshInRemadeCollections) {
  TAbstractItem* curb = NewCurb({{0, 0, 0}, {1, 0, 0}});
  street.RebuildKinds(TKindSet{kCurbKind});
  InitOutline(street);  // the kind replaced its collections
  curb->Points().SetModified(true);
  street.RebuildKinds(TKindSet{kCurbKind});
  ASSERT_EQ(curb->KindPrimitives().size(), 1u);
  EXPECT_EQ(curb->KindPrimitives()[0].Collection, &Lines());
  EXPECT_EQ(LiveLines(), 1u);

  // Clearing the street frees the collections; the next item of the kind makes new ones.
  street.Clear();
  EXPECT_TRUE(street.KindCollections(kCurbKind).empty());
  NewCurb({{0, 0, 0}, {3, 0, 0}});
  EXPECT_EQ(street.KindCollections(kCurbKind).size(), 1u);
}

TEST_F(ItemRebuildTest, StreetDrawsVisibleKindsUnderItsPlacement) {
  RecordingDevice* device = nullptr;
  TdxRenderer renderer(
      100, 100,
      [&device](std::unique_ptr<IGpuDevice>& made) {
        auto recording = std::make_unique<RecordingDevice>(100, 100);
        device = recording.get();
        made = std::move(recording);
        return D3D_OK;
      },
      nullptr);
  renderer.BeginFrame();
  NewCurb({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
  TAbstractItem* hidden = NewCurb({{0, 1, 0}, {1, 1, 0}});
  street.GroupNames().Lines() = {"H=OFF"};
  hidden->SetGroupName("H");
  street.Placement().Translate(false, 7, 0, 0);
  const TDxDrawParams params{&renderer, {0, 0, 0}, 100.0f};

  device->ClearCalls();
  street.Draw(params, TKindSet{kLawnKind}, 0);
  EXPECT_TRUE(street.ItemList(kCurbKind).NeedsRebuild());
  EXPECT_EQ(device->DrawCallCount(), 0u);

  street.Draw(params, TKindSet{kCurbKind}, 1u);
  EXPECT_FALSE(street.ItemList(kCurbKind).NeedsRebuild());
  std::vector<std::string> draws;
  for (const std::string& call : device->CallTexts()) {
    if (call.starts_with("DrawPrimitive")) draws.push_back(call);
  }
  EXPECT_EQ(draws, (std::vector<std::string>{"DrawPrimitive(2, 0, 2)"}));  // the shown curb's two lines
  EXPECT_EQ(Lines().ModeSet(), 1u);
  EXPECT_EQ(gImmediateShifts, (std::vector<float>{7.0f}));  // only the shown item, under the placement
  EXPECT_TRUE(renderer.World().IsIdentity());
}

}  // namespace
}  // namespace vellmar
