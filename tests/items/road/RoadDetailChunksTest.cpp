#include <gtest/gtest.h>

#include "../KindStreamTest.h"
#include "document/TaggedStream.h"
#include "items/road/KolodItem.h"
#include "items/road/PictureItem.h"
#include "items/road/StopItem.h"
#include "items/road/ZebraItem.h"
#include "platform/metafile/MetafileSamples.h"
#include "platform/text/Cp1251.h"

namespace vellmar::test {
namespace {

void NoChunks(TStream&) {}

// Kinds stored exactly as their geometric base: no chunk of their own.
TKindCase BaseOnly(const char* name, int32_t kind, const TIdent& ident) {
  const auto isKind = [ident](const TAbstractItem& item) { EXPECT_EQ(item.Ident(), ident); };
  return {name, kind, NoChunks, isKind, NoChunks, isKind};
}

std::vector<uint8_t> Picture() {
  return EnhancedSample({0, 0, 5000, 2500}, {0, 0, 199, 99});
}

std::vector<TKindCase> DetailCases() {
  std::vector<TKindCase> cases;
  cases.push_back(BaseOnly("BusStopMarking", 13, "RAZMSTOP"));
  cases.push_back({"Zebra", 14,
                   [](TStream& s) {
                     WriteIdent(s, "ZEBRAWID");
                     WriteSingle(s, 7.5f);
                     WriteIdent(s, "ZEBRABKG");
                     WriteFlag(s, true);
                   },
                   [](const TAbstractItem& item) {
                     EXPECT_EQ(As<TZebraItem>(item).Width(), 7.5f);
                     EXPECT_TRUE(As<TZebraItem>(item).Background());
                   },
                   // The width always, the background only when set.
                   [](TStream& s) {
                     WriteIdent(s, "ZEBRAWID");
                     WriteSingle(s, 6.0f);
                   },
                   [](const TAbstractItem& item) {
                     EXPECT_EQ(As<TZebraItem>(item).Width(), 6.0f);
                     EXPECT_FALSE(As<TZebraItem>(item).Background());
                   }});
  cases.push_back(
      {"Picture", 17,
       [](TStream& s) {
         WriteIdent(s, "EMF     ");
         s.Write(Picture().data(), Picture().size());
       },
       [](const TAbstractItem& item) {
         const TMetafile& picture = As<TPictureItem>(item).Picture();
         EXPECT_EQ(picture.Format(), TMetafileFormat::Enhanced);
         EXPECT_EQ(std::vector<uint8_t>(picture.Bytes().begin(), picture.Bytes().end()), Picture());
       },
       NoChunks, [](const TAbstractItem& item) { EXPECT_TRUE(As<TPictureItem>(item).Picture().Empty()); }});
  cases.push_back({"Manhole", 27,
                   [](TStream& s) {
                     WriteIdent(s, "KOLODOWN");
                     WriteString(s, Utf8ToCp1251("Водоканал"));
                     WriteIdent(s, "KOLTXALG");
                     WriteByte(s, 0);
                   },
                   [](const TAbstractItem& item) {
                     EXPECT_EQ(As<TKolodItem>(item).Owner(), Utf8ToCp1251("Водоканал"));
                     EXPECT_EQ(As<TKolodItem>(item).TextAlign(), 0);
                   },
                   [](TStream& s) {
                     WriteIdent(s, "KOLTXALG");
                     WriteByte(s, 6);
                   },
                   [](const TAbstractItem& item) {
                     EXPECT_EQ(As<TKolodItem>(item).Owner(), "");
                     EXPECT_EQ(As<TKolodItem>(item).TextAlign(), 6);
                     EXPECT_EQ(As<TKolodItem>(item).Size(), 0.99f);
                   }});
  cases.push_back(BaseOnly("Grate", 28, "RESHET  "));
  cases.push_back(BaseOnly("LabelPlace", 31, "RZLABLEP"));
  cases.push_back({"Stop", 32,
                   [](TStream& s) {
                     WriteIdent(s, "STOPLENG");
                     WriteSingle(s, 12.0f);
                     WriteIdent(s, "STOPWIDT");
                     WriteSingle(s, 3.0f);
                     WriteIdent(s, "STOPNAME");
                     WriteString(s, Utf8ToCp1251("Школа"));
                     WriteIdent(s, "STOPROOT");
                     WriteString(s, "5, 12A");
                     WriteIdent(s, "STOPTRSQ");
                     WriteInt32(s, 0x04030201);
                     WriteIdent(s, "STOP_PAV");
                     WriteFlag(s, false);
                   },
                   [](const TAbstractItem& item) {
                     const auto& stop = As<TStopItem>(item);
                     EXPECT_EQ(stop.Length(), 12.0f);
                     EXPECT_EQ(stop.Width(), 3.0f);
                     EXPECT_EQ(stop.StopName(), Utf8ToCp1251("Школа"));
                     EXPECT_EQ(stop.Routes(), "5, 12A");
                     EXPECT_EQ(stop.TransportSquare(), 0x04030201u);
                     EXPECT_FALSE(stop.Pavilion());
                   },
                   // The names only when not empty; the rest always.
                   [](TStream& s) {
                     WriteIdent(s, "STOPLENG");
                     WriteSingle(s, 4.0f);
                     WriteIdent(s, "STOPWIDT");
                     WriteSingle(s, 2.0f);
                     WriteIdent(s, "STOPTRSQ");
                     WriteInt32(s, 0);
                     WriteIdent(s, "STOP_PAV");
                     WriteFlag(s, true);
                   },
                   [](const TAbstractItem& item) {
                     const auto& stop = As<TStopItem>(item);
                     EXPECT_EQ(stop.Length(), 4.0f);
                     EXPECT_EQ(stop.Width(), 2.0f);
                     EXPECT_EQ(stop.StopName() + stop.Routes(), "");
                     EXPECT_EQ(stop.TransportSquare(), 0u);
                     EXPECT_TRUE(stop.Pavilion());
                   }});
  cases.push_back(BaseOnly("CalculationArea", 34, "CALCAREA"));
  cases.push_back(BaseOnly("LineDefect", 37, "LNDEFECT"));
  cases.push_back(BaseOnly("AreaDefect", 38, "SQDEFECT"));
  return cases;
}

INSTANTIATE_TEST_SUITE_P(RoadDetail, KindChunks, ::testing::ValuesIn(DetailCases()), KindCaseName);

}  // namespace
}  // namespace vellmar::test
