#include "document/ConnectedItems.h"

#include <algorithm>

#include "document/AbstractItem.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "platform/Error.h"

namespace vellmar {

TConnectedItems::TConnectedItems(TStreetStructure& street, bool fixed, int32_t capacity)
    : street_(street), fixed_(fixed), items_(static_cast<size_t>(std::max(capacity, 0)), nullptr) {
  street_.RegisterReferenceList(this);
}

TConnectedItems::~TConnectedItems() {
  street_.UnregisterReferenceList(this);
}

TAbstractItem* TConnectedItems::Items(int32_t index) const {
  if (index < 0 || index >= Count()) {
    throw EVellmarError("TConnectedItems.Items: index " + std::to_string(index) + " out of range");
  }
  return items_[static_cast<size_t>(index)];
}

void TConnectedItems::SetItem(int32_t index, TAbstractItem* item) {
  if (index < 0 || index >= Count()) {
    throw EVellmarError("TConnectedItems.SetItem: index " + std::to_string(index) + " out of range");
  }
  items_[static_cast<size_t>(index)] = item;
  if (item != nullptr) item->SetReferenced();
}

void TConnectedItems::SetCapacity(int32_t capacity) {
  if (fixed_) throw EVellmarError("TConnectedItems.SetCapacity: the list is fixed");
  items_.resize(static_cast<size_t>(std::max(capacity, 0)), nullptr);
}

int32_t TConnectedItems::IndexOf(const TAbstractItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int32_t>(it - items_.begin());
}

void TConnectedItems::Clear() {
  if (fixed_) {
    std::fill(items_.begin(), items_.end(), nullptr);
  } else {
    items_.clear();
  }
}

void TConnectedItems::RemoveItem(const TAbstractItem* item) {
  if (fixed_) {
    std::replace(items_.begin(), items_.end(), const_cast<TAbstractItem*>(item),
                 static_cast<TAbstractItem*>(nullptr));
  } else {
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  }
}

void TConnectedItems::LoadFromStream(TStream& stream) {
  pendingRefs_.clear();
  if (!TestIdent(stream, "CONNECTD")) return;
  const int32_t count = ReadCount(stream, kObjectRefBytes);
  if (fixed_) {
    if (Count() < count) throw EVellmarError("TConnectedItems.LoadFromStream: Fixed, but Size>Capacity");
  } else {
    items_.assign(static_cast<size_t>(count), nullptr);
  }
  pendingRefs_.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    pendingRefs_.push_back(ReadObjectRef(stream));
  }
}

void TConnectedItems::SaveToStream(TStream& stream) const {
  WriteIdent(stream, "CONNECTD");
  WriteInt32(stream, Count());
  for (const TAbstractItem* item : items_) {
    WriteObjectRef(stream, item == nullptr ? TObjectRef{} : TObjectRef{item->Ident(), item->ID()});
  }
}

void TConnectedItems::Resolve() {
  for (size_t i = 0; i < pendingRefs_.size(); ++i) {
    const TObjectRef& reference = pendingRefs_[i];
    // Most slots of a street are empty; they need no search through the kinds.
    const TItemKind* kind =
        reference.IsEmpty() ? nullptr : TKindRegistry::FindKindByIdent(reference.ClassIdent);
    TAbstractItem* item = kind == nullptr ? nullptr : street_.ItemList(kind->Index).FindByID(reference.ID);
    SetItem(static_cast<int32_t>(i), item);
  }
  // Released, not only emptied: every item of a large street has lists that were read.
  std::vector<TObjectRef>().swap(pendingRefs_);
}

}  // namespace vellmar
