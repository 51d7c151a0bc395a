#pragma once
// An area defect of the road surface, outlined dark red. It stores nothing beyond a
// polygon item.

#include "document/PolygonItem.h"

namespace vellmar {

class TSqDefectItem final : public TPolygonItem {
 public:
  static constexpr int32_t kKindIndex = 38;
  // Lines, then the band's triangles, both dark red.
  static void InitKindCollections(TStreetStructure& street);

  using TPolygonItem::TPolygonItem;

  // The closed outline and a band 0.2 m wide along it; the fill triangles are kept for
  // hit testing, not drawn.
  void BuildPrimitives() override;
};

}  // namespace vellmar
