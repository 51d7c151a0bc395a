#pragma once
// The class of the plan-sheet kind.

namespace vellmar {

// Enters the plan sheet's class in the kind registry; RegisterItemKinds must have run.
void RegisterPlanKinds();

}  // namespace vellmar
