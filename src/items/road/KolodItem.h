#pragma once
// The manhole: a textured square at one point, with an optional owner label beside it.

#include <cstdint>
#include <string>

#include "document/PointItem.h"

namespace vellmar {

class TKolodItem final : public TPointItem {
 public:
  static constexpr int32_t kKindIndex = 27;
  // The cover texture "Kolod.bmp", then the labels in atlas text.
  static void InitKindCollections(TStreetStructure& street);

  using TPointItem::TPointItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The textured square on the point and the owner's label, placed by TextAlign and
  // turned along the axis.
  void BuildPrimitives() override;

  // Whose manhole it is; drawn as a label when not empty.
  const std::string& Owner() const { return owner_; }
  void SetOwner(const std::string& owner) { owner_ = owner; }
  // Label anchor 0..8 = 3 * row + column; 6 puts the label right of the square.
  uint8_t TextAlign() const { return textAlign_; }
  void SetTextAlign(uint8_t align) { textAlign_ = align; }
  // Side of the drawn square in metres (0 would mean 1); not stored.
  float Size() const { return size_; }
  void SetSize(float size) { size_ = size; }

 private:
  std::string owner_;
  uint8_t textAlign_ = 6;
  float size_ = 0.99f;
};

}  // namespace vellmar
