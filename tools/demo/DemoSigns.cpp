#include "DemoSigns.h"

#include <vector>

#include "document/StreetStructure.h"
#include "items/signs/SvetoforItem.h"
#include "items/signs/ZnakItem.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

// A plate: its library picture and its centre's height under the post's top.
struct TDemoPlate {
  const char* Picture;
  float Below;
};

// A post from its foot at the curb to its top, where the first plate hangs. The bend
// lies left of the top, so the plates stand upright on the plan; plates below the first
// carry their captions on the right, clear of the plate under them.
struct TDemoSign {
  const char* What;
  TXYZ Foot;
  TXYZ Top;
  std::vector<TDemoPlate> Plates;
};

// Signs are 700 picture units square (4.7 m at the street's sign scale) and additional
// plates 700 by 350: a plate hangs 3.8 m under a sign, clear of it. The east-bound traffic keeps to
// the southern carriageway (y < 0), so its signs stand south of the road with their
// plates hanging away from it; the west-bound traffic's stand north of the road,
// their plates hanging down to the sidewalk.
const std::vector<TDemoSign>& Signs() {
  static const std::vector<TDemoSign> signs = {
      {"pedestrian crossing ahead, in 150 m", {85, -11.5f, 0}, {85, -16.5f, 0},
       {{"1-22.emf", 0}, {"8-01-1_150.emf", 3.8f}}},
      {"speed limit 40 for the next 100 m", {40, -11.5f, 0}, {40, -16.5f, 0},
       {{"3-24_40.emf", 0}, {"8-02-1_100.emf", 3.8f}}},
      {"pedestrian crossing, east-bound", {146, -11.5f, 0}, {146, -16.5f, 0}, {{"5-19-1.emf", 0}}},
      {"pedestrian crossing, west-bound", {156, 11.5f, 0}, {156, 20.5f, 0}, {{"G2004_5-19-2_big.emf", 0}}},
      {"bus stop, with its hours", {138, 11.5f, 0}, {138, 20.5f, 0},
       {{"5-16.emf", 0}, {"8-05-4.emf", 3.8f}}},
      {"no stopping before the bus stop, for 100 m", {112, 11.5f, 0}, {112, 20.5f, 0},
       {{"3-27.emf", 0}, {"8-02-1_100.emf", 3.8f}}},
  };
  return signs;
}

struct TDemoHead {
  const char* Picture;  // UTF-8 picture name
  TXYZ Offset;
};

struct TDemoLight {
  const char* What;
  TXYZ At;
  std::vector<TDemoHead> Heads;
};

// Poles on the lawns before the crossing. The head pictures' markers are on their
// bottom rows, so unturned heads stand above their points, red lamp on top.
const std::vector<TDemoLight>& Lights() {
  static const std::vector<TDemoLight> lights = {
      {"east-bound, before the crossing", {143, -12.5f, 0}, {{"Т.1", {0.8f, 0, 0}}, {"Т.3", {-0.8f, 0, 0}}}},
      {"west-bound, before the crossing", {159, 12.5f, 0}, {{"Т.1", {-0.8f, 0, 0}}, {"Т.3", {0.8f, 0, 0}}}},
  };
  return lights;
}

void AddSign(TStreetStructure& street, const TDemoSign& demo) {
  auto& sign = dynamic_cast<TZnakItem&>(*street.ItemList(TZnakItem::kKindIndex).NewItem());
  TPointList& points = sign.Points();
  points.InsertNew(0, demo.Foot);
  points.InsertNew(1, {demo.Top.x - 1, demo.Top.y, demo.Top.z});
  points.InsertNew(2, demo.Top);
  const bool stacked = demo.Plates.size() > 1;
  for (const TDemoPlate& p : demo.Plates) {
    TEmfSubItem& plate = sign.AddPlate();
    plate.SetLibName(p.Picture);
    plate.SetOrigin({0, -p.Below, 0});
    if (stacked) plate.SetCaptionSide(TEmfSubItem::kRight);
  }
}

void AddLight(TStreetStructure& street, const TDemoLight& demo) {
  auto& light = dynamic_cast<TSvetoforItem&>(*street.ItemList(TSvetoforItem::kKindIndex).NewItem());
  light.Points().InsertNew(0, demo.At);
  light.SetSupport(Utf8ToCp1251("Стойка"));
  for (const TDemoHead& h : demo.Heads) {
    TSvetoforSubItem& head = light.AddHead();
    head.SetName(Utf8ToCp1251(h.Picture));
    head.SetOffset(h.Offset);
  }
}

}  // namespace

void AddDemoSigns(TStreetStructure& street) {
  for (const TDemoSign& sign : Signs()) AddSign(street, sign);
  for (const TDemoLight& light : Lights()) AddLight(street, light);
}

}  // namespace vellmar
