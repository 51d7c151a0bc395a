#include "items/ItemKinds.h"

#include "document/KindRegistry.h"
#include "document/design/DesignLibraries.h"
#include "items/design/DesignKinds.h"
#include "items/signs/SignKinds.h"

namespace vellmar {

void RegisterAllItemKinds() {
  RegisterItemKinds();
  RegisterDesignLibraries();
  RegisterDesignKinds();
  RegisterSignKinds();
  // Each folder of kinds adds its registration here, in kind-index order of its first kind.
}

}  // namespace vellmar
