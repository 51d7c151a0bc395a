#include "items/road/ObochItem.h"

#include <array>
#include <utility>

#include "document/StreetStructure.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

constexpr uint32_t kSand = MakeColor(250, 200, 120, 255);

}  // namespace

uint32_t TObochItem::MaterialColour(std::string_view material) {
  static constexpr std::array<std::pair<std::string_view, uint32_t>, 9> kMaterials = {{
      {"ус.покрытие"_cp1251, MakeColor(192, 192, 130, 255)},
      {"а/б"_cp1251, MakeColor(192, 192, 130, 255)},
      {"гравий"_cp1251, MakeColor(215, 215, 120, 255)},
      {"щебень"_cp1251, MakeColor(215, 215, 120, 255)},
      {"трава"_cp1251, MakeColor(180, 220, 136, 255)},
      {"комб.укр."_cp1251, kSand},
      {"грунт"_cp1251, MakeColor(225, 225, 100, 255)},
      {"песок"_cp1251, MakeColor(225, 225, 100, 255)},
      {"неукр."_cp1251, MakeColor(225, 225, 100, 255)},
  }};
  for (const auto& [name, colour] : kMaterials) {
    if (name == material) return colour;
  }
  return kSand;
}

void TObochItem::InitKindCollections(TStreetStructure& street) {
  InitPolygonCollections(street, kKindIndex, kSand, MakeColor(1, 1, 1, 255));
}

void TObochItem::BuildPrimitives() {
  Street().KindCollections(kKindIndex).at(0)->SetColor(MaterialColour(Comment2()));
  TPolygonItem::BuildPrimitives();
}

}  // namespace vellmar
