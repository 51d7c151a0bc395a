#pragma once
// The public-transport stop: a pavilion rectangle or a stop flag, placed by two points
// (the second gives the direction along the road).

#include <cstdint>
#include <string>

#include "document/OrientPointItem.h"

namespace vellmar {

class TStopItem final : public TOrientPointItem {
 public:
  using TOrientPointItem::TOrientPointItem;

  // Marks the item invalid when it has fewer than two points: both forms need them.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

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
