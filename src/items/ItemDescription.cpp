#include "items/ItemDescription.h"

#include "document/AbstractItem.h"
#include "document/KindNames.h"
#include "geometry/PolylineMeasure.h"
#include "items/FieldNames.h"
#include "items/ItemBoxes.h"

namespace vellmar {

TItemDescription DescribeItem(TAbstractItem& item, TLanguage language) {
  TItemDescription description;
  description.KindName =
      language == TLanguage::Russian ? std::string(item.DisplayName()) : std::string(KindEnglishName(item.KindIndex()));
  description.PointCount = item.Points().Count();
  const TXYZArray line = DrawnLine(item);
  const bool closed = item.IsClosed() && line.size() >= 3;
  if (line.size() >= 2) description.Length = PolylineLength(line, closed);
  if (closed) description.Area = RingArea(line);
  std::vector<std::string> names, values;
  item.GetPropertyNames(names);
  item.GetPropertyValues(values);
  for (size_t i = 0; i < names.size(); ++i) {
    description.Fields.push_back(
        {FieldName(names[i], language), i < values.size() ? FieldValue(values[i], language) : std::string()});
  }
  return description;
}

}  // namespace vellmar
