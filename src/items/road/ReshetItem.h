#pragma once
// The drain grate: a textured rectangle at a point, turned by its orientation. It stores
// nothing beyond its points.

#include "document/OrientPointItem.h"

namespace vellmar {

class TReshetItem final : public TOrientPointItem {
 public:
  using TOrientPointItem::TOrientPointItem;
};

}  // namespace vellmar
