#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../KindStreamTest.h"
#include "document/TaggedStream.h"
#include "items/road/ArrowRazmetItem.h"
#include "items/road/AxisItem.h"
#include "items/road/BortItem.h"
#include "items/road/HouseItem.h"
#include "items/road/KMSignItem.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/RazmetTextItem.h"
#include "items/road/RazmetZnakItem.h"
#include "items/road/RoadWallItem.h"
#include "items/road/RoadWayItem.h"
#include "items/road/TramWayItem.h"
#include "items/road/TrotuarItem.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"
#include "support/CommittedFile.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"

namespace vellmar::test {
namespace {

void Nothing(TStream&) {}
void NoFields(const TAbstractItem&) {}

// Kinds whose only own data is the stored base.
TKindCase Plain(const char* name, int32_t kind, const TIdent& ident) {
  return {name,    kind,    Nothing, [ident](const TAbstractItem& item) { EXPECT_EQ(item.Ident(), ident); },
          Nothing, NoFields};
}

// Two optional strings written only when not empty.
template <class T>
TKindCase MaterialAndPassport(const char* name, int32_t kind, const TIdent& material,
                              const TIdent& passport) {
  return {name,
          kind,
          [=](TStream& s) {
            WriteIdent(s, material);
            WriteString(s, Utf8ToCp1251("асфальт"));
            WriteIdent(s, passport);
            WriteString(s, "P-17");
          },
          [](const TAbstractItem& item) {
            EXPECT_EQ(As<T>(item).Material(), Utf8ToCp1251("асфальт"));
            EXPECT_EQ(As<T>(item).Passport(), "P-17");
          },
          Nothing,
          [](const TAbstractItem& item) {
            EXPECT_EQ(As<T>(item).Material(), "");
            EXPECT_EQ(As<T>(item).Passport(), "");
          }};
}

std::vector<TKindCase> RoadCases() {
  std::vector<TKindCase> cases;
  cases.push_back(Plain("DividingStrip", 1, "RAZDPOL "));
  cases.push_back(MaterialAndPassport<TRoadWayItem>("Carriageway", 2, "RWMAT   ", "RWPASPCT"));
  cases.push_back(MaterialAndPassport<TTrotuarItem>("Sidewalk", 3, "TRMAT   ", "TRPASPCT"));
  cases.push_back(Plain("Lawn", 4, "GAZON   "));
  cases.push_back(Plain("Shoulder", 5, "OBOCH   "));
  cases.push_back({"Building", 6,
                   [](TStream& s) {
                     WriteIdent(s, "HOUSADDR");
                     WriteString(s, Utf8ToCp1251("ул. Ленина, 5"));
                     WriteIdent(s, "HOUSADST");
                     WriteString(s, Utf8ToCp1251("Ленина"));
                   },
                   [](const TAbstractItem& item) {
                     EXPECT_EQ(As<THouseItem>(item).Address(), Utf8ToCp1251("ул. Ленина, 5"));
                     EXPECT_EQ(As<THouseItem>(item).AddressStreet(), Utf8ToCp1251("Ленина"));
                   },
                   // Both texts are written even when empty.
                   [](TStream& s) {
                     WriteIdent(s, "HOUSADDR");
                     WriteString(s, "");
                     WriteIdent(s, "HOUSADST");
                     WriteString(s, "");
                   },
                   [](const TAbstractItem& item) {
                     EXPECT_EQ(As<THouseItem>(item).Address(), "");
                     EXPECT_EQ(As<THouseItem>(item).AddressStreet(), "");
                   }});
  cases.push_back({"Curb", 8,
                   [](TStream& s) {
                     WriteIdent(s, "BORTKIND");
                     WriteString(s, Utf8ToCp1251("БР 100.30.15"));
                     WriteIdent(s, "BORTGOST");
                     WriteString(s, "6665-91");
                     WriteIdent(s, "BORTWIDT");
                     WriteSingle(s, 0.15f);
                     WriteIdent(s, "BORTCOLR");
                     WriteInt32(s, static_cast<int32_t>(MakeColor(200, 10, 20, 255)));
                   },
                   [](const TAbstractItem& item) {
                     const auto& curb = As<TBortItem>(item);
                     EXPECT_EQ(curb.CurbKind(), Utf8ToCp1251("БР 100.30.15"));
                     EXPECT_EQ(curb.Gost(), "6665-91");
                     EXPECT_EQ(curb.Width(), 0.15f);
                     EXPECT_EQ(curb.Colour(), MakeColor(200, 10, 20, 255));
                   },
                   [](TStream& s) {
                     WriteIdent(s, "BORTWIDT");
                     WriteSingle(s, 0.2f);
                     WriteIdent(s, "BORTCOLR");
                     WriteInt32(s, static_cast<int32_t>(MakeColor(0, 128, 0, 255)));
                   },
                   [](const TAbstractItem& item) {
                     const auto& curb = As<TBortItem>(item);
                     EXPECT_EQ(curb.CurbKind(), "");
                     EXPECT_EQ(curb.Gost(), "");
                     EXPECT_EQ(curb.Width(), 0.2f);
                     EXPECT_EQ(curb.Colour(), MakeColor(0, 128, 0, 255));
                   }});
  cases.push_back({"RoadBarrier", 9,
                   [](TStream& s) {
                     WriteIdent(s, "RWALLKND");
                     WriteInt32(s, 2);
                   },
                   [](const TAbstractItem& item) { EXPECT_EQ(As<TRoadWallItem>(item).WallKind(), 2); },
                   [](TStream& s) {
                     WriteIdent(s, "RWALLKND");
                     WriteInt32(s, 0);
                   },
                   [](const TAbstractItem& item) { EXPECT_EQ(As<TRoadWallItem>(item).WallKind(), 0); }});
  cases.push_back({"LineMarking", 10,
                   [](TStream& s) {
                     WriteIdent(s, "LNRMGOST");
                     WriteString(s, "1.11");
                     WriteIdent(s, "LNRMMIRR");
                     WriteFlag(s, true);
                   },
                   [](const TAbstractItem& item) {
                     EXPECT_EQ(As<TLineRazmetItem>(item).GostName(), "1.11");
                     EXPECT_TRUE(As<TLineRazmetItem>(item).Mirror());
                   },
                   // An empty name is still written, as a zero-length string.
                   [](TStream& s) {
                     WriteIdent(s, "LNRMGOST");
                     WriteString(s, "");
                     WriteIdent(s, "LNRMMIRR");
                     WriteFlag(s, false);
                   },
                   [](const TAbstractItem& item) {
                     EXPECT_EQ(As<TLineRazmetItem>(item).GostName(), "");
                     EXPECT_FALSE(As<TLineRazmetItem>(item).Mirror());
                     EXPECT_EQ(As<TLineRazmetItem>(item).ParamIndex(), -1);
                   }});
  cases.push_back({"Arrow", 11,
                   [](TStream& s) {
                     WriteIdent(s, "ARRMNAME");
                     WriteString(s, Utf8ToCp1251("Прямо"));
                     WriteIdent(s, "ARRMCONN");
                     WriteIdent(s, "CONNECTD");
                     WriteInt32(s, 2);
                     WriteObjectRef(s, TObjectRef{});
                     WriteObjectRef(s, TObjectRef{});
                   },
                   [](const TAbstractItem& item) {
                     const auto& arrow = As<TArrowRazmetItem>(item);
                     EXPECT_EQ(arrow.ArrowName(), Utf8ToCp1251("Прямо"));
                     EXPECT_EQ(arrow.Connected().Count(), 2);
                   },
                   [](TStream& s) {
                     WriteIdent(s, "ARRMNAME");
                     WriteString(s, "");
                     WriteIdent(s, "ARRMCONN");
                     WriteIdent(s, "CONNECTD");
                     WriteInt32(s, 0);
                   },
                   [](const TAbstractItem& item) {
                     const auto& arrow = As<TArrowRazmetItem>(item);
                     EXPECT_EQ(arrow.ArrowName(), "");
                     EXPECT_EQ(arrow.Connected().Count(), 0);
                   }});
  cases.push_back(
      {"MarkingText", 15,
       [](TStream& s) {
         WriteIdent(s, "TEXTTEXT");
         WriteString(s, Utf8ToCp1251("СТОП"));
       },
       [](const TAbstractItem& item) { EXPECT_EQ(As<TRazmetTextItem>(item).Text(), Utf8ToCp1251("СТОП")); },
       [](TStream& s) {
         WriteIdent(s, "TEXTTEXT");
         WriteString(s, "");
       },
       [](const TAbstractItem& item) { EXPECT_EQ(As<TRazmetTextItem>(item).Text(), ""); }});
  cases.push_back({"SignDuplicate", 16,
                   [](TStream& s) {
                     WriteIdent(s, "ZNAKNAME");
                     WriteString(s, "3.24");
                   },
                   [](const TAbstractItem& item) { EXPECT_EQ(As<TRazmetZnakItem>(item).SignName(), "3.24"); },
                   [](TStream& s) {
                     WriteIdent(s, "ZNAKNAME");
                     WriteString(s, "");
                   },
                   [](const TAbstractItem& item) { EXPECT_EQ(As<TRazmetZnakItem>(item).SignName(), ""); }});
  cases.push_back({"TramLine", 18,
                   [](TStream& s) {
                     WriteIdent(s, "RUTWIDTH");
                     WriteSingle(s, 1.524f);
                   },
                   [](const TAbstractItem& item) { EXPECT_EQ(As<TTramWayItem>(item).Gauge(), 1.524f); },
                   // The standard gauge is stored as no gauge at all.
                   Nothing,
                   [](const TAbstractItem& item) { EXPECT_EQ(As<TTramWayItem>(item).Gauge(), 0.0f); }});
  cases.push_back({"KilometreSign", 24,
                   [](TStream& s) {
                     WriteIdent(s, "KMNUMBER");
                     WriteInt32(s, -1);
                     WriteInt32(s, 15);
                     WriteIdent(s, "KMSTATUS");
                     WriteString(s, Utf8ToCp1251("новый"));
                   },
                   [](const TAbstractItem& item) {
                     const auto& sign = As<TKMSignItem>(item);
                     EXPECT_EQ(sign.FirstNumber(), -1);
                     EXPECT_EQ(sign.SecondNumber(), 15);
                     EXPECT_EQ(sign.Status(), Utf8ToCp1251("новый"));
                   },
                   [](TStream& s) {
                     WriteIdent(s, "KMNUMBER");
                     WriteInt32(s, 0);
                     WriteInt32(s, 0);
                   },
                   [](const TAbstractItem& item) {
                     const auto& sign = As<TKMSignItem>(item);
                     EXPECT_EQ(sign.FirstNumber(), 0);
                     EXPECT_EQ(sign.SecondNumber(), 0);
                     EXPECT_EQ(sign.Status(), "");
                   }});
  cases.push_back(Plain("Curve", 26, "ARCCOORD"));
  cases.push_back({"Axis", 35,
                   [](TStream& s) {
                     WriteIdent(s, "AXISNAME");
                     WriteString(s, Utf8ToCp1251("главная"));
                     WriteIdent(s, "AXISMARK");
                     WriteFlag(s, true);
                     WriteIdent(s, "AXISLSTP");
                     WriteSingle(s, 50.0f);
                     WriteIdent(s, "AXISMRKW");
                     WriteSingle(s, 7.5f);
                     WriteIdent(s, "AXISTECH");
                     WriteString(s, "T1");
                     WriteIdent(s, "AXISCNTR");
                     WriteFlag(s, true);
                     WriteIdent(s, "AXISSHRT");
                     WriteFlag(s, true);
                     WriteIdent(s, "AXISCOLR");
                     WriteInt32(s, static_cast<int32_t>(MakeColor(1, 2, 3, 255)));
                     WriteIdent(s, "LfSideNm");
                     WriteString(s, Utf8ToCp1251("лево"));
                     WriteIdent(s, "RtSideNm");
                     WriteString(s, Utf8ToCp1251("право"));
                     WriteIdent(s, "CnSideNm");
                     WriteString(s, Utf8ToCp1251("центр"));
                   },
                   [](const TAbstractItem& item) {
                     const auto& axis = As<TAxisItem>(item);
                     EXPECT_EQ(axis.AxisName(), Utf8ToCp1251("главная"));
                     EXPECT_TRUE(axis.MarkPickets());
                     EXPECT_EQ(axis.PicketStep(), 50.0f);
                     EXPECT_EQ(axis.MarkWidth(), 7.5f);
                     EXPECT_EQ(axis.TechSign(), "T1");
                     EXPECT_TRUE(axis.DrawLine());
                     EXPECT_TRUE(axis.ShortPickets());
                     EXPECT_EQ(axis.Colour(), MakeColor(1, 2, 3, 255));
                     EXPECT_EQ(axis.LeftSideName(), Utf8ToCp1251("лево"));
                     EXPECT_EQ(axis.RightSideName(), Utf8ToCp1251("право"));
                     EXPECT_EQ(axis.CentreSideName(), Utf8ToCp1251("центр"));
                   },
                   [](TStream& s) {
                     WriteIdent(s, "AXISMARK");
                     WriteFlag(s, false);
                     WriteIdent(s, "AXISLSTP");
                     WriteSingle(s, 100.0f);
                     WriteIdent(s, "AXISMRKW");
                     WriteSingle(s, 20.0f);
                     WriteIdent(s, "AXISCNTR");
                     WriteFlag(s, false);
                     WriteIdent(s, "AXISSHRT");
                     WriteFlag(s, false);
                     WriteIdent(s, "AXISCOLR");
                     WriteInt32(s, 0);
                   },
                   [](const TAbstractItem& item) {
                     const auto& axis = As<TAxisItem>(item);
                     EXPECT_EQ(axis.AxisName(), "");
                     EXPECT_FALSE(axis.MarkPickets());
                     EXPECT_EQ(axis.PicketStep(), 100.0f);
                     EXPECT_EQ(axis.MarkWidth(), 20.0f);
                     EXPECT_EQ(axis.TechSign(), "");
                     EXPECT_FALSE(axis.DrawLine());
                     EXPECT_FALSE(axis.ShortPickets());
                     EXPECT_EQ(axis.Colour(), 0u);
                     EXPECT_EQ(axis.LeftSideName() + axis.RightSideName() + axis.CentreSideName(), "");
                   }});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(RoadKinds, KindChunks, ::testing::ValuesIn(RoadCases()), KindCaseName);

using RoadSeed = KindStreamTest;

// The street fuzzer's seed "road" is a street holding one item of every road kind with
// every chunk filled; it is made here so it stays a valid file as the kinds change:
//   VELLMAR_WRITE_SEEDS=1 items_tests --gtest_filter='RoadSeed.*'
// rewrites it. The street also has to save back byte for byte.
TEST_F(RoadSeed, StreetOfEveryRoadKindIsTheCommittedSeedAndSavesBackUnchanged) {
  for (const TKindCase& c : RoadCases()) {
    TMemoryStream item;
    WriteItemHead(item, c.Kind, PointsNeeded(c.Kind));
    c.WriteAll(item);
    LoadList(c.Kind, 1, item);
  }
  street.SetView({5, 5, 0}, 0.5f, 0.0f);
  TMemoryStream first;
  street.SaveToStream(first);
  TStreetStructure copy;
  first.SetPosition(0);
  copy.LoadFromStream(first);
  TMemoryStream second;
  copy.SaveToStream(second);
  EXPECT_EQ(BytesOf(second), BytesOf(first));

  const auto path = test::SourceDir() / "fuzz/corpus/StreetFuzz/road";
  if (!std::filesystem::is_directory(path.parent_path()))
    VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  EXPECT_TRUE(IsCommittedFile(path, first.Bytes()));
}

}  // namespace
}  // namespace vellmar::test
