#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "kinds/AllKinds.h"
#include "platform/MemoryStream.h"
#include "support/TestSupport.h"
#include "underlay/SubLayerFile.h"
#include "underlay/SubLayerItem.h"
#include "underlay/SubLayerWriter.h"

namespace vellmar {
namespace {

using TBytes = std::vector<uint8_t>;

TBytes BytesOf(const TMemoryStream& stream) {
  return TBytes(stream.Bytes().begin(), stream.Bytes().end());
}

void WriteFile(const std::filesystem::path& path, const TBytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A white picture of 300 × 200 pixels as an underlay tile file.
void WriteWhitePhoto(const std::filesystem::path& path) {
  std::vector<uint8_t> white(300 * 200 * 3, 255);
  TMemoryStream underlay;
  TSubLayerWriter({white.data(), 300 * 3, 300, 200}).Write(underlay);
  WriteFile(path, BytesOf(underlay));
}

class SubLayerItemTest : public ::testing::Test {
 protected:
  // An underlay item over the first pointCount of the street's four corners, written
  // value by value; fileName nullptr leaves out "VSUBFILE".
  static void WriteItem(TStream& out, int32_t pointCount, const char* fileName) {
    WriteIdent(out, "ITEM    ");
    WriteIdent(out, "SUBLAYER");
    WriteInt32(out, 1);
    WriteIdent(out, "PNTLIST ");
    WriteIdent(out, "PNTLSTSP");
    WriteFlag(out, false);
    WriteInt32(out, pointCount);
    for (int32_t id = 1; id <= pointCount; ++id) WriteInt32(out, id);
    WriteIdent(out, "ITEMACTV");
    WriteFlag(out, true);
    if (fileName != nullptr) {
      WriteIdent(out, "VSUBFILE");
      WriteString(out, fileName);
    }
  }

  // A street file beside which the underlay may lie; returns what was written.
  TBytes WriteStreet(const TMemoryStream& item) {
    TMemoryStream out;
    WriteIdent(out, "STREET  ");
    WriteIdent(out, "PNTSTRCT");
    WriteInt32(out, 4);
    const double corners[4][2] = {{0, 0}, {0, 50}, {100, 50}, {100, 0}};
    for (int32_t id = 1; id <= 4; ++id) {
      WriteInt32(out, id);
      for (const double v : {corners[id - 1][0], corners[id - 1][1], 0.0}) WriteDouble(out, v);
    }
    WriteIdent(out, "ITEMLIST");
    WriteIdent(out, "SUBLAYER");
    WriteInt32(out, 1);
    out.Write(item.Bytes().data(), item.Bytes().size());
    WriteFile(dir / "plan.pln", BytesOf(out));
    return BytesOf(out);
  }

  TSubLayerItem* Load(const TMemoryStream& item) {
    WriteStreet(item);
    street.LoadFromFile(dir / "plan.pln");
    if (street.ItemList(0).Count() != 1) return nullptr;
    return dynamic_cast<TSubLayerItem*>(street.ItemList(0).Items(0));
  }

  static TBytes Save(const TAbstractItem& item) {
    TMemoryStream out;
    item.SaveToStream(out);
    return BytesOf(out);
  }

  // Kinds and libraries must be known before the street is made.
  struct TRegistration {
    TRegistration() { RegisterAllKinds(); }
  } registration_;
  test::TempDir dir;
  TStreetStructure street;
};

// A street moved to another machine names its underlay by the old Windows path; the
// file is found by its bare name beside the street, whatever its case, and the stored
// name is kept as it was.
TEST_F(SubLayerItemTest, UnderlayIsFoundBesideAMovedStreetAndItsNameKept) {
  WriteWhitePhoto(dir / "Photo.sub");

  TMemoryStream stored;
  WriteItem(stored, 4, "D:\\Old place\\PHOTO.SUB");
  TSubLayerItem* item = Load(stored);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->FileName(), "D:\\Old place\\PHOTO.SUB");
  ASSERT_NE(item->File(), nullptr);
  EXPECT_EQ(item->File()->Level(1).Columns, 2);
  EXPECT_EQ(Save(*item), BytesOf(stored));
}

// "vellmar-render plan.pln", run where the street lies, once looked for the underlay in
// the street's empty directory and drew only its outline.
TEST_F(SubLayerItemTest, UnderlayIsFoundWhetherTheStreetIsNamedBareRelativeOrAbsolute) {
  WriteWhitePhoto(dir / "photo.sub");
  TMemoryStream stored;
  WriteItem(stored, 4, "photo.sub");
  WriteStreet(stored);

  const std::filesystem::path before = std::filesystem::current_path();
  struct TCase {
    std::filesystem::path WorkingDirectory;
    std::filesystem::path Street;
  };
  const TCase cases[] = {{dir.Path(), "plan.pln"},
                         {dir.Path().parent_path(), dir.Path().filename() / "plan.pln"},
                         {"/", dir / "plan.pln"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Street.string());
    std::filesystem::current_path(c.WorkingDirectory);
    TStreetStructure named;
    named.LoadFromFile(c.Street);
    std::filesystem::current_path(before);
    EXPECT_TRUE(named.FileName().is_absolute());
    ASSERT_EQ(named.ItemList(0).Count(), 1);
    EXPECT_NE(dynamic_cast<TSubLayerItem&>(*named.ItemList(0).Items(0)).File(), nullptr);
  }
}

TEST_F(SubLayerItemTest, MissingOrDamagedFileLeavesOnlyTheNameAndTheOutline) {
  WriteFile(dir / "broken.sub", TBytes(40, 7));
  for (const char* name : {"nowhere.sub", "broken.sub"}) {
    SCOPED_TRACE(name);
    TMemoryStream stored;
    WriteItem(stored, 4, name);
    TSubLayerItem* item = Load(stored);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->File(), nullptr);
    EXPECT_EQ(item->FileName(), name);
    EXPECT_EQ(Save(*item), BytesOf(stored));
  }
}

// Three corners draw nothing, but the item is kept; the file name is always written,
// empty when none was stored.
TEST_F(SubLayerItemTest, ItemWithoutFileNameOrAllCornersStillRoundTrips) {
  TMemoryStream stored;
  WriteItem(stored, 3, nullptr);
  TSubLayerItem* item = Load(stored);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->FileName(), "");
  EXPECT_EQ(item->Points().Count(), 3);
  WriteIdent(stored, "VSUBFILE");
  WriteString(stored, "");
  EXPECT_EQ(Save(*item), BytesOf(stored));

  // Everything after the underlay's chunk is still read: the street saves back whole.
  TMemoryStream saved;
  street.SaveToStream(saved);
  saved.SetPosition(0);
  TStreetStructure again;
  again.LoadFromStream(saved);
  ASSERT_EQ(again.ItemList(0).Count(), 1);
  TMemoryStream resaved;
  again.SaveToStream(resaved);
  EXPECT_EQ(BytesOf(resaved), BytesOf(saved));
}

}  // namespace
}  // namespace vellmar
