#pragma once
// The bus-stop zigzag marking, generated from its polyline with a fixed 4 m period. It
// stores nothing beyond a line item.

#include "document/LineItem.h"

namespace vellmar {

class TRazmetStopItem final : public TLineItem {
 public:
  using TLineItem::TLineItem;
};

}  // namespace vellmar
