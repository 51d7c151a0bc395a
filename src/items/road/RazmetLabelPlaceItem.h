#pragma once
// The label place: a construction line that writes, where it crosses a line marking,
// the marking's designation beside it. It stores nothing beyond a line item.

#include "document/LineItem.h"

namespace vellmar {

class TRazmetLabelPlaceItem final : public TLineItem {
 public:
  static constexpr int32_t kKindIndex = 31;
  // The line (a construction mark), then the labels in atlas text.
  static void InitKindCollections(TStreetStructure& street);

  using TLineItem::TLineItem;

  // At every crossing of a segment with a line marking, the marking's designation
  // beside its band, on the side the segment comes from.
  void BuildPrimitives() override;
};

}  // namespace vellmar
