#pragma once
// The lawn: a surface polygon filled light green.

#include "document/PolygonItem.h"

namespace vellmar {

class TGazonItem final : public TPolygonItem {
 public:
  using TPolygonItem::TPolygonItem;
};

}  // namespace vellmar
