#pragma once
// The class of the text label kind.

namespace vellmar {

// Enters the text label's class in the kind registry; RegisterItemKinds must have run.
void RegisterTextKinds();

}  // namespace vellmar
