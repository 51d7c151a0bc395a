// Rebuilding kinds on worker threads: what the caller sees must be what one pass over
// the kinds in order gives - the same primitives in each collection, every item that
// can be built built, and the raise of the first kind in order that raised.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "document/KindClass.h"
#include "document/KindRebuild.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "platform/Error.h"
#include "render/DxDrawParams.h"
#include "render/DxLineCollection.h"
#include "support/RecordedFrame.h"

namespace vellmar {
namespace {

constexpr int32_t kFirstProbeKind = 20;
constexpr int32_t kProbeKinds = 4;
constexpr int32_t kItemsPerKind = 3;

std::string KindName(int32_t kind) {
  std::string name = "kind ";
  name += std::to_string(kind);
  return name;
}

// Draws its polyline into its kind's first collection; an item commented "raise" raises,
// naming its kind, one commented "raise once after drawing" does so after drawing, once.
class TProbeItem : public TAbstractItem {
 public:
  using TAbstractItem::TAbstractItem;
  static void InitKindCollections(TStreetStructure& /*street*/) {}
  void BuildPrimitives() override {
    if (Comment() == "raise") throw EVellmarError(KindName(KindIndex()));
    auto& lines = static_cast<TDxLineCollection&>(*Street().KindCollections(KindIndex()).at(0));
    lines.AddPolyline(this, Points().Polyline());
    if (Comment() == "raise once after drawing") {
      SetComment("");
      throw EVellmarError(KindName(KindIndex()));
    }
  }
};

class TAlongsideProbeItem : public TProbeItem {
 public:
  using TRebuildsAlongside = TAlongsideProbeItem;
  using TProbeItem::TProbeItem;
};

// Builds as its base does, but has not said so itself.
class TDerivedProbeItem final : public TAlongsideProbeItem {
 public:
  using TAlongsideProbeItem::TAlongsideProbeItem;
};

TEST(KindRebuildClass, OnlyAClassNamingItselfIsRebuiltAlongside) {
  EXPECT_FALSE(RebuildsAlongside<TProbeItem>());
  EXPECT_TRUE(RebuildsAlongside<TAlongsideProbeItem>());
  EXPECT_FALSE(RebuildsAlongside<TDerivedProbeItem>());
  RegisterItemKinds();
  RegisterKindClass<TAlongsideProbeItem>(kFirstProbeKind);
  EXPECT_TRUE(TKindRegistry::Kind(kFirstProbeKind).RebuildsAlongside);
  // A factory put in later belongs to a class nothing is known of.
  TKindRegistry::RegisterFactory(kFirstProbeKind, MakeItem<TProbeItem>);
  EXPECT_FALSE(TKindRegistry::Kind(kFirstProbeKind).RebuildsAlongside);
  RegisterItemKinds();
}

class KindRebuildTest : public ::testing::Test {
 protected:
  void TearDown() override { RegisterItemKinds(); }

  // The probe kinds in alongside allow a rebuild alongside others, the rest do not.
  static void RegisterProbes(const std::set<int32_t>& alongside) {
    RegisterItemKinds();
    for (int32_t kind = kFirstProbeKind; kind < kFirstProbeKind + kProbeKinds; ++kind) {
      if (alongside.contains(kind)) {
        RegisterKindClass<TAlongsideProbeItem>(kind);
      } else {
        RegisterKindClass<TProbeItem>(kind);
      }
    }
  }

  // kItemsPerKind items in each probe kind; the middle item of the kinds in raising raises.
  // Each kind gets a line collection of its own, except the kinds in borrowing, which are
  // lent the collection of the kind before them.
  void AddItems(TStreetStructure& street, const std::set<int32_t>& raising,
                const std::set<int32_t>& borrowing) {
    for (int32_t kind = kFirstProbeKind; kind < kFirstProbeKind + kProbeKinds; ++kind) {
      TDxPrimCollections& collections = street.KindCollections(kind);
      if (borrowing.contains(kind)) {
        collections.push_back(TKindCollection::Borrowed(*street.KindCollections(kind - 1).at(0)));
      } else {
        collections.push_back(std::make_unique<TDxLineCollection>());
      }
      for (int32_t i = 0; i < kItemsPerKind; ++i) {
        TAbstractItem* item = street.ItemList(kind).NewItem();
        const float y = static_cast<float>(kind * 10 + i);
        for (int32_t k = 0; k < 3; ++k) item->Points().InsertNew(k, {static_cast<float>(k), y, 0.0f});
        if (i == 1 && raising.contains(kind)) item->SetComment("raise");
      }
    }
  }

  static bool Rebuilt(TStreetStructure& street, int32_t kind) {
    return !street.ItemList(kind).NeedsRebuild();
  }
};

TEST_F(KindRebuildTest, EverythingElseIsBuiltAndTheFirstKindInOrderThatRaisesReachesTheCaller) {
  struct TCase {
    const char* Name;
    std::set<int32_t> Alongside;
    std::set<int32_t> Raising;
    int32_t Raised;  // the kind whose raise reaches the caller; 0: none
    std::set<int32_t> Rebuilt;
  };
  const TCase cases[] = {
      {"nothing raises", {20, 21, 22}, {}, 0, {20, 21, 22, 23}},
      // Whichever thread a kind is on, only the raising kinds are left needing a rebuild.
      {"a kind alongside raises", {20, 21, 22}, {20}, 20, {21, 22, 23}},
      {"two kinds alongside raise", {20, 21, 22}, {22, 21}, 21, {20, 23}},
      {"the caller's kind before a raising kind alongside", {21, 22, 23}, {20, 22}, 20, {21, 23}},
      {"a kind alongside before the caller's raising kind", {20, 21, 23}, {21, 22}, 21, {20, 23}},
      {"the caller's kind raises, later ones are built", {21, 23}, {22}, 22, {20, 21, 23}},
      {"one thread", {}, {21, 23}, 21, {20, 22}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    RegisterProbes(c.Alongside);
    TStreetStructure street;
    AddItems(street, c.Raising, {});
    std::string raised;
    try {
      street.RebuildKinds(TKindRegistry::AllKinds(), 4);
    } catch (const EVellmarError& error) {
      raised = error.what();
    }
    EXPECT_EQ(raised, c.Raised == 0 ? "" : KindName(c.Raised));
    for (int32_t kind = kFirstProbeKind; kind < kFirstProbeKind + kProbeKinds; ++kind) {
      EXPECT_EQ(Rebuilt(street, kind), c.Rebuilt.contains(kind)) << "kind " << kind;
    }
    // In a raising kind only the raising item waits for the next rebuild, drawing nothing.
    for (const int32_t kind : c.Raising) {
      const TItemList& list = street.ItemList(kind);
      EXPECT_FALSE(list.Items(0)->Points().Modified()) << "kind " << kind;
      EXPECT_TRUE(list.Items(1)->Points().Modified()) << "kind " << kind;
      EXPECT_FALSE(list.Items(2)->Points().Modified()) << "kind " << kind;
      EXPECT_EQ(street.KindCollections(kind).at(0)->Count(), 4u) << "kind " << kind;  // two lines each
    }
  }
}

// One item that cannot be built leaves the rest of the street on the screen: the frame
// draws every other item, then says what failed; once the item is mended it is drawn too.
TEST_F(KindRebuildTest, AFrameDrawsWhatWasBuiltAndThenSaysWhatFailed) {
  RegisterProbes({20, 21});
  TStreetStructure street;
  AddItems(street, {21, 22}, {});
  test::TRecordedFrame frame;
  const TDxDrawParams params{frame.Renderer.get(), {0, 0, 0}, 1000.0f};
  // The y of every line drawn is its item's: kind * 10 + place in the list.
  const auto drawnRows = [&] {
    std::set<int> rows;
    for (const TGpuCall* draw : frame.Draws()) {
      for (const TDxVertex& v : draw->Vertices) rows.insert(static_cast<int>(v.Y));
    }
    frame.Device->ClearCalls();
    return rows;
  };
  const std::set<int> allButTheBroken = {200, 201, 202, 210, 212, 220, 222, 230, 231, 232};
  for (int frameNumber = 0; frameNumber < 2; ++frameNumber) {
    SCOPED_TRACE(frameNumber);
    std::string raised;
    try {
      street.Draw(params, TKindRegistry::AllKinds(), 0);
    } catch (const EVellmarError& error) {
      raised = error.what();
    }
    EXPECT_EQ(raised, KindName(21));
    EXPECT_EQ(drawnRows(), allButTheBroken);
  }
  for (const int32_t kind : {21, 22}) street.ItemList(kind).Items(1)->SetComment("");
  street.Draw(params, TKindRegistry::AllKinds(), 0);
  std::set<int> all = allButTheBroken;
  all.insert({211, 221});
  EXPECT_EQ(drawnRows(), all);
}

// An item that raised after adding primitives leaves none of them behind: its next
// rebuild's are the only ones drawn, and none names it once it is freed.
TEST_F(KindRebuildTest, AnItemThatRaisesMidwayLeavesNoStrayPrimitives) {
  for (const int32_t threads : {1, 4}) {
    SCOPED_TRACE(threads);
    RegisterProbes({20, 21, 22});
    TStreetStructure street;
    AddItems(street, {}, {});
    street.RebuildKinds(TKindRegistry::AllKinds(), threads);
    TAbstractItem* item = street.ItemList(21).Items(1);
    item->SetComment("raise once after drawing");
    item->Points().SetVertex(2, {5, 5, 0});
    EXPECT_THROW(street.RebuildKinds(TKindRegistry::AllKinds(), threads), EVellmarError);
    street.RebuildKinds(TKindRegistry::AllKinds(), threads);

    const TDxPrimCollection& lines = *street.KindCollections(21)[0];
    // Compared by address only: the item may be gone.
    const auto drawn = [&] {
      size_t n = 0;
      for (size_t i = 0; i < lines.Count(); ++i) {
        const TDxPrimView prim = lines.PrimAt(i);
        n += prim.Owner == item && !prim.Deleted ? 1 : 0;
      }
      return n;
    };
    EXPECT_EQ(drawn(), 2u);
    street.ItemList(21).Delete(item);
    EXPECT_EQ(drawn(), 0u);
  }
}

// Every primitive of a collection, as (owner's kind, owner's place in its list, vertices).
std::vector<std::string> Describe(TStreetStructure& street, const TDxPrimCollection& collection) {
  std::vector<std::string> prims;
  for (size_t i = 0; i < collection.Count(); ++i) {
    const TDxPrimView prim = collection.PrimAt(i);
    const TAbstractItem* owner = prim.Owner;
    std::string text = std::to_string(owner->KindIndex());
    text += "/";
    const TItemList& list = street.ItemList(owner->KindIndex());
    for (int32_t k = 0; k < list.Count(); ++k) {
      if (list.Items(k) == owner) text += std::to_string(k);
    }
    for (const TDxVertex& v : prim.Vertices) {
      text += " ";
      text += std::to_string(v.X);
      text += ",";
      text += std::to_string(v.Y);
    }
    prims.push_back(text);
  }
  return prims;
}

TEST_F(KindRebuildTest, KindsSharingACollectionGoToOneThread) {
  struct TCase {
    const char* Name;
    std::set<int32_t> Alongside;
    std::set<int32_t> Borrowing;  // lent the collection of the kind before
    std::vector<TKindGroup> Groups;
  };
  const TCase cases[] = {
      {"each its own", {20, 21, 22, 23}, {}, {{20}, {21}, {22}, {23}}},
      {"a lender and its borrower, the larger group first", {20, 21, 22, 23}, {22}, {{21, 22}, {20}, {23}}},
      {"a chain of lending is one group", {20, 21, 22, 23}, {21, 22, 23}, {{20, 21, 22, 23}}},
      {"lent by a kind rebuilt on the caller", {20, 21, 23}, {23}, {{20}, {21}, {23}}},
      {"only the kinds that allow it", {20, 22}, {21}, {{20}, {22}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    RegisterProbes(c.Alongside);
    TStreetStructure street;
    AddItems(street, {}, c.Borrowing);
    EXPECT_EQ(AlongsideGroups(street, TKindRegistry::AllKinds()), c.Groups);
    // Kinds that need no rebuild, or are not asked for, are in no group.
    EXPECT_TRUE(AlongsideGroups(street, TKindSet{}).empty());
    street.RebuildKinds(TKindRegistry::AllKinds(), 1);
    EXPECT_TRUE(AlongsideGroups(street, TKindRegistry::AllKinds()).empty());
  }
}

TEST_F(KindRebuildTest, KindsSharingACollectionFillItInKindOrder) {
  // Kinds 21 and 23 are lent the collections of 20 and 22; 20 and 21 are rebuilt
  // alongside, 22 and 23 only one of them.
  RegisterProbes({20, 21, 22});
  TStreetStructure serial;
  TStreetStructure parallel;
  AddItems(serial, {}, {21, 23});
  AddItems(parallel, {}, {21, 23});
  serial.RebuildKinds(TKindRegistry::AllKinds(), 1);
  parallel.RebuildKinds(TKindRegistry::AllKinds(), 4);
  for (const int32_t kind : {20, 22}) {
    SCOPED_TRACE(kind);
    const std::vector<std::string> expected = Describe(serial, *serial.KindCollections(kind)[0]);
    ASSERT_EQ(expected.size(), 2u * 2 * kItemsPerKind);
    EXPECT_EQ(Describe(parallel, *parallel.KindCollections(kind)[0]), expected);
  }
}

}  // namespace
}  // namespace vellmar
