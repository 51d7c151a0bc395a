#pragma once
// A list that finds an element's position, the element at a position, and inserts or
// erases at any position in O(log n): a treap ordered by position, with every node
// counting its subtree, and the neighbours linked for stepping along the list.
// Intrusive: elements derive from TDxRankedItem. Ownership: the list owns nothing;
// its elements must outlive their membership.

#include <cstddef>
#include <cstdint>

namespace vellmar {

struct TDxRankedItem {
  TDxRankedItem* Left = nullptr;
  TDxRankedItem* Right = nullptr;
  TDxRankedItem* Parent = nullptr;
  TDxRankedItem* Prev = nullptr;  // neighbours in list order
  TDxRankedItem* Next = nullptr;
  size_t Size = 0;  // elements in this subtree; 0 while outside a list
  uint32_t Priority = 0;
};

class TDxRankedList {
 public:
  size_t Size() const { return Root ? Root->Size : 0; }
  TDxRankedItem* RootItem() const { return Root; }
  // The element at `position` (< Size()).
  TDxRankedItem* At(size_t position) const;
  size_t PositionOf(const TDxRankedItem* item) const;
  // Puts `item` at `position` (<= Size()); the elements from there on move one up.
  void Insert(size_t position, TDxRankedItem* item);
  void Erase(TDxRankedItem* item);
  void Clear() { Root = nullptr; }

  static bool Contains(const TDxRankedItem* item) { return item->Size != 0; }

 private:
  static size_t SizeOf(const TDxRankedItem* item) { return item ? item->Size : 0; }
  void Rotate(TDxRankedItem* child);
  void Replace(TDxRankedItem* old, TDxRankedItem* by);

  TDxRankedItem* Root = nullptr;
  uint32_t Seed = 0x9E3779B9u;
};

}  // namespace vellmar
