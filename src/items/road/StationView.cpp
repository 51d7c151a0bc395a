#include "items/road/StationView.h"

#include <cmath>

#include "document/PointList.h"

namespace vellmar {

std::optional<TViewState> ViewAtStation(TPointList& axis, double station, TViewState view) {
  if (axis.Polyline().size() < 2 || !std::isfinite(station)) return std::nullopt;
  const double parameter = axis.ParamAtStation(station);
  const TXYZ centre = axis.PointAt(parameter);
  const double rotation = -axis.AngleAt(parameter);
  if (!std::isfinite(centre.x) || !std::isfinite(centre.y) || !std::isfinite(centre.z) || !std::isfinite(rotation)) {
    return std::nullopt;
  }
  view.Centre = centre;
  view.Rotation = static_cast<float>(rotation);
  return view;
}

}  // namespace vellmar
