#include "DemoCurvedRoad.h"

#include <cmath>
#include <numbers>
#include <string>

#include "document/AbstractItem.h"
#include "document/StreetStructure.h"
#include "items/road/AxisItem.h"
#include "items/road/KMSignItem.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/OstrovokItem.h"
#include "items/road/RoadWallItem.h"
#include "items/road/ZebraItem.h"
#include "platform/gpu/DxVertex.h"

namespace vellmar {

namespace {

// The road's centre line, by station s from the avenue's east end (300, 0): 60 m on
// east, a left-hand curve of radius 150 m through 75 degrees, then 100 m straight on.
constexpr double kStart = 300.0;
constexpr double kLeadIn = 60.0;
constexpr double kRadius = 150.0;
constexpr double kTurn = 75.0 * std::numbers::pi / 180.0;
constexpr double kArcEnd = kLeadIn + kRadius * kTurn;
constexpr double kLength = kArcEnd + 100.0;
constexpr double kSample = 2.0;  // metres between the points of a curved line

// The point at station s, offset d to the left of the direction of travel.
TXYZ At(double s, double d) {
  double x = 0, y = 0, heading = 0;
  if (s <= kLeadIn) {
    x = kStart + s;
  } else if (s <= kArcEnd) {
    heading = (s - kLeadIn) / kRadius;
    x = kStart + kLeadIn + kRadius * std::sin(heading);
    y = kRadius * (1 - std::cos(heading));
  } else {
    heading = kTurn;
    const double on = s - kArcEnd;
    x = kStart + kLeadIn + kRadius * std::sin(kTurn) + on * std::cos(kTurn);
    y = kRadius * (1 - std::cos(kTurn)) + on * std::sin(kTurn);
  }
  return {static_cast<float>(x - std::sin(heading) * d), static_cast<float>(y + std::cos(heading) * d), 0.0f};
}

// The line at offset d from station s0 to s1 (either way), a point every kSample metres.
TXYZArray Line(double s0, double s1, double d) {
  TXYZArray points;
  const auto steps = static_cast<int>(std::ceil(std::fabs(s1 - s0) / kSample));
  for (int i = 0; i <= steps; ++i) points.push_back(At(s0 + (s1 - s0) * i / steps, d));
  return points;
}

// The area between offsets d0 and d1 from station s0 to s1.
TXYZArray Band(double s0, double s1, double d0, double d1) {
  TXYZArray outline = Line(s0, s1, d0);
  const TXYZArray back = Line(s1, s0, d1);
  outline.insert(outline.end(), back.begin(), back.end());
  return outline;
}

TAbstractItem& Add(TStreetStructure& street, int32_t kind, const TXYZArray& points) {
  TAbstractItem& item = *street.ItemList(kind).NewItem();
  for (const TXYZ& p : points) item.Points().InsertNew(item.Points().Count(), p);
  return item;
}

void AddMarking(TStreetStructure& street, const char* type, const TXYZArray& points) {
  dynamic_cast<TLineRazmetItem&>(Add(street, TLineRazmetItem::kKindIndex, points)).SetGostName(type);
}

// A wedge of hatching where a lane ends: its pointed end at station s0 on the line at
// offset d0, widening to d1 at station s1.
void AddIsland(TStreetStructure& street, double s0, double s1, double d0, double d1, uint8_t type) {
  auto& island = dynamic_cast<TOstrovokItem&>(
      Add(street, TOstrovokItem::kKindIndex, {At(s1, d0), At(s0, d0), At(s1, d1), At(s1, (d0 + d1) / 2)}));
  island.SetMainPoint(1);
  island.SetGostType(type);
}

void AddZebra(TStreetStructure& street, double s, float width, bool background) {
  auto& zebra = dynamic_cast<TZebraItem&>(Add(street, TZebraItem::kKindIndex, {At(s, -11), At(s, 11)}));
  zebra.SetWidth(width);
  zebra.SetBackground(background);
}

}  // namespace

void AddCurvedRoad(TStreetStructure& street) {
  // Surfaces, south (right of the direction of travel) to north.
  for (const double side : {-1.0, 1.0}) {
    Add(street, 2, Band(0, kLength, 4 * side, 11 * side));
    Add(street, 4, Band(0, kLength, 11 * side, 14 * side));
    Add(street, 3, Band(0, kLength, 14 * side, 18 * side));
    Add(street, 8, Line(0, kLength, 11 * side));
    Add(street, 8, Line(0, kLength, 4 * side));
  }
  Add(street, 1, Band(0, kLength, -4, 4));
  Add(street, 18, Line(0, kLength, 0));
  // A one-sided barrier on the lawn outside the curve.
  auto& barrier = dynamic_cast<TRoadWallItem&>(Add(street, TRoadWallItem::kKindIndex, Line(40, 280, -12.5)));
  barrier.SetWallKind(1);

  // Markings: edge lines beside the median, lane lines, the outer edges with the
  // no-stopping and no-parking lines, stop lines before the crossings.
  for (const double side : {-1.0, 1.0}) AddMarking(street, "1.2", Line(0, kLength, 4.3 * side));
  AddMarking(street, "1.5", Line(0, 100, -7.5));
  AddMarking(street, "1.6", Line(100, 135, -7.5));
  AddMarking(street, "1.1", Line(135, 144, -7.5));
  AddMarking(street, "1.5", Line(158, 270, -7.5));
  AddMarking(street, "1.6", Line(270, 304, -7.5));
  AddMarking(street, "1.3", Line(304, 314, -7.5));
  AddMarking(street, "1.3", Line(kLength, 328, 7.5));
  AddMarking(street, "1.9", Line(328, 190, 7.5));
  AddMarking(street, "1.6", Line(190, 156, 7.5));
  AddMarking(street, "1.11", Line(142, 60, 7.5));
  AddMarking(street, "1.5", Line(60, 0, 7.5));
  AddMarking(street, "1.2", Line(0, 20, -10.8));
  AddMarking(street, "1.8", Line(60, 144, -10.8));
  AddMarking(street, "1.2", Line(158, 290, -10.8));
  AddMarking(street, "1.4", Line(290, 314, -10.8));
  AddMarking(street, "1.2", Line(kLength, 328, 10.8));
  AddMarking(street, "1.10", Line(328, 240, 10.8));
  AddMarking(street, "1.7", Line(240, 210, 10.8));
  AddMarking(street, "1.2", Line(210, 156, 10.8));
  AddMarking(street, "1.2", Line(142, 0, 10.8));
  AddMarking(street, "1.12", {At(144, -11), At(144, -4)});
  AddMarking(street, "1.12", {At(156, 4), At(156, 11)});
  AddMarking(street, "1.12", {At(314, -11), At(314, -4)});
  AddMarking(street, "1.12", {At(328, 4), At(328, 11)});
  AddMarking(street, "1.13", {At(kLength - 2, -4), At(kLength - 2, -11)});

  // The right-hand lane drops at the start of the curve, the left-hand one opens in it.
  AddIsland(street, 20, 38, -10.8, -7.7, 0);
  AddIsland(street, 142, 124, 7.7, 10.8, 1);
  AddZebra(street, 150, 4.0f, true);
  AddZebra(street, 321, 8.0f, false);

  // The avenue's axis runs on along the curve, with its pickets and their tenths.
  if (auto* axis = dynamic_cast<TAxisItem*>(street.MainAxis())) {
    const TXYZArray on = Line(kSample, kLength, 0);
    for (const TXYZ& p : on) axis->Points().InsertNew(axis->Points().Count(), p);
    axis->SetMarkPickets(true);
    axis->SetShortPickets(true);
    axis->SetDrawLine(true);
    axis->SetMarkWidth(13.0f);
    axis->SetColour(MakeColor(170, 0, 0, 255));
    axis->SetAxisName("1");
  }
  auto& post = dynamic_cast<TKMSignItem&>(Add(street, TKMSignItem::kKindIndex, {At(200, -15)}));
  post.SetFirstNumber(12);
  post.SetSecondNumber(7);
}

}  // namespace vellmar
