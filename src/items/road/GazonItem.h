#pragma once
// The lawn: a surface polygon filled light green.

#include "document/PolygonItem.h"
#include "platform/gpu/DxVertex.h"

namespace vellmar {

class TGazonItem final : public TPolygonItem {
 public:
  static constexpr int32_t kKindIndex = 4;
  // Its rebuild reads its own points and the street's options and fills only its kind's
  // own collections: the kind may be rebuilt alongside others.
  using TRebuildsAlongside = TGazonItem;
  static void InitKindCollections(TStreetStructure& street) {
    InitPolygonCollections(street, kKindIndex, MakeColor(210, 255, 210, 255), MakeColor(5, 5, 5, 255));
  }

  using TPolygonItem::TPolygonItem;
};

}  // namespace vellmar
