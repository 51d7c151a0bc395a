#pragma once
// The curve: a construction line whose points are evaluated as a smooth curve. Lines
// that share two consecutive points with it follow it between them.

#include "document/LineItem.h"

namespace vellmar {

class TArcCoordsItem final : public TLineItem {
 public:
  static constexpr int32_t kKindIndex = 26;
  static void InitKindCollections(TStreetStructure& street);

  using TLineItem::TLineItem;

  // The control polygon and the evaluated curve, both construction marks only.
  void BuildPrimitives() override;
};

}  // namespace vellmar
