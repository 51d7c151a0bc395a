#include "items/design/DesignKinds.h"

#include "document/KindClass.h"
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
  RegisterKindClass<TDesignFigureItem>(kDesignFigureKind);
  RegisterKindClass<TDesignLineItem>(kDesignLineKind);
  TKindRegistry::RegisterFactory(kDesignBlockKind, MakeItem<TDesignBlockItem>);
  RegisterKindClass<TKernItem>(kKernKind);
}

}  // namespace vellmar
