#include "document/design/DsnLineDefList.h"

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

}  // namespace vellmar
