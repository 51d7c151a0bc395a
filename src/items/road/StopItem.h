#pragma once
// The public-transport stop: a pavilion rectangle or a stop flag, placed by two points
// (the second gives the direction along the road).

#include <cstdint>
#include <string>

#include "document/OrientPointItem.h"

namespace vellmar {

class TStopItem final : public TOrientPointItem {
 public:
  static constexpr int32_t kKindIndex = 32;
  // Pavilion fills, then lines.
  static void InitKindCollections(TStreetStructure& street);

  using TOrientPointItem::TOrientPointItem;

  // Marks the item invalid when it has fewer than two points: both forms need them.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // A pavilion: a Length by Width rectangle left of its direction, yellow and filled
  // with the street's "StopsYellow" option, else red and crossed. A flag stop: a pole
  // and a crossed flag, on the left of the direction taken along the axis.
  void BuildPrimitives() override;

  // Pavilion size in metres: along the direction, and across it.
  float Length() const { return length_; }
  void SetLength(float length) { length_ = length; }
  float Width() const { return width_; }
  void SetWidth(float width) { width_ = width; }
  const std::string& StopName() const { return stopName_; }
  void SetStopName(const std::string& name) { stopName_ = name; }
  const std::string& Routes() const { return routes_; }
  void SetRoutes(const std::string& routes) { routes_ = routes; }
  // Four bytes kept as they were stored; nothing here interprets them.
  uint32_t TransportSquare() const { return transportSquare_; }
  void SetTransportSquare(uint32_t value) { transportSquare_ = value; }
  // A pavilion (true) or a flag on a pole (false).
  bool Pavilion() const { return pavilion_; }
  void SetPavilion(bool pavilion) { pavilion_ = pavilion; }

 private:
  float length_ = 4.0f;
  float width_ = 2.0f;
  std::string stopName_;
  std::string routes_;
  uint32_t transportSquare_ = 0;
  bool pavilion_ = true;
};

}  // namespace vellmar
