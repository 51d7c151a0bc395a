#pragma once
// The calculation area: a polygon filled with a pattern that keeps its screen size.
// Older files stored its neighbour list and its comment in chunks of its own; they are
// read into the polygon's neighbour list and the item's comment, and written back the
// current way.

#include "document/PolygonItem.h"

namespace vellmar {

class TCalcAreaItem final : public TPolygonItem {
 public:
  using TPolygonItem::TPolygonItem;

  void LoadFromStream(TStream& stream) override;
};

}  // namespace vellmar
