#pragma once
// The one start-up call that makes every item kind known: the generic entries of the
// kind registry first, then each kind's own class in place of its generic one.

namespace vellmar {

// Programs and tests that load streets call this once before the first load.
void RegisterAllItemKinds();

}  // namespace vellmar
