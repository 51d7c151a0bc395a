#include "items/text/TextKinds.h"

#include "document/KindRegistry.h"
#include "items/text/TextLabelItem.h"

namespace vellmar {

void RegisterTextKinds() {
  TKindRegistry::RegisterFactory(21, MakeItem<TTextLabelItem>);
}

}  // namespace vellmar
