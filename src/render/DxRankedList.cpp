#include "render/DxRankedList.h"

#include <algorithm>

namespace vellmar {

void TDxRankedList::Clear() {
  FlatCount = 0;
  Tree = false;
  Root = nullptr;
}

void TDxRankedList::Link(TDxRankedItem* item, TDxRankedItem* prev, TDxRankedItem* next) {
  item->Prev = prev;
  item->Next = next;
  if (prev) prev->Next = item;
  if (next) next->Prev = item;
}

void TDxRankedList::Renumber(size_t from) {
  for (size_t i = from; i < FlatCount; ++i) Flat[i]->Position = i;
}

TDxRankedItem* TDxRankedList::At(size_t position) const {
  if (!Tree) return position < FlatCount ? Flat[position] : nullptr;
  TDxRankedItem* item = Root;
  while (item) {
    const size_t left = SizeOf(item->Left);
    if (position < left) {
      item = item->Left;
    } else if (position == left) {
      return item;
    } else {
      position -= left + 1;
      item = item->Right;
    }
  }
  return nullptr;
}

size_t TDxRankedList::PositionOf(const TDxRankedItem* item) const {
  if (!Tree) return item->Position;
  size_t position = SizeOf(item->Left);
  for (const TDxRankedItem* up = item->Parent; up; item = up, up = up->Parent)
    if (up->Right == item) position += SizeOf(up->Left) + 1;
  return position;
}

// Puts `by` where `old` hangs from its parent (or the root).
void TDxRankedList::Replace(TDxRankedItem* old, TDxRankedItem* by) {
  TDxRankedItem* parent = old->Parent;
  if (!parent)
    Root = by;
  else if (parent->Left == old)
    parent->Left = by;
  else
    parent->Right = by;
  if (by) by->Parent = parent;
}

// Lifts `child` above its parent, keeping the list order and the subtree counts.
void TDxRankedList::Rotate(TDxRankedItem* child) {
  TDxRankedItem* parent = child->Parent;
  Replace(parent, child);
  if (parent->Left == child) {
    parent->Left = child->Right;
    if (child->Right) child->Right->Parent = parent;
    child->Right = parent;
  } else {
    parent->Right = child->Left;
    if (child->Left) child->Left->Parent = parent;
    child->Left = parent;
  }
  parent->Parent = child;
  parent->Size = SizeOf(parent->Left) + SizeOf(parent->Right) + 1;
  child->Size = SizeOf(child->Left) + SizeOf(child->Right) + 1;
}

void TDxRankedList::Insert(size_t position, TDxRankedItem* item) {
  if (Tree) {
    InsertIntoTree(position, item);
    return;
  }
  if (FlatCount == ArrayLimit) {
    Tree = true;
    Root = nullptr;
    for (size_t i = 0; i < FlatCount; ++i) InsertIntoTree(i, Flat[i]);
    FlatCount = 0;
    InsertIntoTree(position, item);
    return;
  }
  Link(item, position > 0 ? Flat[position - 1] : nullptr, position < FlatCount ? Flat[position] : nullptr);
  item->Left = item->Right = item->Parent = nullptr;
  item->Size = 1;
  std::copy_backward(Flat.begin() + static_cast<ptrdiff_t>(position), Flat.begin() + static_cast<ptrdiff_t>(FlatCount),
                     Flat.begin() + static_cast<ptrdiff_t>(FlatCount) + 1);
  Flat[position] = item;
  ++FlatCount;
  Renumber(position);
}

void TDxRankedList::InsertIntoTree(size_t position, TDxRankedItem* item) {
  Seed ^= Seed << 13;
  Seed ^= Seed >> 17;
  Seed ^= Seed << 5;
  item->Priority = Seed;
  item->Left = item->Right = nullptr;
  item->Size = 1;

  // The new element is a leaf: right of its predecessor or left of its successor.
  const size_t size = SizeOf(Root);
  TDxRankedItem* next = position < size ? At(position) : nullptr;
  TDxRankedItem* prev = next ? next->Prev : (Root ? At(size - 1) : nullptr);
  Link(item, prev, next);
  if (!Root) {
    item->Parent = nullptr;
    Root = item;
    return;
  }
  if (next && !next->Left) {
    next->Left = item;
    item->Parent = next;
  } else {
    prev->Right = item;
    item->Parent = prev;
  }
  for (TDxRankedItem* up = item->Parent; up; up = up->Parent) ++up->Size;
  while (item->Parent && item->Parent->Priority < item->Priority) Rotate(item);
}

void TDxRankedList::Erase(TDxRankedItem* item) {
  if (Tree) {
    EraseFromTree(item);
  } else {
    std::copy(Flat.begin() + static_cast<ptrdiff_t>(item->Position) + 1, Flat.begin() + static_cast<ptrdiff_t>(FlatCount),
              Flat.begin() + static_cast<ptrdiff_t>(item->Position));
    --FlatCount;
    Renumber(item->Position);
  }
  if (item->Prev) item->Prev->Next = item->Next;
  if (item->Next) item->Next->Prev = item->Prev;
  item->Left = item->Right = item->Parent = item->Prev = item->Next = nullptr;
  item->Size = 0;
}

void TDxRankedList::EraseFromTree(TDxRankedItem* item) {
  // Sink the element to a leaf, always lifting its child of higher priority.
  while (item->Left && item->Right) Rotate(item->Left->Priority > item->Right->Priority ? item->Left : item->Right);
  TDxRankedItem* child = item->Left ? item->Left : item->Right;
  for (TDxRankedItem* up = item->Parent; up; up = up->Parent) --up->Size;
  Replace(item, child);
}

}  // namespace vellmar
