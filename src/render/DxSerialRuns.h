#pragma once
// The serials of a collection's primitives, one per primitive and ascending with the
// primitives' places. Serials are handed out one after another as primitives are added,
// so they mostly count up by one from place to place; only where freed primitives left
// a gap do they jump. So they are stored as the runs between the jumps: a street's
// million primitives built in one go are one run instead of eight megabytes.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace vellmar {

class TDxSerialRuns {
 public:
  size_t Count() const { return count_; }
  void Clear();
  // Gives the next place the serial, which must be larger than the last one.
  void Append(uint64_t serial);
  uint64_t SerialAt(size_t index) const;
  // The first place whose serial is serial or larger; Count() when there is none.
  size_t LowerBound(uint64_t serial) const;
  // Keeps the places for which keep(index) holds, in order, and drops the rest.
  template <typename Keep>
  void KeepWhere(Keep keep);

 private:
  struct TRun {
    size_t FirstIndex;
    uint64_t FirstSerial;
  };
  // The run holding the place: the last run starting at or before it.
  size_t RunOf(size_t index) const;

  std::vector<TRun> runs_;  // ascending in both fields
  size_t count_ = 0;
};

template <typename Keep>
void TDxSerialRuns::KeepWhere(Keep keep) {
  std::vector<TRun> kept;
  size_t keptCount = 0;
  uint64_t lastSerial = 0;
  for (size_t r = 0; r < runs_.size(); ++r) {
    const size_t end = r + 1 < runs_.size() ? runs_[r + 1].FirstIndex : count_;
    for (size_t i = runs_[r].FirstIndex; i < end; ++i) {
      if (!keep(i)) continue;
      const uint64_t serial = runs_[r].FirstSerial + (i - runs_[r].FirstIndex);
      if (kept.empty() || serial != lastSerial + 1) kept.push_back(TRun{keptCount, serial});
      lastSerial = serial;
      ++keptCount;
    }
  }
  runs_ = std::move(kept);
  count_ = keptCount;
}

}  // namespace vellmar
