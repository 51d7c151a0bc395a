#include "items/signs/SignKinds.h"

#include "document/KindClass.h"
#include "document/KindRegistry.h"
#include "items/signs/SvetoforItem.h"
#include "items/signs/Znak2Item.h"
#include "items/signs/ZnakItem.h"

namespace vellmar {
namespace {

constexpr int32_t kZnak2Kind = 23;

}  // namespace

void RegisterSignKinds() {
  RegisterKindClass<TZnakItem>(TZnakItem::kKindIndex);
  TKindRegistry::RegisterFactory(kZnak2Kind, MakeItem<TZnak2Item>);
  RegisterKindClass<TSvetoforItem>(TSvetoforItem::kKindIndex);
}

}  // namespace vellmar
