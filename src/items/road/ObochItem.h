#pragma once
// The shoulder: a surface polygon filled by its surface material (its second comment).

#include <cstdint>
#include <string_view>

#include "document/PolygonItem.h"

namespace vellmar {

class TObochItem final : public TPolygonItem {
 public:
  static constexpr int32_t kKindIndex = 5;
  // Its rebuild reads its own points and the street's options and fills only its kind's
  // own collections: the kind may be rebuilt alongside others.
  using TRebuildsAlongside = TObochItem;
  static void InitKindCollections(TStreetStructure& street);
  // The fill of a shoulder whose second comment is material: exact, case-sensitive
  // names (Windows-1251); any other text gets the sand colour.
  static uint32_t MaterialColour(std::string_view material);

  using TPolygonItem::TPolygonItem;

  // The item's triangles take its material's colour, so shoulders of different
  // materials keep different colours in the one collection.
  void BuildPrimitives() override;
};

}  // namespace vellmar
