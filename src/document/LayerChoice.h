#pragma once
// The kinds the plan shows, as the layers list changes them: a kind ticked on or off,
// "only this kind" and back again, every kind; and the rows the list shows for a street
// (each kind with its name, its number of items and whether it is shown). Plain values;
// the shell binds them to the window's visible kinds.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "document/KindRegistry.h"
#include "document/KindSet.h"

namespace vellmar {

class TStreetStructure;

struct TLayerRow {
  int32_t Kind = 0;
  std::string_view Name;  // the kind's display name, Windows-1251
  int32_t Count = 0;      // items of the kind in the street
  bool Visible = false;
  friend bool operator==(const TLayerRow&, const TLayerRow&) = default;
};

// One row per registered kind, in kind order.
std::vector<TLayerRow> LayerRows(TStreetStructure& street, const TKindSet& visible);

class TLayerChoice {
 public:
  static TKindSet With(TKindSet visible, int32_t kind, bool shown);
  // Every kind of the registry, the area-calculation kind too.
  static TKindSet Every();
  // Only the kind; asked again for the kind it shows alone, the kinds shown before the
  // first "only" (every kind when nothing else was shown before). Going from one kind
  // alone to another keeps what was shown before the first.
  TKindSet OnlyOrBack(const TKindSet& visible, int32_t kind);

 private:
  std::optional<TKindSet> beforeOnly_;
  std::optional<TKindSet> only_;
};

}  // namespace vellmar
