#include "underlay/AllKinds.h"

#include "document/KindRegistry.h"
#include "items/ItemKinds.h"
#include "underlay/SubLayerItem.h"

namespace vellmar {

namespace {
constexpr int32_t kSubLayerKind = 0;
}  // namespace

void RegisterAllKinds() {
  RegisterAllItemKinds();
  TKindRegistry::RegisterFactory(kSubLayerKind, MakeItem<TSubLayerItem>);
}

}  // namespace vellmar
