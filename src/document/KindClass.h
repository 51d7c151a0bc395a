#pragma once
// Entering an item class in the kind registry with everything the class states: the
// factory, the collections its kind makes, whether its items draw anything every frame
// and whether its kind may be rebuilt alongside others - told from the class itself, so a
// class that gains per-frame drawing is never skipped.

#include <cstdint>
#include <type_traits>

#include "document/AbstractItem.h"
#include "document/KindRegistry.h"

namespace vellmar {

// A class lets its kind be rebuilt on a worker thread alongside other kinds by naming
// itself as TRebuildsAlongside, once its rebuild has been read and found to touch no
// shared mutable state. An alias inherited from a base names the base, so a derived class
// that builds differently is never taken along unchecked.
template <typename TItem>
constexpr bool RebuildsAlongside() {
  if constexpr (requires { typename TItem::TRebuildsAlongside; }) {
    return std::is_same_v<typename TItem::TRebuildsAlongside, TItem>;
  } else {
    return false;
  }
}

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
  kind.RebuildsAlongside = RebuildsAlongside<TItem>();
  TKindRegistry::Register(kind);
}

}  // namespace vellmar
