#pragma once
// Reference points: a cross at each of its points (also the anchors of the symbol
// libraries' drawings).

#include <cstdint>

#include "document/AbstractItem.h"

namespace vellmar {

class TRulerItem final : public TAbstractItem {
 public:
  static constexpr int32_t kKindIndex = 25;
  static void InitKindCollections(TStreetStructure& street);

  using TAbstractItem::TAbstractItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // A diagonal cross at every point, turned with the first leg; a construction mark.
  void BuildPrimitives() override;

  // Kept and written back; nothing draws it.
  uint8_t ShowText() const { return showText_; }
  void SetShowText(uint8_t value) { showText_ = value; }
  // ARGB of the crosses.
  uint32_t Colour() const { return colour_; }
  void SetColour(uint32_t colour) { colour_ = colour; }

 private:
  uint8_t showText_ = 0;
  uint32_t colour_ = 0;
};

}  // namespace vellmar
