#include <gtest/gtest.h>

#include "../KindStreamTest.h"
#include "document/TaggedStream.h"
#include "items/text/TextLabelItem.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"

namespace vellmar::test {
namespace {

constexpr int32_t kTextLabel = 21;

void WriteAllLabelChunks(TStream& s) {
  WriteIdent(s, "TXTLTEXT");
  WriteString(s, Utf8ToCp1251("Остановка"));
  WriteIdent(s, "TXTLSIZE");
  WriteInt32(s, 30);
  WriteIdent(s, "TXTLCOLR");
  WriteInt32(s, static_cast<int32_t>(MakeColor(200, 0, 0, 255)));
  WriteIdent(s, "TXTLFONT");
  WriteString(s, "Times New Roman");
  WriteIdent(s, "TXTLSTYL");
  WriteByte(s, 0x05);  // bold and underlined
  WriteIdent(s, "TXTLALGN");
  WriteByte(s, 4);
  WriteIdent(s, "TXTLOUTL");
  WriteFlag(s, true);
}

void WriteDefaultLabelChunks(TStream& s) {
  WriteIdent(s, "TXTLTEXT");
  WriteString(s, Utf8ToCp1251("Надпись"));
  WriteIdent(s, "TXTLSIZE");
  WriteInt32(s, 12);
  WriteIdent(s, "TXTLCOLR");
  WriteInt32(s, static_cast<int32_t>(MakeColor(5, 5, 5, 255)));
  WriteIdent(s, "TXTLFONT");
  WriteString(s, "Arial");
  WriteIdent(s, "TXTLSTYL");
  WriteByte(s, 0);
  WriteIdent(s, "TXTLALGN");
  WriteByte(s, 6);
  WriteIdent(s, "TXTLOUTL");
  WriteFlag(s, false);
}

void CheckDefaultLabel(const TAbstractItem& item) {
  const auto& label = As<TTextLabelItem>(item);
  EXPECT_EQ(label.Text(), Utf8ToCp1251("Надпись"));
  EXPECT_EQ(label.Size(), 12);
  EXPECT_EQ(label.Color(), MakeColor(5, 5, 5, 255));
  EXPECT_EQ(label.FontName(), "Arial");
  EXPECT_EQ(label.FontStyle(), 0);
  EXPECT_EQ(label.Align(), 6);
  EXPECT_FALSE(label.Outline());
}

TKindCase LabelCase() {
  return {"TextLabel",
          kTextLabel,
          WriteAllLabelChunks,
          [](const TAbstractItem& item) {
            const auto& label = As<TTextLabelItem>(item);
            EXPECT_EQ(label.Text(), Utf8ToCp1251("Остановка"));
            EXPECT_EQ(label.Size(), 30);
            EXPECT_EQ(label.Color(), MakeColor(200, 0, 0, 255));
            EXPECT_EQ(label.FontName(), "Times New Roman");
            EXPECT_EQ(label.FontStyle(), 0x05);
            EXPECT_EQ(label.Align(), 4);
            EXPECT_TRUE(label.Outline());
          },
          WriteDefaultLabelChunks,
          CheckDefaultLabel};
}

INSTANTIATE_TEST_SUITE_P(TextKinds, KindChunks, ::testing::Values(LabelCase()), KindCaseName);

using TextLabelTest = KindStreamTest;

// The font is the one field that a missing chunk resets: a label read without one is
// an Arial label, whatever font the item held before.
TEST_F(TextLabelTest, MissingFontChunkMeansArialWhileOtherFieldsKeepTheirValues) {
  auto* label = dynamic_cast<TTextLabelItem*>(street.ItemList(kTextLabel).NewItem());
  ASSERT_NE(label, nullptr);
  label->SetFontName("Courier New");
  label->SetSize(40);
  TMemoryStream stored;
  WriteItemHead(stored, kTextLabel, 1);
  stored.SetPosition(0);
  label->LoadFromStream(stored);
  EXPECT_EQ(label->FontName(), "Arial");
  EXPECT_EQ(label->Size(), 40);
}

}  // namespace
}  // namespace vellmar::test
