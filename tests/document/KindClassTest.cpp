// A class entered with RegisterKindClass: its factory and collections, and whether the
// street visits its items every frame, told from whether the class draws per frame.

#include <gtest/gtest.h>

#include <memory>

#include "document/KindClass.h"
#include "document/LineItem.h"
#include "document/StreetStructure.h"
#include "platform/gpu/recording/RecordingDevice.h"
#include "render/DxLineCollection.h"
#include "render/DxRenderer.h"

namespace vellmar {
namespace {

int gInits = 0;
int gFrameCalls = 0;

// Retained drawing only.
class TRetainedItem : public TLineItem {
 public:
  using TLineItem::TLineItem;
  static void InitKindCollections(TStreetStructure& street) {
    ++gInits;
    street.KindCollections(8).push_back(std::make_unique<TDxLineCollection>());
  }
};

// Draws per frame, one class down from where the kind's collections are made.
class TPerFrameBase : public TLineItem {
 public:
  using TLineItem::TLineItem;
  static void InitKindCollections(TStreetStructure&) {}
  void DrawImmediate(const TDxDrawParams&, TModeSet) override { ++gFrameCalls; }
};
class TPerFrameItem final : public TPerFrameBase {
 public:
  using TPerFrameBase::TPerFrameBase;
};

class KindClassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterItemKinds();
    gInits = 0;
    gFrameCalls = 0;
  }
  void TearDown() override { RegisterItemKinds(); }

  void Frame(TStreetStructure& street) {
    TdxRenderer renderer(
        100, 100,
        [](std::unique_ptr<IGpuDevice>& made) {
          made = std::make_unique<RecordingDevice>(100, 100);
          return D3D_OK;
        },
        nullptr);
    street.Draw(TDxDrawParams{&renderer, {}, 100}, TKindRegistry::AllKinds(), 1u << 0);
  }
};

TEST_F(KindClassTest, KindsWhoseClassesDrawPerFrameAreVisitedEveryFrameAndNoOthers) {
  RegisterKindClass<TRetainedItem>(8);
  RegisterKindClass<TPerFrameItem>(9);
  EXPECT_FALSE(TKindRegistry::Kind(8).DrawsImmediate);
  EXPECT_TRUE(TKindRegistry::Kind(9).DrawsImmediate);
  TStreetStructure street;
  for (const int32_t kind : {8, 8, 9, 9, 9}) {
    TAbstractItem* item = street.ItemList(kind).NewItem();
    item->Points().InsertNew(0, {0, 0, 0});
    item->Points().InsertNew(1, {1, 0, 0});
  }
  EXPECT_EQ(gInits, 1);
  EXPECT_NE(dynamic_cast<TRetainedItem*>(street.ItemList(8).Items(0)), nullptr);
  Frame(street);
  EXPECT_EQ(gFrameCalls, 3);

  // A class entered by its factory alone is visited: nothing is known of its drawing.
  TKindRegistry::RegisterFactory(9, MakeItem<TPerFrameItem>);
  TKindRegistry::RegisterFactory(8, MakeItem<TRetainedItem>);
  EXPECT_TRUE(TKindRegistry::Kind(8).DrawsImmediate);
  Frame(street);
  EXPECT_EQ(gFrameCalls, 6);
}

}  // namespace
}  // namespace vellmar
