#include "document/StreetLibrary.h"

#include <array>

namespace vellmar {

namespace {
std::array<TStreetLibrary::TFactory, TStreetLibrary::kSlots>& Factories() {
  static std::array<TStreetLibrary::TFactory, TStreetLibrary::kSlots> factories{};
  return factories;
}
}  // namespace

void TStreetLibrary::RegisterFactory(TSlot slot, TFactory factory) {
  Factories()[static_cast<size_t>(slot)] = factory;
}

TStreetLibrary::TFactory TStreetLibrary::Factory(TSlot slot) {
  return Factories()[static_cast<size_t>(slot)];
}

}  // namespace vellmar
