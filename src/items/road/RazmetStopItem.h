#pragma once
// The bus-stop zigzag marking, generated from its polyline with a fixed 4 m period. It
// stores nothing beyond a line item.

#include "document/LineItem.h"

namespace vellmar {

class TRazmetStopItem final : public TLineItem {
 public:
  static constexpr int32_t kKindIndex = 13;
  // The band's triangles, then the zigzag's line.
  static void InitKindCollections(TStreetStructure& street);

  using TLineItem::TLineItem;

  // A zigzag peaking 2 m left of the line every 4 m, ticks square to the line at both
  // ends; a remainder shorter than 4 m stays bare.
  void BuildPrimitives() override;
};

}  // namespace vellmar
