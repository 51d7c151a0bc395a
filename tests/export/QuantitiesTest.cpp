// Quantities of a street worked out by hand (see HandWorkedStreet.h), through the table
// and its CSV, and of the features an export is made from.

#include <gtest/gtest.h>

#include <string>

#include "document/KindRegistry.h"
#include "export/ExportFeatures.h"
#include "export/PlanPolygon.h"
#include "export/Quantities.h"
#include "kinds/AllKinds.h"
#include "support/HandWorkedStreet.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

class HandWorked : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterAllKinds();
    test::BuildHandWorkedStreet(street);
  }
  test::ScopedDataVariable root{test::CommittedDataFiles().c_str()};
  TStreetStructure street;
};

TEST_F(HandWorked, QuantitiesAreTheHandWorkedOnes) {
  const TQuantities q = CountQuantities(street);
  ASSERT_EQ(q.Markings.size(), 2u);
  EXPECT_EQ(q.Markings[0].Type, "1.5");
  EXPECT_EQ(q.Markings[0].Count, 1);
  EXPECT_NEAR(q.Markings[0].Length, 25.0, 1e-9);
  EXPECT_NEAR(q.Markings[0].Area, 2.5, 1e-6);
  EXPECT_EQ(q.Markings[1].Type, "1.14.1");
  EXPECT_EQ(q.Markings[1].Count, 1);
  EXPECT_NEAR(q.Markings[1].Length, 4.0, 1e-9);
  EXPECT_NEAR(q.Markings[1].Area, 9.6, 1e-3) << "stripes are built in single precision";

  ASSERT_EQ(q.Signs.size(), 2u);
  EXPECT_EQ(q.Signs[0].Number, "3.24");
  ASSERT_EQ(q.Signs[0].Places.size(), 1u);
  EXPECT_NEAR(*q.Signs[0].Places[0].Station, 90, 1e-6);
  EXPECT_EQ(q.Signs[1].Number, "5.19.1");
  ASSERT_EQ(q.Signs[1].Places.size(), 2u);
  EXPECT_NEAR(*q.Signs[1].Places[0].Station, 30, 1e-6);
  EXPECT_NEAR(*q.Signs[1].Places[0].Offset, 8, 1e-6);
  EXPECT_EQ(q.Signs[1].Places[0].Side, "right");
  EXPECT_NEAR(*q.Signs[1].Places[1].Station, 60, 1e-6);
  EXPECT_NEAR(*q.Signs[1].Places[1].Offset, -8, 1e-6);
  EXPECT_EQ(q.Signs[1].Places[1].Side, "left");

  ASSERT_EQ(q.Surfaces.size(), 2u);
  EXPECT_EQ(q.Surfaces[0].Kind, 2);
  EXPECT_EQ(q.Surfaces[0].Count, 2);
  EXPECT_NEAR(q.Surfaces[0].Amount, 4000, 1e-6);
  EXPECT_EQ(q.Surfaces[1].Kind, 4);
  EXPECT_NEAR(q.Surfaces[1].Amount, 50, 1e-9) << "the bow-tie lawn by the even-odd rule";
  ASSERT_EQ(q.Lines.size(), 2u);
  EXPECT_NEAR(q.Lines[0].Amount, 200, 1e-9);
  EXPECT_NEAR(q.Lines[1].Amount, 60, 1e-9);
}

TEST_F(HandWorked, TheSecondSignKindCountsAsSign124AtItsPoint) {
  test::AddItem(street, 23, {{45, 6, 0}});
  const TQuantities q = CountQuantities(street);
  ASSERT_EQ(q.Signs.size(), 3u);
  EXPECT_EQ(q.Signs[0].Number, "1.24");
  ASSERT_EQ(q.Signs[0].Places.size(), 1u);
  EXPECT_NEAR(*q.Signs[0].Places[0].Station, 45, 1e-6);
  EXPECT_EQ(q.Signs[0].Places[0].Side, "left");
}

TEST_F(HandWorked, TheCsvHoldsEveryRowOfTheTable) {
  const std::string csv = QuantitiesCsv(CountQuantities(street));
  EXPECT_EQ(csv,
            "section,name,count,length_m,area_m2,id,station_m,offset_m,side\n"
            "marking,1.5,1,25.000,2.500,,,,\n"
            "marking,1.14.1,1,4.000,9.600,,,,\n"
            "sign,3.24,1,,,,,,\n"
            "sign_place,3.24,,,,3,90.000,8.000,right\n"
            "sign,5.19.1,2,,,,,,\n"
            "sign_place,5.19.1,,,,1,30.000,8.000,right\n"
            "sign_place,5.19.1,,,,2,60.000,-8.000,left\n"
            "surface,Проезжая часть,2,,4000.000,,,,\n"
            "surface,Газон,1,,50.000,,,,\n"
            "line,Борт,1,200.000,,,,,\n"
            "line,Ограждение,1,60.000,,,,,\n");
}

TEST_F(HandWorked, FeaturesCarryShapesAndWhatTheItemsSay) {
  test::AddItem(street, 0, {{0, 0, 0}, {50, 0, 0}, {50, 40, 0}, {0, 40, 0}});
  TKindSet kinds = TKindRegistry::AllKinds();
  const std::vector<TKindFeatures> all = CollectFeatures(street, kinds);
  const auto kind = [&](int32_t index) -> const TKindFeatures& {
    for (const TKindFeatures& k : all) {
      if (k.Kind == index) return k;
    }
    throw std::runtime_error("no kind " + std::to_string(index));
  };
  EXPECT_EQ(kind(10).Features.at(0).Parts.size(), 8u) << "the dashes of 1.5, not its control line";
  const TExportFeature& zebra = kind(14).Features.at(0);
  EXPECT_EQ(zebra.Shape, TFeatureShape::Area) << "a crossing is its stripes, not its path";
  EXPECT_EQ(EvenOddPolygons(zebra.Parts).size(), 4u);
  EXPECT_NEAR(PolygonsArea(EvenOddPolygons(zebra.Parts)), 9.6, 1e-3);
  EXPECT_EQ(kind(2).Features.size(), 2u);
  EXPECT_EQ(kind(0).Features.at(0).Shape, TFeatureShape::Area) << "an underlay covers the area of its picture";
  EXPECT_EQ(kind(2).Features[0].Shape, TFeatureShape::Area);
  const TExportFeature& sign = kind(22).Features.at(1);
  EXPECT_EQ(sign.Shape, TFeatureShape::Point);
  EXPECT_NEAR(*sign.Station, 60, 1e-6);
  EXPECT_NEAR(*sign.Offset, -8, 1e-6);
  ASSERT_EQ(sign.Plates.size(), 1u);
  EXPECT_EQ(sign.Plates[0].Number, "5.19.1");
  EXPECT_TRUE(sign.Plates[0].Outline.has_value());
  EXPECT_NEAR(sign.Rotation, 180, 1e-6) << "the plates face along the sign's last segment";
  EXPECT_EQ(kind(22).FieldNames.at(0), "Тип_опоры");

  TKindSet onlyKerbs;
  onlyKerbs.Include(8);
  const std::vector<TKindFeatures> kerbs = CollectFeatures(street, onlyKerbs);
  ASSERT_EQ(kerbs.size(), 1u);
  EXPECT_EQ(kerbs[0].Ident, "BORT");
  int64_t lastDone = -1, calls = 0;
  EXPECT_THROW(CollectFeatures(street, kinds,
                               [&](int64_t done, int64_t total) {
                                 lastDone = done;
                                 EXPECT_LE(done, total);
                                 return ++calls < 3;
                               }),
               EVellmarError)
      << "a stopped collection raises instead of handing back part of the plan";
  EXPECT_EQ(calls, 3);
}

}  // namespace
}  // namespace vellmar
