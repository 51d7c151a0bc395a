#include "document/design/DsnLineDefList.h"

#include "document/design/LentCollections.h"

namespace vellmar {

std::vector<TDxPrimCollection*> TDsnLineDefList::Collections() const {
  std::vector<TDxPrimCollection*> collections;
  collections.reserve(Defs().size() * TDsnLineDef::kParts);
  for (const auto& def : Defs()) {
    for (TLinePart part : {TLinePart::Start, TLinePart::Repeat, TLinePart::Finish}) {
      collections.push_back(&def->Collection(part));
    }
  }
  return collections;
}

void TDsnLineDefList::InstallCollections(TStreetStructure& street) const {
  LendCollections(street, kKindIndex, Collections());
}

void TDsnLineDefList::ContentsChanged() {
  if (street_ != nullptr) InstallCollections(*street_);
}

}  // namespace vellmar
