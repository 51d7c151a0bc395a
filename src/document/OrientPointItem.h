#pragma once
// A point item with an optional second point that gives its direction (texts, grates,
// pictures, plan sheets). Owned by its kind's item list like every item.

#include "document/PointItem.h"

namespace vellmar {

class TOrientPointItem : public TPointItem {
 public:
  TOrientPointItem(TStreetStructure& street, const TItemKind& kind) : TPointItem(street, kind) {}

  // Radians in [0, 2*pi) from the first vertex towards the second; 0 without a second.
  float Orientation() const;
};

}  // namespace vellmar
