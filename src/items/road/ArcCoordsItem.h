#pragma once
// The curve: a construction line whose points are evaluated as a smooth curve. Lines
// that share two consecutive points with it follow it between them.

#include "document/LineItem.h"

namespace vellmar {

class TArcCoordsItem final : public TLineItem {
 public:
  using TLineItem::TLineItem;
};

}  // namespace vellmar
