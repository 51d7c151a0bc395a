#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "platform/text/Cp1251.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

constexpr int32_t kSetKind = 25;  // "RULER   ", given a kind set for these tests
constexpr int32_t kLawnKind = 4;
constexpr int32_t kCurbKind = 8;
constexpr int32_t kAxisKind = 35;

// An item that stores a kind set, as several kinds do, to see the width a stream declares.
class TKindSetItem : public TAbstractItem {
 public:
  using TAbstractItem::TAbstractItem;
  void LoadFromStream(TStream& stream) override {
    TAbstractItem::LoadFromStream(stream);
    if (TestIdent(stream, "TESTSET ")) Kinds = ReadKindSet(stream, Street().TagsSize());
  }
  void SaveToStream(TStream& stream) const override {
    TAbstractItem::SaveToStream(stream);
    WriteIdent(stream, "TESTSET ");
    WriteKindSet(stream, Kinds, Street().TagsSize());
  }
  TKindSet Kinds;
};

std::vector<uint8_t> Bytes(const TMemoryStream& stream) {
  return {stream.Bytes().begin(), stream.Bytes().end()};
}

bool Contains(const std::vector<uint8_t>& bytes, std::string_view text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

class StreetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterItemKinds();
    TItemKind kind = TKindRegistry::Kind(kSetKind);
    kind.Factory = [](TStreetStructure& street, const TItemKind& k) -> std::unique_ptr<TAbstractItem> {
      return std::make_unique<TKindSetItem>(street, k);
    };
    TKindRegistry::Register(kind);
  }
  void TearDown() override { RegisterItemKinds(); }

  // A street with something in every field that the file keeps.
  static void Fill(TStreetStructure& street) {
    street.SetStreetName(Utf8ToCp1251("ул. Ленина"));
    street.SetStartName("A");
    street.SetEndName("B");
    street.SetGeoRef({1.0, 2.0, 3.0, 4.0});
    LnParam param;
    param.Name[0] = 3;
    std::memcpy(&param.Name[1], "1.1", 3);
    param.Period = 3.5f;
    street.LineParams().push_back(param);
    street.SetArrowBig(true);
    street.SetPlasticFlags({true, false, true, false});
    street.SetZebraOption(2);
    street.GroupNames().Lines() = {"Trees=ON", "Old=OFF"};
    street.SetView({10, 20, 0}, 0.5f, 1.25f);
    street.SetWorkTime(42);
    street.DrawOptions().Lines() = {"UpdateAllEdges=1", "RazmerRound=0.1"};

    TAbstractItem* axis = street.ItemList(kAxisKind).NewItem();
    axis->Points().InsertNew(0, {0, 0, 0});
    axis->Points().InsertNew(1, {100, 0, 0});
    street.MainReferences().SetItem(0, axis);
    TAbstractItem* lawn = street.ItemList(kLawnKind).NewItem();
    lawn->Points().InsertNew(0, {0, 5, 0});
    lawn->Points().InsertNew(1, {10, 5, 0});
    lawn->Points().InsertNew(2, {10, 15, 0});
    lawn->SetGroupName("Trees");
    TAbstractItem* curb = street.ItemList(kCurbKind).NewItem();
    curb->Points().Insert(0, lawn->Points().VertexRecord(0));
    curb->Points().Insert(1, lawn->Points().VertexRecord(1));
    curb->SetGroupName("Old");
    curb->SetComment2("x");
    curb->References().SetItem(0, axis);
    auto* set = static_cast<TKindSetItem*>(street.ItemList(kSetKind).NewItem());
    set->Points().InsertNew(0, {1, 1, 0});
    set->Kinds = TKindSet{0, 33, 40};
    street.Points().NewPoint({7, 7, 0});  // used by nobody: not saved
  }

  static std::vector<uint8_t> Saved(TStreetStructure& street) {
    TMemoryStream stream;
    street.SaveToStream(stream);
    return Bytes(stream);
  }

  static void Load(TStreetStructure& street, const std::vector<uint8_t>& bytes) {
    TMemoryStream stream{std::span<const uint8_t>(bytes)};
    street.LoadFromStream(stream);
  }
};

TEST_F(StreetTest, WholeStreetReadsBackEqualAndSavesIdentically) {
  TStreetStructure original;
  Fill(original);
  const std::vector<uint8_t> first = Saved(original);
  EXPECT_FALSE(original.Modified());

  TStreetStructure copy;
  Load(copy, first);
  EXPECT_EQ(copy.StreetName(), original.StreetName());
  EXPECT_EQ(copy.EndName(), "B");
  EXPECT_EQ(copy.GeoRef(), (TGeoRef{1.0, 2.0, 3.0, 4.0}));
  ASSERT_EQ(copy.LineParams().size(), 1u);
  EXPECT_EQ(copy.LineParams()[0].Period, 3.5f);
  EXPECT_TRUE(copy.ArrowBig());
  EXPECT_EQ(copy.PlasticFlags(), (std::array<bool, 4>{true, false, true, false}));
  EXPECT_EQ(copy.ZebraOption(), 2);
  EXPECT_EQ(copy.ViewScale(), 0.5f);
  EXPECT_EQ(copy.ViewAngle(), 1.25f);
  EXPECT_EQ(copy.WorkTime(), 42);
  EXPECT_EQ(copy.Points().Count(), 6);
  EXPECT_TRUE(copy.DrawOption("UpdateAllEdges"));
  EXPECT_DOUBLE_EQ(copy.DimRound(), 0.1);
  ASSERT_NE(copy.MainAxis(), nullptr);
  EXPECT_EQ(copy.MainAxis(), copy.ItemList(kAxisKind).Items(0));
  TAbstractItem* curb = copy.ItemList(kCurbKind).Items(0);
  EXPECT_FALSE(curb->Active());
  EXPECT_EQ(curb->ReferenceAxis(), copy.MainAxis());
  EXPECT_EQ(curb->Points().VertexRecord(1), copy.ItemList(kLawnKind).Items(0)->Points().VertexRecord(1));
  EXPECT_EQ(static_cast<TKindSetItem*>(copy.ItemList(kSetKind).Items(0))->Kinds, (TKindSet{0, 33, 40}));
  EXPECT_FALSE(copy.Modified());
  EXPECT_TRUE(copy.Loaded());
  EXPECT_FALSE(copy.IsPristine());

  EXPECT_EQ(Saved(copy), first);
}

TEST_F(StreetTest, StreamWithoutTagsSizeReadsFourByteKindSetsAndSavesEight) {
  TMemoryStream old;
  WriteIdent(old, "STREET  ");
  WriteIdent(old, "PNTSTRCT");
  WriteInt32(old, 0);
  WriteIdent(old, "ITEMLIST");
  WriteIdent(old, "RULER   ");
  WriteInt32(old, 1);
  WriteIdent(old, "ITEM    ");
  WriteIdent(old, "RULER   ");
  WriteInt32(old, 1);
  WriteIdent(old, "TESTSET ");
  WriteKindSet(old, TKindSet{3, 31}, 4);
  TStreetStructure street;
  Load(street, Bytes(old));
  EXPECT_EQ(street.TagsSize(), 8);
  EXPECT_EQ(static_cast<TKindSetItem*>(street.ItemList(kSetKind).Items(0))->Kinds, (TKindSet{3, 31}));
  const std::vector<uint8_t> saved = Saved(street);
  TMemoryStream expectedTail;
  WriteIdent(expectedTail, "TESTSET ");
  WriteKindSet(expectedTail, TKindSet{3, 31}, 8);
  const std::vector<uint8_t> tail = Bytes(expectedTail);
  ASSERT_GE(saved.size(), tail.size());
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), saved.end() - static_cast<std::ptrdiff_t>(tail.size())));
  const std::vector<uint8_t> head = {'T', 'A', 'G', 'S', 'S', 'I', 'Z', 'E', 8,   0,
                                     0,   0,   'S', 'T', 'R', 'E', 'E', 'T', ' ', ' '};
  EXPECT_TRUE(std::equal(head.begin(), head.end(), saved.begin()));
}

TEST_F(StreetTest, OptionalChunksAreWrittenOnlyWhenTheyHoldSomething) {
  TStreetStructure street;
  std::vector<uint8_t> bytes = Saved(street);
  for (const char* absent :
       {"STRNAME ", "STRSTART", "STRFIN  ", "ECEFMAP0", "ZEBRAYOP", "DRAWOPTS", "ITEMLIST"}) {
    EXPECT_FALSE(Contains(bytes, absent)) << absent;
  }
  for (const char* present :
       {"STRCONN ", "LNPARAMS", "ZEBPLAST", "GRPNAMES", "VIEWDEF ", "WORKTIME", "PNTSTRCT"}) {
    EXPECT_TRUE(Contains(bytes, present)) << present;
  }
  street.SetGeoRef({0.0, 0.0, 0.0, 5.0});  // only the fourth value: still not written
  EXPECT_FALSE(Contains(Saved(street), "ECEFMAP0"));
  street.SetGeoRef({0.0, 0.0, 1e-300, 0.0});
  EXPECT_TRUE(Contains(Saved(street), "ECEFMAP0"));
}

TEST_F(StreetTest, StoredViewScaleZeroLoadsAsOneHundredth) {
  TMemoryStream stream;
  WriteIdent(stream, "TAGSSIZE");
  WriteInt32(stream, 8);
  WriteIdent(stream, "STREET  ");
  WriteIdent(stream, "VIEWDEF ");
  for (float value : {1.0f, 2.0f, 0.0f, 0.0f, 0.5f}) WriteSingle(stream, value);
  WriteIdent(stream, "PNTSTRCT");
  WriteInt32(stream, 0);
  TStreetStructure street;
  Load(street, Bytes(stream));
  EXPECT_EQ(street.ViewScale(), 0.01f);
  EXPECT_EQ(street.ViewCentre().y, 2.0f);
  EXPECT_EQ(street.ViewAngle(), 0.5f);
}

TEST_F(StreetTest, DrawingOptionsParseWithoutLocaleAndFallBack) {
  const auto loaded = [&](std::vector<std::string> options) {
    auto street = std::make_unique<TStreetStructure>();
    street->DrawOptions().Lines() = std::move(options);
    const std::vector<uint8_t> bytes = Saved(*street);
    auto copy = std::make_unique<TStreetStructure>();
    Load(*copy, bytes);
    return copy;
  };
  auto plain =
      loaded({"RazmerRound=abc", "RazmerScale=0", "ZnakScale=150", "RazmerColor=255", "KMSignScaled=yes"});
  EXPECT_DOUBLE_EQ(plain->DimRound(), 0.05);
  EXPECT_EQ(plain->DimScale(), 1.0f);
  EXPECT_EQ(plain->DimColour(), 255);
  EXPECT_EQ(plain->SignScale(), 1.5f);
  // Once computed the sign scale is kept.
  plain->DrawOptions().SetValue("ZnakScale", "300");
  EXPECT_EQ(plain->SignScale(), 1.5f);
  EXPECT_FALSE(plain->DrawOption("KMSignScaled"));
  EXPECT_EQ(plain->DrawOptionText("kmsignscaled"), "yes");
  EXPECT_EQ(plain->DrawOptionInt("Missing"), 0);

  auto set = loaded({"RazmerRound=0.25", "RazmerScale=2.5"});
  EXPECT_DOUBLE_EQ(set->DimRound(), 0.25);
  EXPECT_EQ(set->DimScale(), 2.5f);
  EXPECT_EQ(set->SignScale(), 1.0f);
  // While it is unset it is looked up again.
  set->DrawOptions().SetValue("ZnakScale", "200");
  EXPECT_EQ(set->SignScale(), 2.0f);
}

TEST_F(StreetTest, MissingStreetHeaderRaises) {
  TMemoryStream stream;
  WriteIdent(stream, "TAGSSIZE");
  WriteInt32(stream, 8);
  WriteIdent(stream, "PNTSTRCT");
  TStreetStructure street;
  try {
    Load(street, Bytes(stream));
    FAIL();
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "StreetStructure.LoadFromStream: StreamIdent<>siStreet");
  }
}

TEST_F(StreetTest, UnknownKindEndsItemLoadingAndKeepsWhatWasRead) {
  TStreetStructure original;
  Fill(original);
  std::vector<uint8_t> bytes = Saved(original);
  // Rename the kind of the curb list, the second list in the file.
  const std::string curbList = "ITEMLISTBORT    ";
  auto at = std::search(bytes.begin(), bytes.end(), curbList.begin(), curbList.end());
  ASSERT_NE(at, bytes.end());
  std::memcpy(&*(at + 8), "UNKNOWN ", 8);
  TStreetStructure street;
  Load(street, bytes);
  EXPECT_EQ(street.ItemList(kLawnKind).Count(), 1);
  EXPECT_EQ(street.ItemList(kCurbKind).Count(), 0);
  EXPECT_EQ(street.ItemList(kAxisKind).Count(), 0);
  EXPECT_EQ(street.MainAxis(), nullptr);
  EXPECT_EQ(street.Points().Count(), 6);
}

TEST_F(StreetTest, ClearEmptiesTheDocumentButKeepsItsNamesAndOptions) {
  TStreetStructure street;
  Fill(street);
  street.Clear();
  EXPECT_EQ(street.Points().Count(), 0);
  for (int32_t kind = 0; kind < kKindCount; ++kind) EXPECT_EQ(street.ItemList(kind).Count(), 0);
  EXPECT_EQ(street.MainAxis(), nullptr);
  EXPECT_EQ(street.ReferenceListCount(), 1);
  EXPECT_TRUE(street.GroupNames().Empty());
  EXPECT_EQ(street.ViewScale(), 0.01f);
  EXPECT_EQ(street.ViewCentre().x, 0.0f);
  EXPECT_FALSE(street.Modified());
  EXPECT_EQ(street.EndName(), "B");
  EXPECT_EQ(street.WorkTime(), 42);
  EXPECT_FALSE(street.DrawOptions().Empty());
  EXPECT_EQ(&street.ItemList(kLawnKind + 128), &street.ItemList(kLawnKind));
}

TEST_F(StreetTest, NewStreetIsPristineUntilEdited) {
  TStreetStructure street;
  EXPECT_TRUE(street.IsPristine());
  EXPECT_EQ(street.ViewScale(), 0.0f);
  street.ItemList(kCurbKind).NewItem();
  EXPECT_FALSE(street.IsPristine());
  EXPECT_TRUE(street.Modified());
}

// Every cut of a valid file must end in a clear error or a street with what was there;
// a cut inside a required part must raise.
TEST_F(StreetTest, TruncatedFileRaisesOrLoadsButNeverCrashes) {
  TStreetStructure original;
  Fill(original);
  const std::vector<uint8_t> bytes = Saved(original);
  const std::string points = "PNTSTRCT";
  const size_t pointsAt =
      size_t(std::search(bytes.begin(), bytes.end(), points.begin(), points.end()) - bytes.begin());
  const size_t pointsEnd = pointsAt + 8 + 4 + 6 * 28;
  const std::string firstList = "ITEMLIST";
  const size_t listsAt =
      size_t(std::search(bytes.begin(), bytes.end(), firstList.begin(), firstList.end()) - bytes.begin());
  for (size_t length = 0; length < bytes.size(); ++length) {
    const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    TStreetStructure street;
    bool loaded = false;
    try {
      Load(street, cut);
      loaded = true;
    } catch (const EVellmarError& e) {
      EXPECT_NE(std::string(e.what()).find(": "), std::string::npos) << e.what();
    }
    if (length < pointsEnd) {
      EXPECT_FALSE(loaded) << "cut at " << length;
    }
    if (length == pointsEnd || length == listsAt) {
      EXPECT_TRUE(loaded) << "cut at " << length;
    }
  }
}

TEST_F(StreetTest, SaveToFileReplacesTheFileWholeOrNotAtAll) {
  test::TempDir dir;
  const auto path = dir / "street.pln";
  {
    std::ofstream old(path, std::ios::binary);
    old << "old content";
  }
  TStreetStructure street;
  Fill(street);
  ASSERT_TRUE(street.Modified());
  EXPECT_THROW(street.SaveToFile(dir / "missing" / "street.pln"), EVellmarError);
  EXPECT_TRUE(street.Modified());
  EXPECT_TRUE(street.FileName().empty());

  street.SaveToFile(path);
  EXPECT_FALSE(street.Modified());
  EXPECT_EQ(street.FileName(), path);
  EXPECT_EQ(std::filesystem::directory_iterator(dir.Path())->path(), path);  // no temporary left behind

  TStreetStructure copy;
  copy.LoadFromFile(path);
  EXPECT_EQ(copy.FileName(), path);
  EXPECT_EQ(Saved(copy), Saved(street));
  EXPECT_THROW(copy.LoadFromFile(dir / "absent.pln"), EVellmarError);
}

TEST_F(StreetTest, EmptyLineMarkingTableIsFilledFromTheDefaultLibrary) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "DataFiles" / "Разметка");
  std::ofstream(dir / "DataFiles" / "Разметка" / "Default.LnRazmet", std::ios::binary)
      << "[1.1]\r\nPeriod=3\r\n";
  const test::ScopedDataVariable data((dir / "DataFiles").c_str());
  TStreetStructure empty;
  const size_t fromDefault = empty.GetLineParams().size();
  TStreetStructure own;
  Fill(own);
  const float ownPeriod = own.GetLineParams().at(0).Period;
  EXPECT_EQ(fromDefault, 1u);
  EXPECT_EQ(empty.LineParams()[0].Period, 3.0f);
  EXPECT_EQ(ownPeriod, 3.5f);  // a street's own table is kept
  EXPECT_EQ(own.LineParams().size(), 1u);
}

}  // namespace
}  // namespace vellmar
