#include "items/ItemDescription.h"

#include "document/AbstractItem.h"
#include "geometry/PolylineMeasure.h"
#include "items/ItemBoxes.h"

namespace vellmar {

TItemDescription DescribeItem(TAbstractItem& item) {
  TItemDescription description;
  description.KindName = std::string(item.DisplayName());
  description.PointCount = item.Points().Count();
  const TXYZArray line = DrawnLine(item);
  const bool closed = item.IsClosed() && line.size() >= 3;
  if (line.size() >= 2) description.Length = PolylineLength(line, closed);
  if (closed) description.Area = RingArea(line);
  std::vector<std::string> names, values;
  item.GetPropertyNames(names);
  item.GetPropertyValues(values);
  for (size_t i = 0; i < names.size(); ++i) {
    description.Fields.push_back({names[i], i < values.size() ? values[i] : std::string()});
  }
  return description;
}

}  // namespace vellmar
