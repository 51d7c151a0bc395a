#include "document/LayerChoice.h"

#include "document/ItemList.h"
#include "document/StreetStructure.h"

namespace vellmar {

std::vector<TLayerRow> LayerRows(TStreetStructure& street, const TKindSet& visible) {
  std::vector<TLayerRow> rows;
  rows.reserve(kKindCount);
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    if (!TKindRegistry::IsRegistered(kind)) continue;
    rows.push_back({kind, TKindRegistry::Kind(kind).DisplayName, street.ItemList(kind).Count(), visible.Contains(kind)});
  }
  return rows;
}

TKindSet TLayerChoice::With(TKindSet visible, int32_t kind, bool shown) {
  if (shown) {
    visible.Include(kind);
  } else {
    visible.Exclude(kind);
  }
  return visible;
}

TKindSet TLayerChoice::Every() {
  TKindSet every;
  for (int32_t kind = 0; kind < kKindCount; ++kind) every.Include(kind);
  return every;
}

TKindSet TLayerChoice::OnlyOrBack(const TKindSet& visible, int32_t kind) {
  const TKindSet alone{kind};
  // The set shown is one this choice made: the set before it still counts.
  const bool fromOnly = only_ && *only_ == visible && beforeOnly_;
  if (visible == alone) {
    const TKindSet back = fromOnly ? *beforeOnly_ : Every();
    beforeOnly_.reset();
    only_.reset();
    // Nothing else was shown before: back means every kind.
    return back == alone ? Every() : back;
  }
  if (!fromOnly) beforeOnly_ = visible;
  only_ = alone;
  return alone;
}

}  // namespace vellmar
