#pragma once
// The radius measure: the circle through its three points, drawn every frame. It stores
// nothing beyond its points.

#include "document/AbstractItem.h"

namespace vellmar {

class TRadiusMeasureItem final : public TAbstractItem {
 public:
  using TAbstractItem::TAbstractItem;
};

}  // namespace vellmar
