#pragma once
// The shoulder: a surface polygon filled by its surface material (its second comment).

#include "document/PolygonItem.h"

namespace vellmar {

class TObochItem final : public TPolygonItem {
 public:
  using TPolygonItem::TPolygonItem;
};

}  // namespace vellmar
