#pragma once
// The road barrier: a textured band along a line, double-sided or one-sided.

#include <array>
#include <cstdint>
#include <string_view>

#include "document/LineItem.h"

namespace vellmar {

class TRoadWallItem final : public TLineItem {
 public:
  static constexpr int32_t kKindIndex = 9;
  // Its rebuild reads its own points and the street's options and fills only its kind's
  // own collections: the kind may be rebuilt alongside others.
  using TRebuildsAlongside = TRoadWallItem;
  // A line collection, then a triangle collection with the barrier texture.
  static void InitKindCollections(TStreetStructure& street);

  using TLineItem::TLineItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The line, and the textured band that WallKind places.
  void BuildPrimitives() override;

  // 0 double-sided, 1 right, 2 left; any other value draws the line only.
  int32_t WallKind() const { return wallKind_; }
  void SetWallKind(int32_t kind) { wallKind_ = kind; }
  // The names of the wall kinds by index ("Двойное", "Правое", "Левое"), Windows-1251.
  static const std::array<std::string_view, 3>& WallKindNames();

 private:
  int32_t wallKind_ = 0;
};

}  // namespace vellmar
