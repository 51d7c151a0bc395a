#include "items/ItemKinds.h"

#include "document/KindRegistry.h"
#include "document/design/DesignLibraries.h"
#include "items/design/DesignKinds.h"
#include "items/plan/PlanKinds.h"
#include "items/road/RoadDetailKinds.h"
#include "items/road/RoadKinds.h"
#include "items/signs/SignKinds.h"
#include "items/text/TextKinds.h"

namespace vellmar {

void RegisterAllItemKinds() {
  RegisterItemKinds();
  RegisterDesignLibraries();
  // Each folder of kinds adds its registration here, in kind-index order of its first kind.
  RegisterRoadKinds();
  RegisterDesignKinds();
  RegisterRoadDetailKinds();
  RegisterTextKinds();
  RegisterSignKinds();
  RegisterPlanKinds();
}

}  // namespace vellmar
