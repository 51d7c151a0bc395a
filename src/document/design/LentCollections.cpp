#include "document/design/LentCollections.h"

#include <algorithm>
#include <utility>

namespace vellmar {

void LendCollections(TStreetStructure& street, int32_t kind, const std::vector<TDxPrimCollection*>& lent) {
  TDxPrimCollections& collections = street.KindCollections(kind);
  const auto firstLent = std::stable_partition(collections.begin(), collections.end(),
                                               [](const TKindCollection& entry) { return !entry.IsBorrowed(); });
  const bool same = std::equal(firstLent, collections.end(), lent.begin(), lent.end(),
                               [](const TKindCollection& entry, const TDxPrimCollection* collection) {
                                 return entry.get() == collection;
                               });
  if (same) return;
  collections.erase(firstLent, collections.end());
  for (TDxPrimCollection* collection : lent) collections.push_back(TKindCollection::Borrowed(*collection));
  TItemList& items = street.ItemList(kind);
  items.InvalidatePoints();
  items.SetNeedsRebuild(true);
  street.MarkModified();
}

void SetOwnCollections(TStreetStructure& street, int32_t kind, TDxPrimCollections own) {
  TDxPrimCollections& collections = street.KindCollections(kind);
  for (TKindCollection& entry : collections) {
    if (entry.IsBorrowed()) own.push_back(std::move(entry));
  }
  collections = std::move(own);
}

TDxPrimCollection* LentCollection(TStreetStructure& street, int32_t kind, size_t index,
                                  const TDxPrimCollection& expected) {
  const TDxPrimCollections& collections = street.KindCollections(kind);
  if (index >= collections.size() || collections[index].get() != &expected) return nullptr;
  return collections[index].get();
}

}  // namespace vellmar
