#include "document/design/DsnFigDefList.h"

namespace vellmar {

std::vector<TDxPrimCollection*> TDsnFigDefList::Collections() const {
  std::vector<TDxPrimCollection*> collections;
  collections.reserve(Defs().size());
  for (const auto& def : Defs()) collections.push_back(&def->Collection());
  return collections;
}

}  // namespace vellmar
