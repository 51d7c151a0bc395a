#include "items/plan/PlanKinds.h"

#include "document/KindClass.h"
#include "document/KindRegistry.h"
#include "items/plan/PlanDefineItem.h"

namespace vellmar {

void RegisterPlanKinds() {
  RegisterKindClass<TPlanDefineItem>(TPlanDefineItem::kKind);
  // A sheet is placed by its corner and the point that gives its rotation. One stored
  // with a single point still loads (it lies unrotated), so this is the editing minimum.
  TItemKind plan = TKindRegistry::Kind(TPlanDefineItem::kKind);
  plan.MinPointCount = 2;
  TKindRegistry::Register(plan);
}

}  // namespace vellmar
