#include "render/DxSerialRuns.h"

#include <algorithm>
#include <iterator>

namespace vellmar {

void TDxSerialRuns::Clear() {
  runs_.clear();
  count_ = 0;
}

void TDxSerialRuns::Append(uint64_t serial) {
  // The last place's serial, from the last run: no search on the way in.
  if (runs_.empty() || serial != runs_.back().FirstSerial + (count_ - runs_.back().FirstIndex))
    runs_.push_back(TRun{count_, serial});
  ++count_;
}

size_t TDxSerialRuns::RunOf(size_t index) const {
  const auto after = std::upper_bound(runs_.begin(), runs_.end(), index,
                                      [](size_t i, const TRun& run) { return i < run.FirstIndex; });
  return static_cast<size_t>(after - runs_.begin()) - 1;
}

uint64_t TDxSerialRuns::SerialAt(size_t index) const {
  const TRun& run = runs_[RunOf(index)];
  return run.FirstSerial + (index - run.FirstIndex);
}

size_t TDxSerialRuns::LowerBound(uint64_t serial) const {
  // The first run that starts above the serial; the place sought is in the run before
  // it or is that run's first.
  const auto above = std::upper_bound(runs_.begin(), runs_.end(), serial,
                                      [](uint64_t s, const TRun& run) { return s < run.FirstSerial; });
  if (above == runs_.begin()) return runs_.empty() ? count_ : 0;
  const TRun& run = *std::prev(above);
  const size_t end = above == runs_.end() ? count_ : above->FirstIndex;
  return std::min(end, run.FirstIndex + static_cast<size_t>(serial - run.FirstSerial));
}

}  // namespace vellmar
