#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "items/ItemKinds.h"
#include "items/signs/NamedMetafileLib.h"
#include "items/signs/SignLibraries.h"
#include "items/signs/Znak2Item.h"
#include "items/signs/ZnakItem.h"
#include "items/support/ItemStreams.h"
#include "platform/Error.h"
#include "platform/metafile/MetafileSamples.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

namespace fs = std::filesystem;
using test::AsItemList;
using test::LoadOne;
using test::NewPoints;
using test::SaveList;
using test::WriteItemHead;

constexpr int32_t kZnakKind = 22;
constexpr int32_t kZnak2Kind = 23;

using TBytes = std::vector<uint8_t>;

TBytes Picture(int32_t right) {
  return test::EnhancedSample({0, 0, right, 1000}, {0, 0, 40, 40});
}

TMetafile MetafileOf(const TBytes& bytes) {
  TMemoryStream in(bytes);
  TMetafile metafile;
  metafile.LoadFromStream(in);
  return metafile;
}

TBytes BytesOf(const TMemoryStream& stream) {
  return {stream.Bytes().begin(), stream.Bytes().end()};
}

struct TRegistered {
  TRegistered() { RegisterAllItemKinds(); }
};

// The library holds 1-01.emf and 5-19-1.emf; the old name old_5191.emf translates to the
// second; a plate missing from the library shows the picture Missing.
class ZnakItemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AddToLibrary("1-01.emf", Picture(100));
    AddToLibrary("5-19-1.emf", Picture(200));
    translation.Lines() = {"old_5191.emf=5-19-1.emf"};
  }

  void AddToLibrary(const std::string& name, const TBytes& bytes) {
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    library.AddFile(dir / name);
  }

  template <class TItem>
  TItem& NewItem(int32_t kind) {
    auto& item = dynamic_cast<TItem&>(*street.ItemList(kind).NewItem());
    item.UseLibraries(libraries);
    return item;
  }

  // Loads a sign from the bytes; the whole stream must be read.
  TZnakItem& LoadSign(const TMemoryStream& bytes) {
    TMemoryStream in(BytesOf(bytes));
    TZnakItem& sign = NewItem<TZnakItem>(kZnakKind);
    sign.LoadFromStream(in);
    EXPECT_EQ(in.Position(), in.Size());
    return sign;
  }

  TRegistered registered;
  TStreetStructure street;
  test::TempDir dir;
  TNamedMetafileLib library;
  TNameValueList translation;
  TMetafile missing = MetafileOf(Picture(999));
  TSignLibraries libraries{library, translation, missing};
};

// A sign's chunks up to its plates.
void WriteSignHead(TStream& out, const std::vector<int32_t>& points, int32_t plates, bool newLayout = true) {
  WriteItemHead(out, "ZNAK    ", 1, points);
  if (newLayout) WriteIdent(out, "ZNNEWPNT");
  WriteIdent(out, "ZNSUBCNT");
  WriteInt32(out, plates);
}

// The chunks every plate writes after its picture.
void WritePlateBody(TStream& out, const std::string& text = "", uint8_t side = 1) {
  WriteIdent(out, "ZNSUBSC ");
  WriteSingle(out, 1.5f);
  WriteIdent(out, "ZNSUBTXT");
  WriteString(out, text);
  WriteIdent(out, "ZNSUBORG");
  for (float v : {0.25f, -1.0f, 0.0f}) WriteSingle(out, v);
  WriteIdent(out, "ZNSUBALG");
  out.Write(&side, 1);
  WriteIdent(out, "ZNSUBORT");
  WriteSingle(out, 90.0f);
}

void WriteLibName(TStream& out, const std::string& name) {
  WriteIdent(out, "ZNSLIBNM");
  WriteString(out, name);
}

void WriteOwnPicture(TStream& out, const TBytes& bytes) {
  WriteIdent(out, "ZNSUBEM2");
  WriteInt32(out, static_cast<int32_t>(bytes.size()));
  out.Write(bytes.data(), bytes.size());
}

TEST(SignNumber, FileNamesGiveSignNumbers) {
  const struct {
    const char* Name;
    const char* Number;
  } cases[] = {
      {"G2004_5-19-1_big.emf", "5.19.1"},  {"1-01.emf", "1.1"}, {"_x.emf", " "}, {"1-10.emf", "1.10"},
      {"C:\\Signs\\3-24-1.wmf", "3.24.1"}, {"2-4", "2.4"},
  };
  for (const auto& c : cases) EXPECT_EQ(SignNumber(c.Name), c.Number) << c.Name;
}

TEST_F(ZnakItemTest, EveryChunkOfASignAndItsPlatesRoundTripsByteForByte) {
  TMemoryStream in;
  WriteItemHead(in, "ZNAK    ", 1, NewPoints(street, {{0, 0, 0}, {0, 2, 0}, {1, 2, 0}}));
  WriteIdent(in, "ZNANCKND");
  WriteString(in, "pole");
  WriteIdent(in, "ZNNEWPNT");
  WriteIdent(in, "ZNSUBCNT");
  WriteInt32(in, 3);
  // A library plate with every optional chunk.
  WriteLibName(in, "1-01.emf");
  WritePlateBody(in, "override", 7);
  WriteIdent(in, "ZNSUBFIL");
  WriteString(in, "D:\\old\\1-01.emf");
  WriteIdent(in, "ZNOBJKND");
  WriteString(in, "kind");
  WriteIdent(in, "ZNSTEXT ");
  WriteString(in, "stext");
  WriteIdent(in, "ZNMAINID");
  WriteInt32(in, 42);
  WriteIdent(in, "ZNANCHEI");
  WriteSingle(in, 2.5f);
  WriteIdent(in, "ZNCUSTSQ");
  WriteSingle(in, 0.75f);
  WriteIdent(in, "ZNSTATUS");
  WriteString(in, "new");
  // A plate with a picture of its own.
  WriteOwnPicture(in, Picture(300));
  WritePlateBody(in);
  // A plate the library lacks even after translation: its name is kept.
  WriteLibName(in, "gone.emf");
  WritePlateBody(in);

  TZnakItem& sign = LoadSign(in);
  EXPECT_EQ(sign.SupportType(), "pole");
  EXPECT_TRUE(sign.NewPointLayout());
  ASSERT_EQ(sign.PlateCount(), 3);
  const TEmfSubItem& first = sign.Plate(0);
  EXPECT_EQ(first.LibIndex(), 0);
  EXPECT_EQ(first.Picture(), &library.Metafile(0));
  EXPECT_EQ(first.Caption(), "override");
  EXPECT_EQ(first.CaptionSide(), TEmfSubItem::kAbove);
  EXPECT_EQ(first.Scale(), 1.5f);
  EXPECT_EQ(first.Origin().x, 0.25f);
  EXPECT_EQ(first.Orientation(), 90.0f);
  EXPECT_EQ(first.MainId(), 42);
  EXPECT_EQ(first.AnchorHeight(), 2.5f);
  EXPECT_EQ(first.CustomArea(), 0.75f);
  EXPECT_EQ(first.Status(), "new");
  EXPECT_EQ(first.Width(), library.Metafile(0).Width());
  EXPECT_EQ(sign.Plate(1).LibIndex(), TEmfSubItem::kOwnPicture);
  EXPECT_EQ(sign.Plate(1).Picture()->Bytes().size(), Picture(300).size());
  EXPECT_EQ(sign.Plate(2).LibIndex(), TEmfSubItem::kMissingPicture);
  EXPECT_EQ(sign.Plate(2).Picture(), &missing);
  EXPECT_EQ(sign.Plate(2).Caption(), "gone");

  TMemoryStream out;
  sign.SaveToStream(out);
  EXPECT_EQ(BytesOf(out), BytesOf(in));
}

// The two picture chunks, with a picture the library has and one it has not: a library
// picture is saved by name, any other by its bytes.
TEST_F(ZnakItemTest, StoredPicturesAreMatchedWithTheLibraryByContent) {
  struct TCase {
    const char* Name;
    TIdent Chunk;
    int32_t Right;  // picture size, 200 = the library's 5-19-1.emf
    int32_t LibIndex;
  };
  const TCase cases[] = {
      {"ZNSUBEMF in library", "ZNSUBEMF", 200, 1},
      {"ZNSUBEMF own", "ZNSUBEMF", 400, TEmfSubItem::kOwnPicture},
      {"ZNSUBEM2 in library", "ZNSUBEM2", 200, 1},
      {"ZNSUBEM2 own", "ZNSUBEM2", 400, TEmfSubItem::kOwnPicture},
  };
  const std::vector<int32_t> points = NewPoints(street, {{0, 0, 0}, {0, 2, 0}, {1, 2, 0}});
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TBytes picture = Picture(c.Right);
    TMemoryStream in;
    WriteSignHead(in, points, 1);
    WriteIdent(in, c.Chunk);
    if (c.Chunk == TIdent("ZNSUBEM2")) WriteInt32(in, static_cast<int32_t>(picture.size()));
    in.Write(picture.data(), picture.size());
    WritePlateBody(in);
    TZnakItem& sign = LoadSign(in);
    const TEmfSubItem& plate = sign.Plate(0);
    EXPECT_EQ(plate.LibIndex(), c.LibIndex);
    EXPECT_EQ(plate.Picture()->Bytes().size(), picture.size());

    TMemoryStream expected;
    WriteSignHead(expected, points, 1);
    if (c.LibIndex >= 0) {
      WriteLibName(expected, "5-19-1.emf");
      EXPECT_EQ(plate.Caption(), "5.19.1");
    } else {
      WriteOwnPicture(expected, picture);
    }
    WritePlateBody(expected);
    TMemoryStream out;
    sign.SaveToStream(out);
    EXPECT_EQ(BytesOf(out), BytesOf(expected));
  }
}

TEST_F(ZnakItemTest, AnOldLibraryNameIsTranslatedAndWrittenBackUnchanged) {
  TMemoryStream in;
  WriteSignHead(in, NewPoints(street, {{0, 0, 0}, {0, 2, 0}, {1, 2, 0}}), 1);
  WriteLibName(in, "old_5191.emf");
  WritePlateBody(in);
  TZnakItem& sign = LoadSign(in);
  EXPECT_EQ(sign.Plate(0).LibIndex(), 1);
  EXPECT_EQ(sign.Plate(0).Picture(), &library.Metafile(1));
  TMemoryStream out;
  sign.SaveToStream(out);
  EXPECT_EQ(BytesOf(out), BytesOf(in));
}

// A stored caption that merely repeats the names' caption is dropped; any other stays.
TEST_F(ZnakItemTest, AStoredCaptionIsKeptOnlyWhereItOverridesTheNames) {
  struct TCase {
    const char* Text;
    const char* FileName;
    const char* Kept;
  };
  const TCase cases[] = {
      {"1.1", "", ""},             // the library name's caption
      {"1.1 bis", "", "1.1 bis"},  // a real override
      {"7.7", "7-7.emf", "7.7"},   // the file name's caption, but the library name wins
  };
  const std::vector<int32_t> points = NewPoints(street, {{0, 0, 0}, {0, 2, 0}, {1, 2, 0}});
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TMemoryStream in;
    WriteSignHead(in, points, 1);
    WriteLibName(in, "1-01.emf");
    WritePlateBody(in, c.Text);
    if (*c.FileName != 0) {
      WriteIdent(in, "ZNSUBFIL");
      WriteString(in, c.FileName);
    }
    const TEmfSubItem& plate = LoadSign(in).Plate(0);
    EXPECT_EQ(plate.Text(), c.Kept);
    EXPECT_EQ(plate.Caption(), c.Text);
  }
}

TEST_F(ZnakItemTest, WithoutOptionalChunksASignHasNoPlatesAndAPlateItsDefaults) {
  const std::vector<int32_t> points = NewPoints(street, {{0, 0, 0}, {0, 2, 0}, {1, 2, 0}});
  TMemoryStream bare;
  WriteItemHead(bare, "ZNAK    ", 1, points);
  TZnakItem& empty = LoadSign(bare);
  EXPECT_EQ(empty.PlateCount(), 0);
  EXPECT_FALSE(empty.NewPointLayout());

  // One plate without any chunk, then the two ignored indices of another.
  TMemoryStream in;
  WriteSignHead(in, points, 2);
  WriteIdent(in, "ZNARCIDX");
  WriteInt32(in, 5);
  WriteIdent(in, "ZNNODIDX");
  WriteInt32(in, 6);
  TZnakItem& sign = LoadSign(in);
  ASSERT_EQ(sign.PlateCount(), 2);
  const TEmfSubItem& plate = sign.Plate(1);
  EXPECT_EQ(plate.Picture(), nullptr);
  EXPECT_EQ(plate.Scale(), 1.0f);
  EXPECT_EQ(plate.CaptionSide(), TEmfSubItem::kBelow);
  EXPECT_EQ(plate.Caption(), "");

  TMemoryStream expected;
  WriteSignHead(expected, points, 1);
  WriteOwnPicture(expected, {});
  WriteIdent(expected, "ZNSUBSC ");
  WriteSingle(expected, 1.0f);
  WriteIdent(expected, "ZNSUBTXT");
  WriteString(expected, "");
  WriteIdent(expected, "ZNSUBORG");
  for (int i = 0; i < 3; ++i) WriteSingle(expected, 0.0f);
  WriteIdent(expected, "ZNSUBALG");
  const uint8_t below = 1;
  expected.Write(&below, 1);
  WriteIdent(expected, "ZNSUBORT");
  WriteSingle(expected, 0.0f);
  sign.DeletePlate(0);
  TMemoryStream out;
  sign.SaveToStream(out);
  EXPECT_EQ(BytesOf(out), BytesOf(expected));
  // The empty own picture reads back as no picture.
  EXPECT_EQ(LoadSign(out).Plate(0).Picture(), nullptr);
}

TEST_F(ZnakItemTest, ADamagedPlateCountOrPictureLengthRaises) {
  const std::vector<int32_t> points = NewPoints(street, {{0, 0, 0}});
  TMemoryStream count;
  WriteSignHead(count, points, 1'000'000);
  TMemoryStream length;
  WriteSignHead(length, points, 1);
  WriteIdent(length, "ZNSUBEM2");
  WriteInt32(length, 5000);
  for (const TMemoryStream* stream : {&count, &length}) {
    TMemoryStream in(BytesOf(*stream));
    EXPECT_THROW(NewItem<TZnakItem>(kZnakKind).LoadFromStream(in), EVellmarError);
  }
}

TEST_F(ZnakItemTest, AfterLoadRepairsTheOldPointLayoutAndCompletesTwoPoints) {
  struct TCase {
    const char* Name;
    bool NewLayout;
    std::vector<TXYZ> Before;
    std::vector<TXYZ> After;
  };
  const TCase cases[] = {
      {"old layout", false, {{0, 0, 0}, {0, 10, 0}, {0, 14, 0}}, {{0, 0, 0}, {0, 7, 0}, {0, 10, 0}}},
      {"new layout", true, {{0, 0, 0}, {0, 10, 0}, {0, 14, 0}}, {{0, 0, 0}, {0, 10, 0}, {0, 14, 0}}},
      {"two points", true, {{0, 0, 0}, {2, 3, 0}}, {{0, 0, 0}, {2, 3, 0}, {3, 4, 0}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TMemoryStream in;
    WriteSignHead(in, NewPoints(street, c.Before), 0, c.NewLayout);
    TZnakItem& sign = LoadSign(in);
    sign.AfterLoad();
    ASSERT_EQ(sign.Points().Count(), static_cast<int32_t>(c.After.size()));
    for (int32_t i = 0; i < sign.Points().Count(); ++i) {
      const TXYZ p = sign.Points().GetVertex(i);
      EXPECT_NEAR(p.x, c.After[static_cast<size_t>(i)].x, 1e-5) << i;
      EXPECT_NEAR(p.y, c.After[static_cast<size_t>(i)].y, 1e-5) << i;
    }
    EXPECT_TRUE(sign.NewPointLayout());
  }
}

TEST_F(ZnakItemTest, TheSecondSignKindShowsSign124FromTheLibraryOrTheMissingPicture) {
  const std::vector<int32_t> points = NewPoints(street, {{0, 0, 0}, {1, 0, 0}});
  TMemoryStream in;
  WriteItemHead(in, "ROADSGN2", 3, points);
  for (const bool inLibrary : {false, true}) {
    SCOPED_TRACE(inLibrary);
    if (inLibrary) AddToLibrary("1-24.EMF", Picture(124));
    TMemoryStream stream(BytesOf(in));
    auto& sign = NewItem<TZnak2Item>(kZnak2Kind);
    sign.LoadFromStream(stream);
    EXPECT_FALSE(sign.Invalid());
    EXPECT_EQ(sign.LibIndex(), inLibrary ? 2 : TEmfSubItem::kMissingPicture);
    EXPECT_EQ(sign.Picture(), inLibrary ? &library.Metafile(2) : &missing);
    // Only the base item is stored.
    TMemoryStream out;
    sign.SaveToStream(out);
    EXPECT_EQ(BytesOf(out), BytesOf(in));
  }
}

TEST_F(ZnakItemTest, APointlessSecondSignKeepsItsCommentAndGroupThroughASave) {
  // It was once dropped on load, so its comment and group vanished at the next save.
  TMemoryStream in;
  WriteItemHead(in, "ROADSGN2", 4, {});
  WriteIdent(in, "GROUPNAM");
  WriteString(in, "signs");
  WriteIdent(in, "COMMENT ");
  WriteString(in, "to be placed");
  TAbstractItem* sign = LoadOne(street, kZnak2Kind, AsItemList("ROADSGN2", in));
  ASSERT_NE(sign, nullptr);
  EXPECT_EQ(sign->Comment(), "to be placed");
  EXPECT_EQ(sign->GroupName(), "signs");

  TStreetStructure reloaded;
  TAbstractItem* again = LoadOne(reloaded, kZnak2Kind, SaveList(street, kZnak2Kind));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Comment(), "to be placed");
  EXPECT_EQ(again->GroupName(), "signs");
}

TEST(OldLibTranslation, ReadsNameValueLinesAndAMissingFileGivesAnEmptyTableAndOneWarning) {
  test::TempDir dir;
  std::ofstream(dir / "OldLibTranslation.txt", std::ios::binary) << "a.emf=1-01.emf\r\nB.EMF=2-1.emf\n";
  std::vector<std::string> warnings;
  const TWarningSink collect = [&warnings](const std::string& message) { warnings.push_back(message); };
  const TNameValueList table = LoadOldLibTranslation(dir / "OldLibTranslation.txt", collect);
  EXPECT_EQ(table.Value("a.emf"), "1-01.emf");
  EXPECT_EQ(table.Value("b.emf"), "2-1.emf");  // names as file names: letter case ignored
  EXPECT_TRUE(warnings.empty());
  for (const std::optional<fs::path>& file : {std::optional<fs::path>(), std::optional(dir / "absent.txt")}) {
    EXPECT_TRUE(LoadOldLibTranslation(file, collect).Empty());
  }
  EXPECT_EQ(warnings.size(), 2u);
}

}  // namespace
}  // namespace vellmar
