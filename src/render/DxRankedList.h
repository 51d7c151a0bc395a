#pragma once
// A list that finds an element's position, the element at a position, and inserts or
// erases at any position in O(log n): a treap ordered by position, with every node
// counting its subtree, and the neighbours linked for stepping along the list. A
// short list is a plain array with the positions kept in the elements instead:
// renumbering a few elements costs less than any walk through a tree. Intrusive:
// elements derive from TDxRankedItem. Ownership: the list owns nothing; its elements
// must outlive their membership.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vellmar {

struct TDxRankedItem {
  TDxRankedItem* Left = nullptr;
  TDxRankedItem* Right = nullptr;
  TDxRankedItem* Parent = nullptr;
  TDxRankedItem* Prev = nullptr;  // neighbours in list order
  TDxRankedItem* Next = nullptr;
  size_t Size = 0;      // elements in this subtree (1 in an array); 0 while outside a list
  size_t Position = 0;  // in an array only
  uint32_t Priority = 0;
};

class TDxRankedList {
 public:
  size_t Size() const { return Tree ? SizeOf(Root) : FlatCount; }
  // The first element for which `isAfter` holds, null when there is none, in
  // O(log n) calls; `isAfter` must be false for a run of elements and true for the rest.
  template <typename Predicate>
  TDxRankedItem* FindFirst(const Predicate& isAfter) const;
  // The element at `position` (< Size()).
  TDxRankedItem* At(size_t position) const;
  size_t PositionOf(const TDxRankedItem* item) const;
  // Puts `item` at `position` (<= Size()); the elements from there on move one up.
  void Insert(size_t position, TDxRankedItem* item);
  void Erase(TDxRankedItem* item);
  void Clear();

  static bool Contains(const TDxRankedItem* item) { return item->Size != 0; }

 private:
  // Past this many elements the array becomes a tree, for the rest of the job.
  static constexpr size_t ArrayLimit = 128;

  static size_t SizeOf(const TDxRankedItem* item) { return item ? item->Size : 0; }
  static void Link(TDxRankedItem* item, TDxRankedItem* prev, TDxRankedItem* next);
  void Renumber(size_t from);
  void InsertIntoTree(size_t position, TDxRankedItem* item);
  void EraseFromTree(TDxRankedItem* item);
  void Rotate(TDxRankedItem* child);
  void Replace(TDxRankedItem* old, TDxRankedItem* by);

  std::array<TDxRankedItem*, ArrayLimit> Flat{};  // the elements while the list is an array
  size_t FlatCount = 0;
  bool Tree = false;
  TDxRankedItem* Root = nullptr;
  uint32_t Seed = 0x9E3779B9u;
};

template <typename Predicate>
TDxRankedItem* TDxRankedList::FindFirst(const Predicate& isAfter) const {
  TDxRankedItem* found = nullptr;
  if (!Tree) {
    size_t low = 0;
    size_t high = FlatCount;
    while (low < high) {
      const size_t middle = low + (high - low) / 2;
      if (isAfter(static_cast<const TDxRankedItem*>(Flat[middle]))) {
        found = Flat[middle];
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    return found;
  }
  for (TDxRankedItem* item = Root; item;) {
    if (isAfter(static_cast<const TDxRankedItem*>(item))) {
      found = item;
      item = item->Left;
    } else {
      item = item->Right;
    }
  }
  return found;
}

}  // namespace vellmar
