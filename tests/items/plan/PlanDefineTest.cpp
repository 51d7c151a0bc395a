#include <gtest/gtest.h>

#include <string>

#include "../KindStreamTest.h"
#include "document/TaggedStream.h"
#include "items/plan/PlanDefineItem.h"
#include "items/road/KolodItem.h"
#include "platform/Error.h"
#include "platform/metafile/MetafileSamples.h"
#include "platform/text/Cp1251.h"

namespace vellmar::test {
namespace {

constexpr int32_t kPlan = 36;
using TCorner = TPlanDefineItem::TCorner;

class PlanDefineTest : public KindStreamTest {
 protected:
  // A stamp street as an old program may have written it: no "TAGSSIZE", a name, one
  // point and one manhole whose owner names the stamp.
  static void WriteStamp(TStream& out, const std::string& name) {
    WriteIdent(out, "STREET  ");
    WriteIdent(out, "STRNAME ");
    WriteString(out, name);
    WriteIdent(out, "PNTSTRCT");
    WriteInt32(out, 1);
    WriteInt32(out, 1);
    for (const double v : {5.0, 6.0, 0.0}) WriteDouble(out, v);
    WriteIdent(out, "ITEMLIST");
    WriteIdent(out, "KOLOD   ");
    WriteInt32(out, 1);
    WriteItemHead(out, 27, 1);
    WriteIdent(out, "KOLODOWN");
    WriteString(out, name);
    WriteIdent(out, "KOLTXALG");
    WriteByte(out, 6);
  }

  // The settings chunks a sheet always writes, with the given values.
  static void WriteSettings(TStream& out, double scale, int32_t dpi, const std::string& kinds,
                            std::initializer_list<int32_t> sizes, bool landscape) {
    WriteIdent(out, "PLDFSCAL");
    WriteDouble(out, scale);
    WriteIdent(out, "PLDFDPI ");
    WriteInt32(out, dpi);
    WriteIdent(out, "PLDFDS_2");
    WriteString(out, kinds);
    const TIdent idents[] = {"PLDFFMTH", "PLDFFMTW", "PLDFILFT", "PLDFIRGH", "PLDFITOP", "PLDFIBOT"};
    const int32_t* size = sizes.begin();
    for (const TIdent& ident : idents) {
      WriteIdent(out, ident);
      WriteInt32(out, *size++);
    }
    WriteIdent(out, "PLDFLAND");
    WriteFlag(out, landscape);
  }

  static std::string OwnerOfStamp(TStreetStructure* stamp) {
    if (stamp == nullptr || stamp->ItemList(27).Count() != 1) return "<none>";
    return As<TKolodItem>(*stamp->ItemList(27).Items(0)).Owner();
  }
};

TEST_F(PlanDefineTest, EverySettingLoadsAndSavesBackInItsPlace) {
  const std::string kinds = Utf8ToCp1251("Газон;Колодец;");
  const auto placeable = PlaceableSample({0, 0, 1440, 720}, 1440);
  const auto enhanced = EnhancedSample({0, 0, 5000, 2500}, {0, 0, 199, 99});
  const auto writeSheet = [&](TStream& out, bool withBinarySet) {
    WriteItemHead(out, kPlan, 2);
    WriteIdent(out, "PLDFSTMP");
    out.Write(enhanced.data(), enhanced.size());
    WriteIdent(out, "PLDFCOMM");
    out.Write(placeable.data(), placeable.size());
    WriteIdent(out, "PLDFSCAL");
    WriteDouble(out, 0.001);
    WriteIdent(out, "PLDFDPI ");
    WriteInt32(out, 600);
    if (withBinarySet) {
      // Read, then replaced by the text form that follows: only kind 1 here.
      WriteIdent(out, "PLDFDSET");
      WriteKindSet(out, TKindSet{1}, 8);
    }
    WriteIdent(out, "PLDFDS_2");
    WriteString(out, kinds);
    const TIdent idents[] = {"PLDFFMTH", "PLDFFMTW", "PLDFILFT", "PLDFIRGH", "PLDFITOP", "PLDFIBOT"};
    int32_t value = 420;
    for (const TIdent& ident : idents) {
      WriteIdent(out, ident);
      WriteInt32(out, value);
      value = value == 420 ? 297 : value - 1;
    }
    WriteIdent(out, "PLDFLAND");
    WriteFlag(out, true);
    WriteIdent(out, "PLDFSTOP");
  };
  TMemoryStream stored;
  writeSheet(stored, true);
  TAbstractItem* item = LoadItem(kPlan, stored);
  ASSERT_NE(item, nullptr);
  const auto& sheet = As<TPlanDefineItem>(*item);
  EXPECT_EQ(sheet.SheetScale(), 0.001);
  EXPECT_EQ(sheet.Dpi(), 600);
  EXPECT_EQ(sheet.SheetKinds(), (TKindSet{4, 27}));
  EXPECT_EQ(sheet.FormatHeight(), 420);
  EXPECT_EQ(sheet.FormatWidth(), 297);
  EXPECT_EQ(sheet.IndentLeft(), 296);
  EXPECT_EQ(sheet.IndentRight(), 295);
  EXPECT_EQ(sheet.IndentTop(), 294);
  EXPECT_EQ(sheet.IndentBottom(), 293);
  EXPECT_TRUE(sheet.Landscape());
  EXPECT_EQ(sheet.OldStamp().Format(), TMetafileFormat::Enhanced);
  EXPECT_EQ(sheet.OldComment().Format(), TMetafileFormat::Placeable);
  for (const TCorner corner :
       {TCorner::TopLeft, TCorner::TopRight, TCorner::BottomLeft, TCorner::BottomRight})
    EXPECT_EQ(sheet.Stamp(corner), nullptr);
  // The binary set is never written: the text form stands for it.
  TMemoryStream expected;
  writeSheet(expected, false);
  EXPECT_EQ(Save(sheet), BytesOf(expected));
}

TEST_F(PlanDefineTest, MissingSettingsKeepTheDefaultsAndAreAllWritten) {
  TMemoryStream stored;
  WriteItemHead(stored, kPlan, 1);  // one point still makes a sheet
  TAbstractItem* item = LoadItem(kPlan, stored);
  ASSERT_NE(item, nullptr);
  const auto& sheet = As<TPlanDefineItem>(*item);
  EXPECT_EQ(sheet.SheetScale(), 0.002);
  EXPECT_EQ(sheet.Dpi(), 300);
  EXPECT_TRUE(sheet.SheetKinds().IsEmpty());
  EXPECT_EQ(sheet.FormatWidth(), 210);
  EXPECT_EQ(sheet.FormatHeight(), 297);
  EXPECT_EQ(sheet.IndentLeft() * 1000 + sheet.IndentRight() * 100 + sheet.IndentTop(), 21010);
  EXPECT_EQ(sheet.IndentBottom(), 20);
  EXPECT_FALSE(sheet.Landscape());
  EXPECT_TRUE(sheet.OldStamp().Empty() && sheet.OldComment().Empty());
  WriteSettings(stored, 0.002, 300, "", {297, 210, 20, 10, 10, 20}, false);
  WriteIdent(stored, "PLDFSTOP");
  EXPECT_EQ(Save(sheet), BytesOf(stored));

  street.ItemList(kPlan).Clear();
  TMemoryStream fresh;
  WriteItemHead(fresh, kPlan, 0);
  WriteSettings(fresh, 0.002, 300, "", {297, 210, 20, 10, 10, 20}, false);
  WriteIdent(fresh, "PLDFSTOP");
  EXPECT_EQ(Save(*street.ItemList(kPlan).NewItem()), BytesOf(fresh));

  // Without any point there is no sheet; the next one is read from its own start.
  TMemoryStream items;
  WriteItemHead(items, kPlan, 0);
  WriteSettings(items, 0.004, 150, "", {1, 2, 3, 4, 5, 6}, true);
  WriteIdent(items, "PLDFSTOP");
  WriteItemHead(items, kPlan, 2);
  TItemList& list = LoadList(kPlan, 2, items);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(As<TPlanDefineItem>(*list.Items(0)).Dpi(), 300);
}

// Stamps are whole streets in the sheet's stream; the old single stamp becomes the
// top-right one and is written back under the top-right ident.
TEST_F(PlanDefineTest, StampsLoadIntoTheirCornersAndRoundTripAsWholeStreets) {
  TMemoryStream stored;
  WriteItemHead(stored, kPlan, 2);
  WriteSettings(stored, 0.002, 300, "", {297, 210, 20, 10, 10, 20}, false);
  WriteIdent(stored, "PLDFSTP2");
  WriteStamp(stored, "old top right");
  WriteIdent(stored, "PLDFSTTL");
  WriteStamp(stored, "top left");
  WriteIdent(stored, "PLDFSTBR");
  WriteStamp(stored, "bottom right");
  WriteIdent(stored, "PLDFSTOP");
  TAbstractItem* item = LoadItem(kPlan, stored);
  ASSERT_NE(item, nullptr);
  const auto& sheet = As<TPlanDefineItem>(*item);
  EXPECT_EQ(OwnerOfStamp(sheet.Stamp(TCorner::TopLeft)), "top left");
  EXPECT_EQ(OwnerOfStamp(sheet.Stamp(TCorner::TopRight)), "old top right");
  EXPECT_EQ(OwnerOfStamp(sheet.Stamp(TCorner::BottomLeft)), "<none>");
  EXPECT_EQ(OwnerOfStamp(sheet.Stamp(TCorner::BottomRight)), "bottom right");
  EXPECT_EQ(sheet.Stamp(TCorner::TopLeft)->StreetName(), "top left");

  const TBytes saved = Save(sheet);
  const std::string text(saved.begin(), saved.end());
  const size_t topLeft = text.find("PLDFSTTL"), topRight = text.find("PLDFSTTR");
  const size_t bottomRight = text.find("PLDFSTBR");
  EXPECT_EQ(text.find("PLDFSTP2"), std::string::npos);
  EXPECT_LT(topLeft, topRight);
  EXPECT_LT(topRight, bottomRight);
  EXPECT_NE(bottomRight, std::string::npos);
  EXPECT_EQ(text.rfind("PLDFSTOP"), text.size() - 8);

  TMemoryStream again(saved);
  const TAbstractItem* reloaded = LoadItem(kPlan, again);
  ASSERT_NE(reloaded, nullptr);
  EXPECT_EQ(OwnerOfStamp(As<TPlanDefineItem>(*reloaded).Stamp(TCorner::TopRight)), "old top right");
  EXPECT_EQ(Save(*reloaded), saved);
}

TEST_F(PlanDefineTest, DamagedStampEndsTheLoadWithTheStreetsError) {
  TMemoryStream stored;
  WriteItemHead(stored, kPlan, 2);
  WriteIdent(stored, "PLDFSTTL");
  WriteIdent(stored, "NOSTREET");
  try {
    LoadItem(kPlan, stored);
    FAIL() << "a stamp that is no street loaded";
  } catch (const EVellmarError& error) {
    EXPECT_STREQ(error.what(), "StreetStructure.LoadFromStream: StreamIdent<>siStreet");
  }
}

// Each stamp may hold a sheet with stamps again; a stream that keeps doing so is not
// followed down until the stack runs out.
TEST_F(PlanDefineTest, StampsNestedTooDeeplyAreRejected) {
  const auto nested = [](int depth) {
    TMemoryStream out;
    for (int level = 0; level < depth; ++level) {
      WriteIdent(out, "STREET  ");
      WriteIdent(out, "PNTSTRCT");
      WriteInt32(out, 0);
      WriteIdent(out, "ITEMLIST");
      WriteIdent(out, "PLANDEF ");
      WriteInt32(out, 1);
      WriteItemHead(out, kPlan, 0);
      WriteIdent(out, "PLDFSTTL");
    }
    WriteIdent(out, "STREET  ");
    WriteIdent(out, "PNTSTRCT");
    WriteInt32(out, 0);
    return BytesOf(out);
  };
  TMemoryStream deepEnough(nested(TPlanDefineItem::kMaxStampDepth));
  EXPECT_NO_THROW(TStreetStructure().LoadFromStream(deepEnough));
  TMemoryStream tooDeep(nested(TPlanDefineItem::kMaxStampDepth + 1));
  EXPECT_THROW(TStreetStructure().LoadFromStream(tooDeep), EVellmarError);
}

}  // namespace
}  // namespace vellmar::test
