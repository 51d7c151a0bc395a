#include "document/PointItem.h"

namespace vellmar {

void TPointItem::LoadFromStream(TStream& stream) {
  TAbstractItem::LoadFromStream(stream);
  if (Points().Count() < 1) SetInvalid(true);
}

}  // namespace vellmar
