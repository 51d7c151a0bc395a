#include "items/plan/PlanKinds.h"

#include "document/KindClass.h"
#include "document/KindRegistry.h"
#include "items/plan/PlanDefineItem.h"

namespace vellmar {

namespace {
constexpr int32_t kPlanKind = 36;
}  // namespace

void RegisterPlanKinds() {
  RegisterKindClass<TPlanDefineItem>(kPlanKind);
  // A sheet is placed by its corner and the point that gives its rotation. One stored
  // with a single point still loads (it lies unrotated), so this is the editing minimum.
  TItemKind plan = TKindRegistry::Kind(kPlanKind);
  plan.MinPointCount = 2;
  TKindRegistry::Register(plan);
}

}  // namespace vellmar
