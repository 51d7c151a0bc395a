#pragma once
// The owner and the mode set of each of a collection's primitives, ascending with their
// places. An item adds its primitives one after another with one mode set, so they are
// stored as runs of places that share both: a run per item instead of twelve bytes per
// primitive.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vellmar {

class TAbstractItem;

class TDxOwnerRuns {
 public:
  struct TRun {
    uint32_t First;  // the run's first place; it ends where the next run starts
    uint32_t ModeSet;
    const TAbstractItem* Owner;
  };

  void Clear() { runs_.clear(); }
  // Gives place index, one past the last place given, its owner and modes.
  void Append(size_t index, const TAbstractItem* owner, uint32_t modeSet);
  // The run holding the place.
  const TRun& At(size_t index) const;
  std::span<const TRun> Runs() const { return runs_; }

  // Walks places in ascending order, keeping to the run that holds the current one.
  class TCursor {
   public:
    explicit TCursor(const TDxOwnerRuns& runs) : runs_(runs.runs_) {}
    const TRun& At(size_t index) {
      while (next_ < runs_.size() && runs_[next_].First <= index) ++next_;
      return runs_[next_ - 1];
    }

   private:
    const std::vector<TRun>& runs_;
    size_t next_ = 0;
  };

 private:
  std::vector<TRun> runs_;  // ascending by First, the first at place 0
};

}  // namespace vellmar
