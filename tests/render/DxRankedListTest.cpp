#include "render/DxRankedList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace vellmar {
namespace {

struct TItem : TDxRankedItem {
  int Value = 0;
};

// The list against a plain vector under random inserts and erases: positions, the
// element at each position, the neighbour links and the binary search must agree after
// every step, while the list is a short array (40 elements at most) and after it has
// become a tree.
TEST(DxRankedList, AgreesWithAVectorUnderRandomInsertsAndErases) {
  for (const uint32_t seed : {1u, 2u, 3u, 4u}) {
    std::mt19937 random(seed);
    std::vector<TItem> items(seed % 2 == 0 ? 40 : 400);
    std::vector<TItem*> model;
    TDxRankedList list;
    for (int step = 0; step < 3000; ++step) {
      const bool insert = model.empty() || (model.size() < items.size() && random() % 3 != 0);
      if (insert) {
        TItem* item = nullptr;
        for (TItem& candidate : items)
          if (!TDxRankedList::Contains(&candidate)) item = &candidate;
        const size_t at = random() % (model.size() + 1);
        item->Value = step;
        list.Insert(at, item);
        model.insert(model.begin() + static_cast<ptrdiff_t>(at), item);
      } else {
        const size_t at = random() % model.size();
        list.Erase(model[at]);
        EXPECT_FALSE(TDxRankedList::Contains(model[at]));
        model.erase(model.begin() + static_cast<ptrdiff_t>(at));
      }
      ASSERT_EQ(list.Size(), model.size());
      for (size_t i = 0; i < model.size(); ++i) {
        ASSERT_EQ(list.At(i), model[i]) << "seed " << seed << " step " << step << " at " << i;
        ASSERT_EQ(list.PositionOf(model[i]), i);
        ASSERT_EQ(model[i]->Prev, i > 0 ? model[i - 1] : nullptr);
        ASSERT_EQ(model[i]->Next, i + 1 < model.size() ? model[i + 1] : nullptr);
      }
      // The binary search finds where a split of the list begins, or nothing past its end.
      const size_t split = random() % (model.size() + 1);
      const TDxRankedItem* first =
          list.FindFirst([&](const TDxRankedItem* item) { return list.PositionOf(item) >= split; });
      ASSERT_EQ(first, split < model.size() ? model[split] : nullptr) << "split " << split;
    }
  }
}

// A list of n elements stays about log n deep, so positions cost little.
TEST(DxRankedList, StaysShallowWhenFilledInOrder) {
  std::vector<TItem> items(1 << 14);
  TDxRankedList list;
  for (size_t i = 0; i < items.size(); ++i) list.Insert(i, &items[i]);
  size_t deepest = 0;
  for (const TItem& item : items) {
    size_t depth = 0;
    for (const TDxRankedItem* up = &item; up->Parent; up = up->Parent) ++depth;
    deepest = std::max(deepest, depth);
  }
  EXPECT_LT(deepest, 60u);
}

}  // namespace
}  // namespace vellmar
