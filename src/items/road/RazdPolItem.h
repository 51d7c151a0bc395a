#pragma once
// The dividing strip between carriageways: a surface polygon.

#include "document/PolygonItem.h"
#include "platform/gpu/DxVertex.h"

namespace vellmar {

class TRazdPolItem final : public TPolygonItem {
 public:
  static constexpr int32_t kKindIndex = 1;
  // Its rebuild reads its own points and the street's options and fills only its kind's
  // own collections: the kind may be rebuilt alongside others.
  using TRebuildsAlongside = TRazdPolItem;
  static void InitKindCollections(TStreetStructure& street) {
    InitPolygonCollections(street, kKindIndex, MakeColor(195, 180, 140, 255), MakeColor(5, 5, 5, 255));
  }

  using TPolygonItem::TPolygonItem;
};

}  // namespace vellmar
