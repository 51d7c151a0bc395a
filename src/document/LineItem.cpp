#include "document/LineItem.h"

namespace vellmar {

void TLineItem::LoadFromStream(TStream& stream) {
  TAbstractItem::LoadFromStream(stream);
  if (Points().Count() < 2) SetInvalid(true);
}

}  // namespace vellmar
