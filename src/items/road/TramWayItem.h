#pragma once
// The tram line: a textured track band along a line, as wide as its gauge asks.

#include "document/LineItem.h"

namespace vellmar {

class TTramWayItem final : public TLineItem {
 public:
  static constexpr int32_t kKindIndex = 18;
  // Its rebuild reads its own points and the street's options and fills only its kind's
  // own collections: the kind may be rebuilt alongside others.
  using TRebuildsAlongside = TTramWayItem;
  // One triangle collection with the track texture.
  static void InitKindCollections(TStreetStructure& street);

  using TLineItem::TLineItem;

  // A line without its own gauge keeps none on saving.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The track band, 2 m wide at the standard gauge and wider or narrower with the
  // gauge, with the texture repeating every metre.
  void BuildPrimitives() override;

  // Track gauge in metres; 0 stands for the standard 1.4 m.
  float Gauge() const { return gauge_; }
  void SetGauge(float gauge) { gauge_ = gauge; }

 private:
  float gauge_ = 0.0f;
};

}  // namespace vellmar
