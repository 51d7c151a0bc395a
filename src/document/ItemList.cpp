#include "document/ItemList.h"

#include <algorithm>
#include <string>

#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "platform/Error.h"

namespace vellmar {

namespace {
// "ITEM    ", the kind ident and the ID: the least an item occupies in a stream.
constexpr size_t kMinStoredItemSize = 8 + 8 + 4;
}  // namespace

TItemList::TItemList(TStreetStructure& street, int32_t kindIndex) : street_(street), kindIndex_(kindIndex) {}

TItemList::~TItemList() {
  Clear();
}

const TItemKind& TItemList::ItemClass() const {
  return TKindRegistry::Kind(kindIndex_);
}

void TItemList::Clear() {
  // Items remove themselves from reference lists while being freed, so the list is
  // taken apart first and freed item by item.
  std::vector<std::unique_ptr<TAbstractItem>> items = std::move(items_);
  items_.clear();
  for (auto& item : items) item.reset();
  needsRebuild_ = false;
  lastID_ = 0;
  indexValid_ = false;
}

TAbstractItem* TItemList::Items(int32_t index) const {
  if (index < 0 || index >= Count()) {
    throw EVellmarError("TItemList.Items: index " + std::to_string(index) + " out of range");
  }
  return items_[static_cast<size_t>(index)].get();
}

TAbstractItem* TItemList::FindByID(int32_t id) const {
  if (!indexValid_) {
    byID_.clear();
    for (const auto& item : items_) byID_.try_emplace(item->ID(), item.get());
    indexValid_ = true;
  }
  auto it = byID_.find(id);
  return it == byID_.end() ? nullptr : it->second;
}

TAbstractItem* TItemList::NewItem() {
  const TItemKind& kind = ItemClass();
  std::unique_ptr<TAbstractItem> item = kind.Factory(street_, kind);
  ++lastID_;
  item->SetID(lastID_);
  items_.push_back(std::move(item));
  indexValid_ = false;
  return items_.back().get();
}

void TItemList::Delete(const TAbstractItem* item) {
  auto it = std::find_if(items_.begin(), items_.end(), [item](const auto& own) { return own.get() == item; });
  if (it == items_.end()) return;
  std::unique_ptr<TAbstractItem> doomed = std::move(*it);
  items_.erase(it);
  indexValid_ = false;
}

void TItemList::LoadFromStream(TStream& stream) {
  const TItemKind& kind = ItemClass();
  if (!TestIdent(stream, "ITEMLIST"))
    throw EVellmarError("TItemList.LoadFromStream: ident ITEMLIST not found");
  if (!TestIdent(stream, kind.Ident)) {
    throw EVellmarError("TItemList.LoadFromStream: ident " + kind.Ident.Text() + " not found");
  }
  const int32_t count = ReadCount(stream, kMinStoredItemSize);
  for (int32_t i = 0; i < count; ++i) {
    TAbstractItem* item = NewItem();
    item->LoadFromStream(stream);
    if (item->Invalid()) {
      Delete(item);
    } else {
      lastID_ = std::max(lastID_, item->ID());
    }
  }
}

void TItemList::SaveToStream(TStream& stream) const {
  if (items_.empty()) return;
  WriteIdent(stream, "ITEMLIST");
  WriteIdent(stream, ItemClass().Ident);
  WriteInt32(stream, Count());
  for (const auto& item : items_) item->SaveToStream(stream);
}

void TItemList::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  // A large street's items are not all visited every frame for nothing.
  if (!ItemClass().DrawsImmediate) return;
  for (const auto& item : items_) {
    if (item->Active()) item->DrawImmediate(params, modes);
  }
}

void TItemList::InvalidatePoints() {
  for (const auto& item : items_) item->Points().SetModified(true);
}

}  // namespace vellmar
