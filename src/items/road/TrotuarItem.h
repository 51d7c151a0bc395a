#pragma once
// The sidewalk: a paved surface whose texts are stored as "TRMAT   " and "TRPASPCT".

#include "items/road/PavedSurfaceItem.h"
#include "platform/gpu/DxVertex.h"

namespace vellmar {

class TTrotuarItem final : public TPavedSurfaceItem {
 public:
  static constexpr int32_t kKindIndex = 3;
  // Its rebuild reads its own points and the street's options and fills only its kind's
  // own collections: the kind may be rebuilt alongside others.
  using TRebuildsAlongside = TTrotuarItem;
  static void InitKindCollections(TStreetStructure& street) {
    InitPolygonCollections(street, kKindIndex, MakeColor(210, 210, 210, 255), MakeColor(1, 1, 1, 255));
  }

  TTrotuarItem(TStreetStructure& street, const TItemKind& kind)
      : TPavedSurfaceItem(street, kind, "TRMAT   ", "TRPASPCT") {}
};

}  // namespace vellmar
