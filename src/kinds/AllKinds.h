#pragma once
// The one start-up call that makes every kind a street file can hold known: the item
// kinds, then the underlay item, whose class lives here above the item kinds. A street
// loaded without the underlay class would misread every underlay and all that follows.

namespace vellmar {

// Programs and tests that load whole streets call this once before the first load.
void RegisterAllKinds();

}  // namespace vellmar
