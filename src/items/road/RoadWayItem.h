#pragma once
// The carriageway: a paved surface whose texts are stored as "RWMAT   " and "RWPASPCT",
// filled white or light grey by the street's "RWWhite" drawing option.

#include "items/road/PavedSurfaceItem.h"

namespace vellmar {

class TRoadWayItem final : public TPavedSurfaceItem {
 public:
  static constexpr int32_t kKindIndex = 2;
  // Its rebuild reads its own points and the street's options and fills only its kind's
  // own collections: the kind may be rebuilt alongside others.
  using TRebuildsAlongside = TRoadWayItem;
  // The fill colour is left to each build, which reads the drawing option.
  static void InitKindCollections(TStreetStructure& street);

  TRoadWayItem(TStreetStructure& street, const TItemKind& kind)
      : TPavedSurfaceItem(street, kind, "RWMAT   ", "RWPASPCT") {}

  // The item's triangles take the colour the option gives at this build; a changed
  // option shows once the carriageways are rebuilt.
  void BuildPrimitives() override;
};

}  // namespace vellmar
