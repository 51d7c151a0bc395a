#pragma once
// The items of one kind in a street. The list owns its items; the street owns the list.

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "document/AbstractItem.h"

namespace vellmar {

class TStream;
class TStreetStructure;
struct TDxDrawParams;
struct TItemKind;

class TItemList {
 public:
  TItemList(TStreetStructure& street, int32_t kindIndex);
  ~TItemList();
  TItemList(const TItemList&) = delete;
  TItemList& operator=(const TItemList&) = delete;

  // The kind's registry entry (its class).
  const TItemKind& ItemClass() const;
  int32_t KindIndex() const { return kindIndex_; }

  void Clear();
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  TAbstractItem* Items(int32_t index) const;
  // The first item with this ID, or nullptr.
  TAbstractItem* FindByID(int32_t id) const;
  // An item of the list has a new ID.
  void IDsChanged() { indexValid_ = false; }
  TAbstractItem* NewItem();
  // Frees one item of the list.
  void Delete(const TAbstractItem* item);

  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes);
  void InvalidatePoints();

  bool NeedsRebuild() const { return needsRebuild_; }
  void SetNeedsRebuild(bool flag) { needsRebuild_ = flag; }
  int32_t LastID() const { return lastID_; }

 private:
  TStreetStructure& street_;
  int32_t kindIndex_;
  std::vector<std::unique_ptr<TAbstractItem>> items_;
  bool needsRebuild_ = false;
  int32_t lastID_ = 0;
  // ID -> first item with it; references of a large street are resolved through it.
  mutable std::unordered_map<int32_t, TAbstractItem*> byID_;
  mutable bool indexValid_ = false;
};

}  // namespace vellmar
