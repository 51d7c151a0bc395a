#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>

#include "document/design/DefaultBlock.h"
#include "document/design/DsnBlockDefList.h"
#include "document/design/DsnFigDefList.h"
#include "items/ItemKinds.h"
#include "items/design/DesignBlockItem.h"
#include "items/design/DesignFigureItem.h"
#include "items/design/DesignLineItem.h"
#include "items/design/KernItem.h"
#include "items/support/ItemStreams.h"
#include "platform/WarningSink.h"
#include "platform/text/Cp1251.h"

namespace vellmar {
namespace {

using test::AsItemList;
using test::LoadOne;
using test::NewPoints;
using test::SaveList;
using test::WriteItemHead;

constexpr int32_t kFigureKind = 7;
constexpr int32_t kLineKind = 19;
constexpr int32_t kBlockKind = 20;
constexpr int32_t kKernKind = 33;
constexpr int32_t kAxisKind = 35;

// The kinds must be registered before the street is made, so that it owns its libraries.
struct TRegistered {
  TRegistered() { RegisterAllItemKinds(); }
};

class DesignItemsTest : public ::testing::Test {
 protected:
  TRegistered registered;
  TStreetStructure street;
};

void WriteEmptyReference(TStream& out) {
  WriteIdent(out, "CONNECTD");
  WriteInt32(out, 1);
  WriteObjectRef(out, TObjectRef{});
}

void WriteBlockChunks(TStream& out, bool withColor) {
  WriteIdent(out, "DSNBNAME");
  WriteString(out, "Tree");
  if (withColor) {
    WriteIdent(out, "DSNBCOLR");
    WriteInt32(out, 0x11223344);
  }
  WriteIdent(out, "DSNBAXIS");
  WriteEmptyReference(out);
}

struct TFullStreamCase {
  const char* Name;
  int32_t Kind;
  TIdent Ident;
  int32_t PointCount;
  // Writes the kind's chunks after the item head (and the polygon's neighbours).
  std::function<void(TStream&)> WriteChunks;
  std::function<void(TAbstractItem&)> Check;
};

TEST_F(DesignItemsTest, EveryChunkIsReadAndWrittenBackByteForByte) {
  const TFullStreamCase cases[] = {
      {"block", kBlockKind, "DSNBLOCK", 2, [](TStream& out) { WriteBlockChunks(out, true); },
       [](TAbstractItem& item) {
         auto& block = dynamic_cast<TDesignBlockItem&>(item);
         EXPECT_EQ(block.BlockName(), "Tree");
         EXPECT_EQ(block.Color(), 0x11223344u);
       }},
      {"kern", kKernKind, "KERN    ", 1,
       [](TStream& out) {
         WriteBlockChunks(out, false);
         WriteIdent(out, "TXTLABEL");
         WriteString(out, "K-12");
         const TIdent idents[][2] = {
             {"MATNAME1", "MAT_H1  "}, {"MATNAME2", "MAT_H2  "}, {"MATNAME3", "MAT_H3  "}};
         for (int32_t i = 0; i < 3; ++i) {
           WriteIdent(out, idents[i][0]);
           WriteString(out, "layer" + std::to_string(i));
           WriteIdent(out, idents[i][1]);
           WriteSingle(out, 0.05f * static_cast<float>(i + 1));
         }
       },
       [](TAbstractItem& item) {
         auto& kernItem = dynamic_cast<TKernItem&>(item);
         EXPECT_EQ(kernItem.BlockName(), "Tree");
         EXPECT_EQ(kernItem.Color(), 0u);
         EXPECT_EQ(kernItem.Label(), "K-12");
         EXPECT_EQ(kernItem.Materials()[2].Name, "layer2");
       }},
      {"line", kLineKind, "DSGNLINE", 2,
       [](TStream& out) {
         WriteIdent(out, "DSLCOLOR");
         WriteInt32(out, -16776961);
         WriteIdent(out, "DSLWIDTH");
         WriteSingle(out, 0.5f);
         WriteIdent(out, "DSLPERID");
         WriteSingle(out, 2.0f);
         WriteIdent(out, "DSL_DISP");
         WriteSingle(out, -0.25f);
         WriteIdent(out, "DSLSTYLE");
         WriteInt32(out, 2);
         WriteIdent(out, "DSLEXDEF");
         WriteString(out, "Hedge");
       },
       [](TAbstractItem& item) {
         auto& line = dynamic_cast<TDesignLineItem&>(item);
         EXPECT_EQ(line.Color(), 0xFF0000FFu);
         EXPECT_EQ(line.Width(), 0.5f);
         EXPECT_EQ(line.Period(), 2.0f);
         EXPECT_EQ(line.Disp(), -0.25f);
         EXPECT_EQ(line.Style(), TDesignLineItem::kDashDot);
         EXPECT_EQ(line.LineDefName(), "Hedge");
       }},
      {"figure", kFigureKind, "DSGNFIGR", 3,
       [](TStream& out) {
         WriteIdent(out, "POLYCONN");
         WriteEmptyReference(out);
         WriteIdent(out, "DSFFILLC");
         WriteInt32(out, 0x00C0FFEE);
         WriteIdent(out, "DSFSTYLE");
         WriteString(out, "Tiles");
       },
       [](TAbstractItem& item) {
         auto& figure = dynamic_cast<TDesignFigureItem&>(item);
         EXPECT_EQ(figure.FillColor(), 0x00C0FFEEu);
         EXPECT_EQ(figure.PatternName(), "Tiles");
       }},
  };
  const std::vector<TXYZ> corners = {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}};
  for (const TFullStreamCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TMemoryStream item;
    WriteItemHead(item, c.Ident, 5, NewPoints(street, {corners.begin(), corners.begin() + c.PointCount}));
    c.WriteChunks(item);
    const std::vector<uint8_t> list = AsItemList(c.Ident, item);
    TAbstractItem* loaded = LoadOne(street, c.Kind, list);
    ASSERT_NE(loaded, nullptr);
    c.Check(*loaded);
    EXPECT_EQ(SaveList(street, c.Kind), list);
  }
}

// Streams with only the item head: the defaults load, and writing adds exactly the
// chunks that are always written.
TEST_F(DesignItemsTest, WithoutOptionalChunksTheDefaultsLoadAndOnlyTheAlwaysWrittenChunksReturn) {
  const std::string kern = Utf8ToCp1251("Керн");
  const TFullStreamCase cases[] = {
      {"block", kBlockKind, "DSNBLOCK", 1,
       [](TStream& out) {
         WriteIdent(out, "DSNBNAME");
         WriteString(out, "");
         WriteIdent(out, "DSNBAXIS");
         WriteEmptyReference(out);
       },
       [](TAbstractItem& item) { EXPECT_EQ(dynamic_cast<TDesignBlockItem&>(item).Color(), 0u); }},
      {"kern", kKernKind, "KERN    ", 1,
       [&kern](TStream& out) {
         WriteIdent(out, "DSNBNAME");
         WriteString(out, kern);  // the name a kern is made with
         WriteIdent(out, "DSNBAXIS");
         WriteEmptyReference(out);
         WriteIdent(out, "TXTLABEL");
         WriteString(out, "");
         const TIdent idents[][2] = {
             {"MATNAME1", "MAT_H1  "}, {"MATNAME2", "MAT_H2  "}, {"MATNAME3", "MAT_H3  "}};
         for (const auto& pair : idents) {
           WriteIdent(out, pair[0]);
           WriteString(out, "");
           WriteIdent(out, pair[1]);
           WriteInt32(out, 0);
         }
       },
       [&kern](TAbstractItem& item) { EXPECT_EQ(dynamic_cast<TKernItem&>(item).BlockName(), kern); }},
      {"line", kLineKind, "DSGNLINE", 2,
       [](TStream& out) {
         for (const TIdent ident : {TIdent("DSLCOLOR"), TIdent("DSLWIDTH"), TIdent("DSLPERID"),
                                    TIdent("DSL_DISP"), TIdent("DSLSTYLE")}) {
           WriteIdent(out, ident);
           WriteInt32(out, 0);  // 0.0f has the same bytes
         }
         WriteIdent(out, "DSLEXDEF");
         WriteString(out, "");
       },
       [](TAbstractItem& item) {
         auto& line = dynamic_cast<TDesignLineItem&>(item);
         EXPECT_EQ(line.Width(), 0.0f);
         EXPECT_EQ(line.Style(), TDesignLineItem::kSolid);
         EXPECT_EQ(line.LineDef(), nullptr);
       }},
      {"figure", kFigureKind, "DSGNFIGR", 3,
       [](TStream& out) {
         WriteIdent(out, "POLYCONN");
         WriteEmptyReference(out);
         WriteIdent(out, "DSFFILLC");
         WriteInt32(out, 0);
       },
       [](TAbstractItem& item) {
         auto& figure = dynamic_cast<TDesignFigureItem&>(item);
         EXPECT_EQ(figure.PatternName(), "");
         EXPECT_EQ(figure.PatternIndex(), -1);
       }},
  };
  const std::vector<TXYZ> corners = {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}};
  for (const TFullStreamCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::vector<int32_t> points = NewPoints(street, {corners.begin(), corners.begin() + c.PointCount});
    TMemoryStream bare;
    WriteItemHead(bare, c.Ident, 3, points);
    TAbstractItem* loaded = LoadOne(street, c.Kind, AsItemList(c.Ident, bare));
    ASSERT_NE(loaded, nullptr);
    c.Check(*loaded);
    TMemoryStream expected;
    WriteItemHead(expected, c.Ident, 3, points);
    c.WriteChunks(expected);
    EXPECT_EQ(SaveList(street, c.Kind), AsItemList(c.Ident, expected));
  }
}

TEST_F(DesignItemsTest, ABlockWithoutPointsIsDroppedAtLoad) {
  TMemoryStream item;
  WriteItemHead(item, "DSNBLOCK", 1, {});
  WriteBlockChunks(item, true);
  EXPECT_EQ(LoadOne(street, kBlockKind, AsItemList("DSNBLOCK", item)), nullptr);
}

TEST_F(DesignItemsTest, ItemsFindTheFirstDefinitionOfTheirNameOrFallBack) {
  // The default block may warn of its missing picture; that warning is not this test's.
  const TDsnBlockDef& fallback = DefaultBlock();
  TakePendingWarnings();
  auto& blocks = dynamic_cast<TDsnBlockDefList&>(*street.Library(TStreetLibrary::TSlot::Blocks));
  for (float width : {1.0f, 2.0f}) {
    TDsnBlockDef& def = blocks.Add();
    def.SetName("Bench");
    def.SetWidth(width);
  }
  auto* block = dynamic_cast<TDesignBlockItem*>(street.ItemList(kBlockKind).NewItem());
  ASSERT_NE(block, nullptr);
  block->SetBlockName("Bench");
  EXPECT_EQ(block->BlockDef().Width(), 1.0f);
  block->SetBlockName("bench");  // names match exactly
  EXPECT_EQ(&block->BlockDef(), &fallback);

  auto& figures = dynamic_cast<TDsnFigDefList&>(*street.Library(TStreetLibrary::TSlot::Figures));
  figures.Add().SetName("Grass");
  figures.Add().SetName("Tiles");
  auto* figure = dynamic_cast<TDesignFigureItem*>(street.ItemList(kFigureKind).NewItem());
  ASSERT_NE(figure, nullptr);
  figure->SetPatternName("Tiles");
  EXPECT_EQ(figure->PatternIndex(), 1);
  EXPECT_EQ(figure->Pattern(), &figures.Item(1));
  figure->SetPatternName("Gravel");
  EXPECT_EQ(figure->Pattern(), nullptr);
}

TEST_F(DesignItemsTest, BlockAngleFollowsItsOwnAxisBeforeTheReferenceAxis) {
  TAbstractItem* north = street.ItemList(kAxisKind).NewItem();
  north->Points().InsertNew(0, {0, 0, 0});
  north->Points().InsertNew(1, {0, 10, 0});
  auto* block = dynamic_cast<TDesignBlockItem*>(street.ItemList(kBlockKind).NewItem());
  block->Points().InsertNew(0, {1, 5, 0});
  EXPECT_EQ(block->BlockAngle(0), 0.0f);  // no axis at all
  block->AxisRef().SetItem(0, north);
  EXPECT_NEAR(block->BlockAngle(0), std::numbers::pi / 2, 1e-5);
  EXPECT_EQ(block->BlockAngle(1), 0.0f);  // no such point
}

}  // namespace
}  // namespace vellmar
