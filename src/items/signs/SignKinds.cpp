#include "items/signs/SignKinds.h"

#include "document/KindRegistry.h"
#include "items/signs/SvetoforItem.h"
#include "items/signs/Znak2Item.h"
#include "items/signs/ZnakItem.h"

namespace vellmar {
namespace {

constexpr int32_t kZnakKind = 22;
constexpr int32_t kZnak2Kind = 23;
constexpr int32_t kSvetoforKind = 29;

}  // namespace

void RegisterSignKinds() {
  TKindRegistry::RegisterFactory(kZnakKind, MakeItem<TZnakItem>);
  TKindRegistry::RegisterFactory(kZnak2Kind, MakeItem<TZnak2Item>);
  TKindRegistry::RegisterFactory(kSvetoforKind, MakeItem<TSvetoforItem>);
}

}  // namespace vellmar
