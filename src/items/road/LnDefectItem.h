#pragma once
// A line defect of the road surface, drawn dark red along its line. It stores nothing
// beyond a line item.

#include "document/LineItem.h"

namespace vellmar {

class TLnDefectItem final : public TLineItem {
 public:
  using TLineItem::TLineItem;
};

}  // namespace vellmar
