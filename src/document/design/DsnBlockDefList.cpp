#include "document/design/DsnBlockDefList.h"

#include "document/design/DefaultBlock.h"

namespace vellmar {

const TDsnBlockDef& TDsnBlockDefList::FindOrDefault(std::string_view name) const {
  const TDsnBlockDef* def = FindByName(name);
  return def != nullptr ? *def : DefaultBlock();
}

}  // namespace vellmar
