#pragma once
// The drain grate: a textured rectangle at a point, turned by its orientation. It stores
// nothing beyond its points.

#include "document/OrientPointItem.h"

namespace vellmar {

class TReshetItem final : public TOrientPointItem {
 public:
  static constexpr int32_t kKindIndex = 28;
  // The grate texture "Reshet.bmp".
  static void InitKindCollections(TStreetStructure& street);

  using TOrientPointItem::TOrientPointItem;

  // A 1.2 by 0.6 m textured rectangle centred on the point, its long side along the
  // orientation.
  void BuildPrimitives() override;
};

}  // namespace vellmar
