#include "items/design/DesignKinds.h"

#include "document/KindRegistry.h"
#include "items/design/DesignBlockItem.h"
#include "items/design/DesignFigureItem.h"
#include "items/design/DesignLineItem.h"
#include "items/design/KernItem.h"

namespace vellmar {
namespace {

constexpr int32_t kDesignFigureKind = 7;
constexpr int32_t kDesignLineKind = 19;
constexpr int32_t kDesignBlockKind = 20;
constexpr int32_t kKernKind = 33;

// The kind's registry entry with its own item class in place of the generic one.
void RegisterFactory(int32_t index, TItemFactory factory) {
  TItemKind kind = TKindRegistry::Kind(index);
  kind.Factory = factory;
  TKindRegistry::Register(kind);
}

}  // namespace

void RegisterDesignKinds() {
  RegisterFactory(kDesignFigureKind, MakeItem<TDesignFigureItem>);
  RegisterFactory(kDesignLineKind, MakeItem<TDesignLineItem>);
  RegisterFactory(kDesignBlockKind, MakeItem<TDesignBlockItem>);
  RegisterFactory(kKernKind, MakeItem<TKernItem>);
}

}  // namespace vellmar
