#pragma once
// Entering an item class in the kind registry with everything the class states: the
// factory, the collections its kind makes, and whether its items draw anything every
// frame - told from the class itself, so a class that gains per-frame drawing is never
// skipped.

#include <cstdint>
#include <type_traits>

#include "document/AbstractItem.h"
#include "document/KindRegistry.h"

namespace vellmar {

// TItem provides static void InitKindCollections(TStreetStructure&).
template <typename TItem>
void RegisterKindClass(int32_t index) {
  TItemKind kind = TKindRegistry::Kind(index);
  kind.Factory = MakeItem<TItem>;
  kind.InitKindCollections = &TItem::InitKindCollections;
  // &TItem::DrawImmediate names the class that last overrode it: the item base's
  // member means no class on the way draws per frame.
  kind.DrawsImmediate =
      !std::is_same_v<decltype(&TItem::DrawImmediate), decltype(&TAbstractItem::DrawImmediate)>;
  TKindRegistry::Register(kind);
}

}  // namespace vellmar
