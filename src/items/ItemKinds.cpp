#include "items/ItemKinds.h"

#include "document/KindRegistry.h"

namespace vellmar {

void RegisterAllItemKinds() {
  RegisterItemKinds();
  // Each folder of kinds adds its registration here, in kind-index order of its first kind.
}

}  // namespace vellmar
