#pragma once
// The radius measure: the circle through its three points, drawn every frame. It stores
// nothing beyond its points.

#include "document/AbstractItem.h"

namespace vellmar {

class TRadiusMeasureItem final : public TAbstractItem {
 public:
  using TAbstractItem::TAbstractItem;

  // The polyline through the three points and, unless they lie on a line, the two
  // radii to the circle's centre and the arc between them.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;
};

}  // namespace vellmar
