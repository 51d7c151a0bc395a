// The bands the line kinds lay along a straight line of 20 m (10 m for the markings):
// where they lie across it, which rows of their textures they show and how many times
// their textures repeat, read from the primitives they recorded.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "RoadDrawSupport.h"
#include "document/LnParam.h"
#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/road/BortItem.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/RoadWallItem.h"
#include "items/road/TramWayItem.h"

namespace vellmar {
namespace {

struct TBand {
  size_t Prims = 0;
  float Low = 1e9f, High = -1e9f;  // across the line (y)
  float MaxU = 0;
  std::set<float> Vs;
};

TBand BandOf(const TAbstractItem& item, size_t collection) {
  TBand band;
  const TKindPrimitives& entry = item.KindPrimitives().at(collection);
  const TDxPrimRun stored = entry.Collection->IndicesOf(entry.Prims);
  for (size_t index = stored.First; index < size_t{stored.First} + stored.Count; ++index) {
    const TDxPrimView prim = entry.Collection->PrimAt(index);
    ++band.Prims;
    for (const TDxVertex& v : prim.Vertices) {
      band.Low = std::min(band.Low, v.Y);
      band.High = std::max(band.High, v.Y);
      band.MaxU = std::max(band.MaxU, v.U);
      band.Vs.insert(v.V);
    }
  }
  return band;
}

TEST(RoadBands, LineKindsLayTheirBandsAcrossAndAlongTheLine) {
  RegisterAllItemKinds();
  test::RoadDataRoot data;
  struct TCase {
    const char* What;
    int32_t Kind;
    float Length;
    std::function<void(TAbstractItem&)> Set;
    size_t Collection;  // the band's collection of the kind
    float Low, High, MaxU;
    std::set<float> Vs;
  };
  const TCase cases[] = {
      {"curb 0.5 m", 8, 20, [](TAbstractItem& i) { dynamic_cast<TBortItem&>(i).SetWidth(0.5f); }, 1, -0.25f,
       0.25f, 0, {0}},
      {"double-sided barrier", 9, 20, [](TAbstractItem&) {}, 1, -0.6f, 0.6f, 2, {0, 0.5f}},
      {"right barrier", 9, 20, [](TAbstractItem& i) { dynamic_cast<TRoadWallItem&>(i).SetWallKind(1); }, 1, -0.3f,
       0.9f, 2, {0.5f, 1}},
      {"left barrier", 9, 20, [](TAbstractItem& i) { dynamic_cast<TRoadWallItem&>(i).SetWallKind(2); }, 1, -0.9f,
       0.3f, 2, {0.5f, 1}},
      {"tram line", 18, 20, [](TAbstractItem&) {}, 0, -1, 1, 20, {0, 1}},
      {"tram line, 1.524 gauge", 18, 20, [](TAbstractItem& i) { dynamic_cast<TTramWayItem&>(i).SetGauge(1.524f); },
       0, -1.0886f, 1.0886f, 20, {0, 1}},
      {"marking T", 10, 10, [](TAbstractItem& i) { dynamic_cast<TLineRazmetItem&>(i).SetGostName("T"); }, 0, 0.1f,
       0.2f, 3, {0, 1}},
      {"marking T, mirrored", 10, 10,
       [](TAbstractItem& i) {
         auto& marking = dynamic_cast<TLineRazmetItem&>(i);
         marking.SetGostName("T");
         marking.SetMirror(true);
       },
       0, -0.2f, -0.1f, 3, {0, 1}},
      {"unknown marking", 10, 10, [](TAbstractItem& i) { dynamic_cast<TLineRazmetItem&>(i).SetGostName("9.9"); },
       1, -0.15f, 0.15f, 2, {0, 1}},  // 10 / 4 = 2.5 repeats: halves go to even
  };
  for (const TCase& c : cases) {
    TStreetStructure street;
    // A library of one type: offsets 0.1 and 0.2, a 3 m period.
    LnParam param;
    SetShortString(param.Name, "T");
    SetShortString(param.TextureFile, "1.1.bmp");
    param.Period = 3;
    param.Disp1 = 0.1f;
    param.Disp2 = 0.2f;
    street.LineParams() = {param};
    TAbstractItem& item = *street.ItemList(c.Kind).NewItem();
    item.Points().InsertNew(0, {0, 0, 0});
    item.Points().InsertNew(1, {c.Length, 0, 0});
    c.Set(item);
    street.RebuildKinds(TKindRegistry::AllKinds());
    const TBand band = BandOf(item, c.Collection);
    ASSERT_GT(band.Prims, 0u) << c.What;
    EXPECT_NEAR(band.Low, c.Low, 1e-4) << c.What;
    EXPECT_NEAR(band.High, c.High, 1e-4) << c.What;
    EXPECT_NEAR(band.MaxU, c.MaxU, 1e-4) << c.What << ": whole repeats of the texture";
    EXPECT_EQ(band.Vs, c.Vs) << c.What;
  }
}

TEST(RoadBands, ABarrierOfAnUnknownKindDrawsItsLineOnly) {
  RegisterAllItemKinds();
  test::RoadDataRoot data;
  TStreetStructure street;
  auto& wall = dynamic_cast<TRoadWallItem&>(*street.ItemList(9).NewItem());
  wall.Points().InsertNew(0, {0, 0, 0});
  wall.Points().InsertNew(1, {20, 0, 0});
  wall.SetWallKind(3);
  street.RebuildKinds(TKindRegistry::AllKinds());
  EXPECT_EQ(BandOf(wall, 0).Prims, 1u);
  EXPECT_EQ(BandOf(wall, 1).Prims, 0u);
}

}  // namespace
}  // namespace vellmar
