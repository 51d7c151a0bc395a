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

}  // namespace

void RegisterDesignKinds() {
  TKindRegistry::RegisterFactory(kDesignFigureKind, MakeItem<TDesignFigureItem>);
  TKindRegistry::RegisterFactory(kDesignLineKind, MakeItem<TDesignLineItem>);
  TKindRegistry::RegisterFactory(kDesignBlockKind, MakeItem<TDesignBlockItem>);
  TKindRegistry::RegisterFactory(kKernKind, MakeItem<TKernItem>);
}

}  // namespace vellmar
