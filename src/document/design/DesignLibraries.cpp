#include "document/design/DesignLibraries.h"

#include <memory>

#include "document/design/DsnBlockDefList.h"
#include "document/design/DsnFigDefList.h"
#include "document/design/DsnLineDefList.h"

namespace vellmar {

void RegisterDesignLibraries() {
  using TSlot = TStreetLibrary::TSlot;
  TStreetLibrary::RegisterFactory(TSlot::Blocks, [](TStreetStructure&) -> std::unique_ptr<TStreetLibrary> {
    return std::make_unique<TDsnBlockDefList>();
  });
  TStreetLibrary::RegisterFactory(TSlot::Lines, [](TStreetStructure& street) -> std::unique_ptr<TStreetLibrary> {
    return std::make_unique<TDsnLineDefList>(street);
  });
  TStreetLibrary::RegisterFactory(TSlot::Figures, [](TStreetStructure& street) -> std::unique_ptr<TStreetLibrary> {
    return std::make_unique<TDsnFigDefList>(street);
  });
}

}  // namespace vellmar
