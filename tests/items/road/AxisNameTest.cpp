#include <gtest/gtest.h>

#include <string>

#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/road/AxisItem.h"
#include "platform/MemoryStream.h"

namespace vellmar {
namespace {

constexpr int32_t kAxisKind = 35;

// A missing name chunk reads as "the comment"; an axis with an empty name and a comment
// once came back from a save named after its comment.
TEST(AxisName, ASaveAndReloadKeepsNameAndCommentAsTheyWere) {
  struct TCase {
    std::string Name;
    std::string Comment;
  };
  const TCase cases[] = {{"", "ring road"}, {"main", "ring road"}, {"ring road", "ring road"}, {"", ""}, {"main", ""}};
  RegisterAllItemKinds();
  for (const TCase& c : cases) {
    SCOPED_TRACE("name '" + c.Name + "', comment '" + c.Comment + "'");
    TStreetStructure street;
    auto* axis = static_cast<TAxisItem*>(street.ItemList(kAxisKind).NewItem());
    axis->Points().InsertNew(0, {0, 0, 0});
    axis->Points().InsertNew(1, {100, 0, 0});
    axis->SetAxisName(c.Name);
    axis->SetComment(c.Comment);

    TMemoryStream saved;
    street.SaveToStream(saved);
    saved.SetPosition(0);
    TStreetStructure reloaded;
    reloaded.LoadFromStream(saved);
    ASSERT_EQ(reloaded.ItemList(kAxisKind).Count(), 1);
    const auto* again = static_cast<const TAxisItem*>(reloaded.ItemList(kAxisKind).Items(0));
    EXPECT_EQ(again->AxisName(), c.Name);
    EXPECT_EQ(again->Comment(), c.Comment);
  }
}

}  // namespace
}  // namespace vellmar
