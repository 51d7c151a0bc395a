// The bus-stop marking drawn: its zigzag along the line.

#include <cmath>
#include <memory>

#include "document/StreetStructure.h"
#include "items/road/ModeSets.h"
#include "items/road/RazmetStopItem.h"
#include "items/road/SymbolGlyphs.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

namespace {

constexpr double kPeriod = 4.0;
constexpr double kPeak = 2.0;        // left of the line
constexpr double kHalfWidth = 0.05;  // of the painted line
// More periods than this come only from damaged points; they are not drawn rather than
// freezing the build.
constexpr double kMaxPeriods = 100000;

}  // namespace

void TRazmetStopItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections& collections = street.KindCollections(kKindIndex);
  auto band = std::make_unique<TDxTriangleCollection>();
  band->SetColor(kSymbolInk);
  collections.push_back(std::move(band));
  auto line = std::make_unique<TDxLineCollection>();
  line->SetColor(kSymbolInk);
  collections.push_back(std::move(line));
}

void TRazmetStopItem::BuildPrimitives() {
  TPointList& points = Points();
  const TXYZArray& polyline = points.Polyline();
  points.SetModified(false);
  if (polyline.size() < 2) return;
  const double periods = std::trunc(points.Stations().back() / kPeriod);
  if (!(periods <= kMaxPeriods)) return;
  const auto n = static_cast<int32_t>(periods);
  TXYZArray zigzag = {polyline.front()};
  const auto at = [&](double station, double offset) {
    return points.OffsetPointAt(offset, points.ParamAtStation(station));
  };
  for (int32_t i = 0; i < n; ++i) {
    zigzag.push_back(at(kPeriod * i, kPeak));
    zigzag.push_back(at(kPeriod * i + kPeriod / 2, 0));
  }
  zigzag.push_back(at(kPeriod * n, kPeak));
  zigzag.push_back(at(kPeriod * n, 0));
  const TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  auto& band = dynamic_cast<TDxTriangleCollection&>(*collections.at(0));
  auto& line = dynamic_cast<TDxLineCollection&>(*collections.at(1));
  band.SetModeSet(kPlanModes);
  line.SetModeSet(kPlanModes);
  line.AddPolyline(this, zigzag);
  band.AddSmoothRibbon(this, zigzag, 0, kHalfWidth, -kHalfWidth, 0, 0);
}

}  // namespace vellmar
