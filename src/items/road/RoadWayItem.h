#pragma once
// The carriageway: a paved surface whose texts are stored as "RWMAT   " and "RWPASPCT".

#include "items/road/PavedSurfaceItem.h"

namespace vellmar {

class TRoadWayItem final : public TPavedSurfaceItem {
 public:
  TRoadWayItem(TStreetStructure& street, const TItemKind& kind)
      : TPavedSurfaceItem(street, kind, "RWMAT   ", "RWPASPCT") {}
};

}  // namespace vellmar
