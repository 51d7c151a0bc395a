#pragma once
// An area defect of the road surface, outlined dark red. It stores nothing beyond a
// polygon item.

#include "document/PolygonItem.h"

namespace vellmar {

class TSqDefectItem final : public TPolygonItem {
 public:
  using TPolygonItem::TPolygonItem;
};

}  // namespace vellmar
