#pragma once
// The one start-up call that makes every kind a street file can hold known: the item
// kinds, then the underlay item. It sits above every layer that defines a kind, where the
// programs gather them, so that no kind's layer has to know the others above it. A street
// loaded without the underlay class would misread every underlay and all that follows.

namespace vellmar {

// Programs and tests that load whole streets call this once before the first load.
void RegisterAllKinds();

}  // namespace vellmar
