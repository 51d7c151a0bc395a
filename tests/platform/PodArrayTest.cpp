#include "platform/PodArray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <span>

namespace vellmar {
namespace {

struct TRecord {
  uint32_t Index;
  float Value;
  uint64_t Tag;
};

bool Holds(const TPodArray<TRecord>& array, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const TRecord& r = array[i];
    if (r.Index != i || r.Value != static_cast<float>(i) * 0.5f || r.Tag != i * 7) return false;
  }
  return true;
}

// Growth one record at a time runs from the heap into mapped pages and through several
// moves of those pages; every record written stays as it was at every step.
TEST(PodArray, RecordsSurviveGrowthFromTheHeapIntoMovedPages) {
  TPodArray<TRecord> array;
  const size_t count = 3 * TPodArray<TRecord>::kMappedFrom / sizeof(TRecord) + 17;
  size_t checkedAt = 1;
  for (size_t i = 0; i < count; ++i) {
    array.push_back(TRecord{static_cast<uint32_t>(i), static_cast<float>(i) * 0.5f, i * 7});
    if (array.size() == checkedAt) {
      ASSERT_TRUE(Holds(array, array.size())) << "after " << array.size() << " records";
      checkedAt *= 3;
    }
  }
  EXPECT_EQ(array.size(), count);
  EXPECT_GE(array.capacity(), count);
  EXPECT_TRUE(Holds(array, count));
}

// New records are zero whether the room is fresh or held records before a clear or a
// shrink: a collection reuses its store after a Clear and after compaction.
TEST(PodArray, ResizeZeroesNewRecordsAlsoInReusedRoom) {
  for (const size_t size : {size_t{10}, TPodArray<TRecord>::kMappedFrom / sizeof(TRecord) * 2}) {
    TPodArray<TRecord> array;
    array.resize(size);
    for (TRecord& r : array) r = TRecord{1, 2.0f, 3};
    array.resize(size / 2);
    array.resize(size);
    EXPECT_EQ(array[size / 2 - 1].Tag, 3u) << size;
    EXPECT_EQ(array[size / 2].Tag, 0u) << size;
    EXPECT_EQ(array[size - 1].Index, 0u) << size;
    array.clear();
    EXPECT_TRUE(array.empty());
    array.resize(size);
    EXPECT_EQ(array[0].Value, 0.0f) << size;
    EXPECT_EQ(array[size - 1].Tag, 0u) << size;
  }
}

TEST(PodArray, MoveHandsOverTheStoreAndEmptiesTheSource) {
  TPodArray<uint64_t> mapped;
  mapped.resize(TPodArray<uint64_t>::kMappedFrom / sizeof(uint64_t) + 1);
  std::iota(mapped.begin(), mapped.end(), uint64_t{0});
  TPodArray<uint64_t> small;
  small.push_back(42);

  TPodArray<uint64_t> taken(std::move(mapped));
  EXPECT_TRUE(mapped.empty());
  EXPECT_EQ(mapped.data(), nullptr);
  taken = std::move(small);  // the mapped store it held is released
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0], 42u);
  const std::span<const uint64_t> view(taken);
  EXPECT_EQ(view.size(), 1u);
}

// Records discarded in slices, each call going on where the last kept a page: every
// record outside the discarded range keeps its value, the pages wholly inside read as
// zeros, and the memory goes (resident size falls) where the array has pages of its own.
TEST(PodArray, DiscardedRecordsGiveBackTheirPagesAndTheRestStays) {
  TPodArray<TRecord> array;
  const size_t count = 4 * TPodArray<TRecord>::kMappedFrom / sizeof(TRecord);
  for (size_t i = 0; i < count; ++i) array.push_back(TRecord{static_cast<uint32_t>(i), static_cast<float>(i) * 0.5f, i * 7});
  const size_t first = 1001;
  const size_t end = count - 999;
  size_t from = first;
  for (size_t slice = first; slice < end; slice += 777) {
    from = array.DiscardRecords(from, std::min(end, slice + 777) - from);
    ASSERT_GE(from, first);
    ASSERT_LE(from, end);
  }
  size_t zeroed = 0;
  for (size_t i = 0; i < count; ++i) {
    const TRecord& r = array[i];
    const bool kept = r.Index == i && r.Tag == i * 7;
    if (i < first || i >= end) {
      ASSERT_TRUE(kept) << "record " << i << " lies outside the discarded range";
    } else if (!kept) {
      ASSERT_EQ(r.Index, 0u);
      ASSERT_EQ(r.Tag, 0u);
      ++zeroed;
    }
  }
  if (TPodArray<TRecord>::kMaps) {
    // Only the pages at the two ends of the range (and where it meets a slice) may stay.
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE)) / sizeof(TRecord);
    EXPECT_GE(zeroed, end - first - 2 * page);
  }
  EXPECT_EQ(array.DiscardRecords(5, 0), 5u);
}

}  // namespace
}  // namespace vellmar
