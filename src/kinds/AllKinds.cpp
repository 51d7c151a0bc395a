#include "kinds/AllKinds.h"

#include "items/ItemKinds.h"
#include "underlay/SubLayerItem.h"

namespace vellmar {

void RegisterAllKinds() {
  RegisterAllItemKinds();
  RegisterSubLayerKind();
}

}  // namespace vellmar
