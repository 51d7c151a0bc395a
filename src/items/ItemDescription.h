#pragma once
// What the viewer tells about one item when the user identifies it, and what
// vellmar-info --pick prints: its kind, its size, and its fields with their values as
// the item names them (ID, group, comments, then its kind's own). Texts are
// Windows-1251, as everywhere in the core.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/text/Language.h"

namespace vellmar {

class TAbstractItem;

struct TItemField {
  std::string Name;
  std::string Value;
};

struct TItemDescription {
  std::string KindName;
  int32_t PointCount = 0;
  // The drawn line's length (an area's perimeter); nothing for a single point.
  std::optional<double> Length;
  // The enclosed area, for the kinds whose items are closed.
  std::optional<double> Area;
  std::vector<TItemField> Fields;
};

// In English the kind's and the fields' names (and yes/no values) are put into English;
// what the user wrote into the item is shown as it is.
TItemDescription DescribeItem(TAbstractItem& item, TLanguage language = TLanguage::Russian);

}  // namespace vellmar
