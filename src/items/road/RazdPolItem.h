#pragma once
// The dividing strip between carriageways: a surface polygon.

#include "document/PolygonItem.h"

namespace vellmar {

class TRazdPolItem final : public TPolygonItem {
 public:
  using TPolygonItem::TPolygonItem;
};

}  // namespace vellmar
