#include "document/design/DsnFigDefList.h"

#include "document/design/LentCollections.h"

namespace vellmar {

std::vector<TDxPrimCollection*> TDsnFigDefList::Collections() const {
  std::vector<TDxPrimCollection*> collections;
  collections.reserve(Defs().size());
  for (const auto& def : Defs()) collections.push_back(&def->Collection());
  return collections;
}

void TDsnFigDefList::InstallCollections(TStreetStructure& street) const {
  LendCollections(street, kKindIndex, Collections());
}

void TDsnFigDefList::ContentsChanged() {
  if (street_ != nullptr) InstallCollections(*street_);
}

}  // namespace vellmar
