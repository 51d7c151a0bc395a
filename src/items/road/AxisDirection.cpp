#include "items/road/AxisDirection.h"

#include "document/AbstractItem.h"
#include "document/PointList.h"

namespace vellmar {

std::optional<double> AxisDirectionAt(const TAbstractItem& item, const TXYZ& at) {
  TAbstractItem* axis = item.ReferenceAxis();
  if (axis == nullptr || axis->Points().Count() < 2) return std::nullopt;
  return axis->Points().AngleAt(axis->Points().ParamOfPoint(at));
}

}  // namespace vellmar
