#pragma once
// A line defect of the road surface, drawn dark red along its line. It stores nothing
// beyond a line item.

#include "document/LineItem.h"

namespace vellmar {

class TLnDefectItem final : public TLineItem {
 public:
  static constexpr int32_t kKindIndex = 37;
  // Lines, then the band's triangles, both dark red.
  static void InitKindCollections(TStreetStructure& street);

  using TLineItem::TLineItem;

  // The line and a band 0.2 m wide along it.
  void BuildPrimitives() override;
};

}  // namespace vellmar
