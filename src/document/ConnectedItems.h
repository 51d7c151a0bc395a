#pragma once
// A list of references to other items of the same street, stored as (kind ident, item ID)
// pairs and resolved once the whole street is loaded. The list does not own the items it
// refers to; it registers itself with its street on creation so that an item being freed
// can be removed from every list that refers to it. Its owner (an item or the street)
// owns it.

#include <cstdint>
#include <string>
#include <vector>

#include "document/TaggedStream.h"

namespace vellmar {

class TAbstractItem;
class TStream;
class TStreetStructure;

class TConnectedItems {
 public:
  // A fixed list keeps capacity slots for good (emptied slots stay); any other list
  // grows and shrinks.
  TConnectedItems(TStreetStructure& street, bool fixed, int32_t capacity);
  ~TConnectedItems();
  TConnectedItems(const TConnectedItems&) = delete;
  TConnectedItems& operator=(const TConnectedItems&) = delete;

  bool Fixed() const { return fixed_; }
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // nullptr for an empty slot.
  TAbstractItem* Items(int32_t index) const;
  void SetItem(int32_t index, TAbstractItem* item);
  void SetCapacity(int32_t capacity);
  int32_t IndexOf(const TAbstractItem* item) const;
  void Clear();
  void RemoveItem(const TAbstractItem* item);
  const std::vector<TObjectRef>& PendingRefs() const { return pendingRefs_; }

  // The "CONNECTD" chunk; an absent chunk leaves the list as it is.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  // Turns the references read by LoadFromStream into items; a reference to an unknown
  // kind or ID becomes an empty slot.
  void Resolve();

 private:
  TStreetStructure& street_;
  bool fixed_;
  std::vector<TObjectRef> pendingRefs_;
  std::vector<TAbstractItem*> items_;
};

}  // namespace vellmar
