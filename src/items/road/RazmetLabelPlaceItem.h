#pragma once
// The label place: a construction line that writes, where it crosses a line marking,
// the marking's designation beside it. It stores nothing beyond a line item.

#include "document/LineItem.h"

namespace vellmar {

class TRazmetLabelPlaceItem final : public TLineItem {
 public:
  static constexpr int32_t kKindIndex = 31;

  using TLineItem::TLineItem;
};

}  // namespace vellmar
