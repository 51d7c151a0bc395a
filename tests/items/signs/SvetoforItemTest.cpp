#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "items/ItemKinds.h"
#include "items/signs/SvetoforItem.h"
#include "items/signs/SvetoforPictureLib.h"
#include "items/support/ItemStreams.h"
#include "platform/Error.h"

namespace vellmar {
namespace {

using test::AsItemList;
using test::LoadOne;
using test::NewPoints;
using test::WriteItemHead;

constexpr int32_t kSvetoforKind = 29;

struct TRegistered {
  TRegistered() { RegisterAllItemKinds(); }
};

class SvetoforItemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"1_1.bmp", "1_2.bmp"}) heads.Add(name, TBitmap(4, 4, TPixelFormat::pf24bit));
    for (const char* name : {"3_1.bmp", "3_2.bmp"}) supports.Add(name, TBitmap(4, 4, TPixelFormat::pf24bit));
  }

  // A new item of the kind that looks its names up in this test's libraries.
  TSvetoforItem& NewItem() {
    auto& item = dynamic_cast<TSvetoforItem&>(*street.ItemList(kSvetoforKind).NewItem());
    item.UseLibraries(supports, heads);
    return item;
  }

  TRegistered registered;
  TStreetStructure street;
  TSvetoforPictureLib heads;
  TSvetoforPictureLib supports;
};

void WriteHead(TStream& out, const std::string& name, const TXYZ& offset, float rotation) {
  WriteIdent(out, "SVETNAME");
  WriteString(out, name);
  WriteIdent(out, "SVETDPOS");
  WriteSingle(out, offset.x);
  WriteSingle(out, offset.y);
  WriteSingle(out, offset.z);
  WriteIdent(out, "SVETFROT");
  WriteSingle(out, rotation);
}

TEST_F(SvetoforItemTest, EveryChunkIsReadNamesAreLookedUpAndTheBytesComeBack) {
  TMemoryStream in;
  WriteItemHead(in, "SVETOFOR", 4, NewPoints(street, {{10, 20, 0}}));
  WriteIdent(in, "ANC_NAME");
  WriteString(in, "3.2");
  WriteIdent(in, "SUBCOUNT");
  WriteInt32(in, 3);
  WriteHead(in, "1.2", {1.5f, -0.5f, 0}, 1.25f);
  WriteHead(in, "9.9", {0, 1, 0}, 0);  // in no library
  WriteHead(in, "1.1", {-1, 0, 2}, -3.0f);
  in.SetPosition(0);

  TSvetoforItem& item = NewItem();
  item.LoadFromStream(in);
  EXPECT_EQ(in.Position(), in.Size());
  EXPECT_FALSE(item.Invalid());
  EXPECT_EQ(item.SupportName(), "3.2");
  EXPECT_EQ(item.SupportIndex(), 1);
  ASSERT_EQ(item.HeadCount(), 3);
  EXPECT_EQ(item.Head(0).LibIndex(), 1);
  EXPECT_EQ(item.Head(0).Offset().x, 1.5f);
  EXPECT_EQ(item.Head(0).Rotation(), 1.25f);
  EXPECT_EQ(item.Head(1).Name(), "9.9");
  EXPECT_EQ(item.Head(1).LibIndex(), -1);
  EXPECT_EQ(item.Head(2).LibIndex(), 0);
  EXPECT_EQ(item.Head(2).Offset().z, 2.0f);

  TMemoryStream out;
  item.SaveToStream(out);
  EXPECT_EQ(std::vector<uint8_t>(out.Bytes().begin(), out.Bytes().end()),
            std::vector<uint8_t>(in.Bytes().begin(), in.Bytes().end()));
}

TEST_F(SvetoforItemTest, AHeadWithoutChunksLoadsEmptyAndIsWrittenInFull) {
  const std::vector<int32_t> point = NewPoints(street, {{0, 0, 0}});
  TMemoryStream in;
  WriteItemHead(in, "SVETOFOR", 1, point);
  WriteIdent(in, "SUBCOUNT");
  WriteInt32(in, 1);
  WriteIdent(in, "NEXTITEM");  // whatever follows stays unread
  in.SetPosition(0);
  TSvetoforItem& item = NewItem();
  item.LoadFromStream(in);
  EXPECT_EQ(in.Position(), in.Size() - 8);
  ASSERT_EQ(item.HeadCount(), 1);
  EXPECT_EQ(item.SupportIndex(), -1);
  EXPECT_EQ(item.Head(0).LibIndex(), -1);

  TMemoryStream expected;
  WriteItemHead(expected, "SVETOFOR", 1, point);
  WriteIdent(expected, "ANC_NAME");
  WriteString(expected, "");
  WriteIdent(expected, "SUBCOUNT");
  WriteInt32(expected, 1);
  WriteHead(expected, "", {}, 0);
  TMemoryStream out;
  item.SaveToStream(out);
  EXPECT_EQ(std::vector<uint8_t>(out.Bytes().begin(), out.Bytes().end()),
            std::vector<uint8_t>(expected.Bytes().begin(), expected.Bytes().end()));
}

TEST_F(SvetoforItemTest, ALightWithoutHeadsIsDroppedAtLoad) {
  struct TCase {
    const char* Name;
    bool WithCount;
  };
  for (const TCase& c : {TCase{"count 0", true}, TCase{"no count", false}}) {
    SCOPED_TRACE(c.Name);
    TMemoryStream item;
    WriteItemHead(item, "SVETOFOR", 1, NewPoints(street, {{0, 0, 0}}));
    if (c.WithCount) {
      WriteIdent(item, "SUBCOUNT");
      WriteInt32(item, 0);
    }
    EXPECT_EQ(LoadOne(street, kSvetoforKind, AsItemList("SVETOFOR", item)), nullptr);
  }
}

TEST_F(SvetoforItemTest, ADamagedHeadCountRaisesInsteadOfMakingHeads) {
  TMemoryStream in;
  WriteItemHead(in, "SVETOFOR", 1, NewPoints(street, {{0, 0, 0}}));
  WriteIdent(in, "SUBCOUNT");
  WriteInt32(in, 1'000'000'000);
  in.SetPosition(0);
  EXPECT_THROW(NewItem().LoadFromStream(in), EVellmarError);
}

TEST_F(SvetoforItemTest, NamesMatchExactlyAndAnUnknownNameClearsThePicture) {
  TSvetoforItem& item = NewItem();
  item.SetSupport("3.1");
  EXPECT_EQ(item.SupportIndex(), 0);
  item.SetSupport("3_1");  // the file's spelling is not the picture's name
  EXPECT_EQ(item.SupportIndex(), -1);
  EXPECT_EQ(item.SupportName(), "3_1");

  TSvetoforSubItem& head = item.AddHead();
  EXPECT_EQ(head.LibIndex(), -1);
  head.SetName("1.1");
  EXPECT_EQ(head.LibIndex(), 0);
  head.SetName("1.1 ");
  EXPECT_EQ(head.LibIndex(), -1);
  item.AddHead();
  item.DeleteHead(0);
  EXPECT_EQ(item.HeadCount(), 1);
  EXPECT_THROW(item.DeleteHead(1), EVellmarError);
}

}  // namespace
}  // namespace vellmar
