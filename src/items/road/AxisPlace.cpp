#include "items/road/AxisPlace.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "document/PointList.h"
#include "geometry/Planar.h"

namespace vellmar {

std::optional<TAxisPlace> PlaceOnAxis(TPointList& axis, const TXYZ& point) {
  if (!std::isfinite(point.x) || !std::isfinite(point.y)) return std::nullopt;
  const std::optional<TPolylineLocation> location = axis.Locate(point);
  if (!location) return std::nullopt;
  TPolylineLocation place = *location;
  // Within the axis, stations across it follow the ticks the axis draws (mitred at the
  // bends). Beyond an end the end segment runs on straight, as a station view extends
  // it, so there the station is the foot of the perpendicular on that straight line.
  const TXYZArray& line = axis.Polyline();
  const std::vector<float>& stations = axis.Stations();
  const size_t last = line.size() - 1;
  const size_t segment = std::min(static_cast<size_t>(std::max(0.0, std::floor(place.Parameter))), last - 1);
  const TLineRelation along = PointLineRelation(point, line[segment], line[segment + 1]);
  if ((segment == 0 && along.t < 0.0) || (segment == last - 1 && along.t > 1.0)) {
    place.Offset = along.distance;
    place.Station = stations[segment] + along.t * (double{stations[segment + 1]} - stations[segment]);
  }
  if (!std::isfinite(place.Station) || !std::isfinite(place.Offset)) return std::nullopt;
  // The point list measures offsets to the left; people read a road to the right.
  return TAxisPlace{place.Station, -place.Offset};
}

}  // namespace vellmar
