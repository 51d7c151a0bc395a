// The sweep's vertex order: both sorted lists, stable on ties.
#include "render/DxTesselator3.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <utility>
#include <vector>

namespace vellmar {

namespace {

// Below this many vertices a comparison sort is cheaper than the radix passes.
constexpr size_t RadixSortFrom = 256;

// The bits of a single as an unsigned key in the same order (-0 as 0).
uint32_t OrderedBits(float value) {
  const uint32_t bits = std::bit_cast<uint32_t>(value + 0.0f);
  return bits >> 31 ? ~bits : bits | (uint32_t{1} << 31);
}

// Stable least-significant-digit radix sort by key, a byte per pass; passes where
// every key has the same byte are skipped.
template <typename Item>
void RadixSort(std::vector<Item>& items, std::vector<Item>& buffer) {
  constexpr size_t Passes = sizeof(Item::Key);
  std::array<std::array<size_t, 256>, Passes> counts{};
  for (const Item& item : items)
    for (size_t pass = 0; pass < Passes; ++pass) ++counts[pass][(item.Key >> (8 * pass)) & 0xFF];
  for (size_t pass = 0; pass < Passes; ++pass) {
    std::array<size_t, 256>& count = counts[pass];
    if (count[(items.front().Key >> (8 * pass)) & 0xFF] == items.size()) continue;
    size_t sum = 0;
    for (size_t& c : count) sum += std::exchange(c, sum);
    for (const Item& item : items) buffer[count[(item.Key >> (8 * pass)) & 0xFF]++] = item;
    items.swap(buffer);
  }
}

// Sorts by `less` (a strict total order, so any sort gives the same list). A list
// known to be nearly sorted goes through insertion, which gives up for a full sort
// once it has moved more than a few entries per item.
template <typename Item, typename Less>
void SortNearlySorted(std::vector<Item>& list, const Less& less, bool nearlySorted) {
  if (nearlySorted) {
    const size_t budget = 8 * list.size() + 64;
    size_t moves = 0;
    for (size_t i = 1; i < list.size(); ++i) {
      Item item = list[i];
      size_t j = i;
      for (; j > 0 && less(item, list[j - 1]) && moves <= budget; --j, ++moves) list[j] = list[j - 1];
      list[j] = item;
      if (moves > budget) break;
    }
    if (moves <= budget) return;
  }
  std::sort(list.begin(), list.end(), less);
}

}  // namespace

// Equal vertices keep the order they were added in, as insertion after equal elements
// would, but in O(n log n) or better: small lists (and points already moved apart)
// sort by coordinates and then by Id; the caller's single-precision coordinates of a
// large list go through a stable radix sort, by Y first and then by X, which leaves
// ties on X ordered by Y and then by rank.
void TDxTesselator3::SortByKeys(bool inputCoordinates) {
  const size_t n = XSorted.size();
  if (inputCoordinates && n < RadixSortFrom) {
    // Keys packed into integers, with the rank of adding last: no pointer is followed
    // while sorting, and nothing is allocated.
    std::array<TNode*, RadixSortFrom> added;
    std::array<uint64_t, RadixSortFrom> yKeys;
    std::array<std::pair<uint64_t, uint32_t>, RadixSortFrom> xKeys;
    std::copy(XSorted.begin(), XSorted.end(), added.begin());
    for (size_t i = 0; i < n; ++i) {
      const TXYZ& p = *added[i]->Point->Point;
      const uint64_t y = OrderedBits(p.y);
      yKeys[i] = y << 32 | i;
      xKeys[i] = {uint64_t{OrderedBits(p.x)} << 32 | y, static_cast<uint32_t>(i)};
    }
    std::sort(yKeys.begin(), yKeys.begin() + static_cast<ptrdiff_t>(n));
    std::sort(xKeys.begin(), xKeys.begin() + static_cast<ptrdiff_t>(n));
    for (size_t i = 0; i < n; ++i) {
      YSorted[i] = added[yKeys[i] & UINT32_MAX];
      XSorted[i] = added[xKeys[i].second];
    }
    return;
  }
  if (!inputCoordinates || n > UINT32_MAX) {
    // Only input points are listed yet, and their Ids grow in the order of adding. Points
    // moved apart at a shared place moved far less than their neighbours' distance, so
    // the lists are sorted but for a few neighbours: insertion puts those back.
    const auto byX = [](const TNode* a, const TNode* b) {
      if (a->Point->X != b->Point->X) return a->Point->X < b->Point->X;
      if (a->Point->Y != b->Point->Y) return a->Point->Y < b->Point->Y;
      return a->Id < b->Id;
    };
    const auto byY = [](const TNode* a, const TNode* b) {
      return a->Point->Y < b->Point->Y || (a->Point->Y == b->Point->Y && a->Id < b->Id);
    };
    SortNearlySorted(XSorted, byX, !inputCoordinates);
    SortNearlySorted(YSorted, byY, !inputCoordinates);
    return;
  }
  const std::vector<TNode*> added = XSorted;
  std::vector<TSortItem> items(n);
  std::vector<TSortItem> buffer(n);
  std::vector<uint32_t> xKeys(n);
  for (size_t i = 0; i < n; ++i) {
    const TXYZ& p = *added[i]->Point->Point;
    items[i] = TSortItem{OrderedBits(p.y), static_cast<uint32_t>(i)};
    xKeys[i] = OrderedBits(p.x);
  }
  RadixSort(items, buffer);
  for (size_t i = 0; i < n; ++i) YSorted[i] = added[items[i].Index];
  for (TSortItem& item : items) item.Key = xKeys[item.Index];
  RadixSort(items, buffer);
  for (size_t i = 0; i < n; ++i) XSorted[i] = added[items[i].Index];
}

}  // namespace vellmar
