#include "render/DxOwnerRuns.h"

#include <algorithm>

namespace vellmar {

void TDxOwnerRuns::Append(size_t index, const TAbstractItem* owner, uint32_t modeSet) {
  if (!runs_.empty() && runs_.back().Owner == owner && runs_.back().ModeSet == modeSet) return;
  runs_.push_back(TRun{static_cast<uint32_t>(index), modeSet, owner});
}

const TDxOwnerRuns::TRun& TDxOwnerRuns::At(size_t index) const {
  const auto after = std::upper_bound(runs_.begin(), runs_.end(), index,
                                      [](size_t place, const TRun& run) { return place < run.First; });
  return *(after - 1);
}

}  // namespace vellmar
