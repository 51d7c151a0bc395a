#include "items/signs/SignKinds.h"

#include "document/KindRegistry.h"
#include "items/signs/SvetoforItem.h"

namespace vellmar {
namespace {

constexpr int32_t kSvetoforKind = 29;

}  // namespace

void RegisterSignKinds() {
  TKindRegistry::RegisterFactory(kSvetoforKind, MakeItem<TSvetoforItem>);
}

}  // namespace vellmar
