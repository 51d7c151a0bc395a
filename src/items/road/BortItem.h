#pragma once
// The curb: a coloured band of its own width along a line.

#include <cstdint>
#include <string>

#include "document/LineItem.h"

namespace vellmar {

class TBortItem final : public TLineItem {
 public:
  static constexpr int32_t kKindIndex = 8;
  // Its rebuild reads its own points and the street's options and fills only its kind's
  // own collections: the kind may be rebuilt alongside others.
  using TRebuildsAlongside = TBortItem;
  // A line collection, then an untextured triangle collection.
  static void InitKindCollections(TStreetStructure& street);

  // A new curb is a green band 0.2 m wide.
  TBortItem(TStreetStructure& street, const TItemKind& kind);

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The line and a band of Width centred on it, both in Colour, drawn in every mode.
  void BuildPrimitives() override;

  // Curb type (the stored Kind; TAbstractItem::Kind is the item's kind) and grade (its
  // standard designation).
  const std::string& CurbKind() const { return curbKind_; }
  void SetCurbKind(const std::string& kind) { curbKind_ = kind; }
  const std::string& Gost() const { return gost_; }
  void SetGost(const std::string& gost) { gost_ = gost; }
  // Metres across the drawn band.
  float Width() const { return width_; }
  void SetWidth(float width) { width_ = width; }
  uint32_t Colour() const { return colour_; }
  void SetColour(uint32_t colour) { colour_ = colour; }

 private:
  std::string curbKind_;
  std::string gost_;
  float width_ = 0.2f;
  uint32_t colour_;
};

}  // namespace vellmar
