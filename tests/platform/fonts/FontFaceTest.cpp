// Glyphs read through FreeType: Arial's metrics come through its metric twin, curves
// are flattened onto their on-curve points, and characters are drawn into bitmaps
// where the cell says.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/fonts/FontFace.h"
#include "platform/text/Cp1251.h"

namespace vellmar {
namespace {

constexpr double kEm = 400.0 / 3.0;  // 100 points at 96 dots per inch

TFontFace ArialFace() { return TFontFace(MatchFont("Arial", 0)); }

// Arial's advances in units of its 2048-unit em, scaled to 133 1/3 pixels and rounded.
TEST(FontFace, AdvancesAreArialsAtTheOutlineEm) {
  TFontFace face = ArialFace();
  struct TCase {
    unsigned char Code;
    int32_t Advance;
  };
  const std::vector<TCase> cases = {
      {' ', 37},  // 569
      {'W', 126},  // 1933
      {'i', 30},  // 455
      {'O', 104},  // 1593
      {'1', 74},  // 1139
  };
  for (const TCase& c : cases) EXPECT_EQ(face.Outline(c.Code, kEm).AdvanceX, c.Advance) << c.Code;
}

TEST(FontFace, ControlCodesAndBlanksHaveNoOutline) {
  TFontFace face = ArialFace();
  for (const unsigned char code : {0x00, 0x09, 0x1F, 0x7F, 0x98}) {
    const TGlyphOutline glyph = face.Outline(code, kEm);
    EXPECT_TRUE(glyph.Contours.empty()) << int{code};
    EXPECT_EQ(glyph.AdvanceX, 0) << int{code};
  }
  const TGlyphOutline space = face.Outline(' ', kEm);
  EXPECT_TRUE(space.Contours.empty());
  EXPECT_GT(space.AdvanceX, 0);
}

// "O" is two closed rings; the flattened points stay within the black box and reach
// its edges (the extremes are on-curve points, which the flattening keeps).
TEST(FontFace, TheLetterOIsTwoRingsFilledOutToItsBox) {
  TFontFace face = ArialFace();
  const TGlyphOutline glyph = face.Outline('O', kEm);
  ASSERT_EQ(glyph.Contours.size(), 2u);
  float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
  for (const TXYZArray& contour : glyph.Contours) {
    EXPECT_GT(contour.size(), 20u);
    EXPECT_FALSE(contour.front().x == contour.back().x && contour.front().y == contour.back().y);
    for (const TXYZ& p : contour) {
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
  }
  EXPECT_GE(minX, glyph.BoxLeft);
  EXPECT_LT(minX, glyph.BoxLeft + 1);
  EXPECT_LE(maxY, glyph.BoxTop);
  EXPECT_GT(maxY, glyph.BoxTop - 1);
  EXPECT_LE(maxX, glyph.BoxLeft + glyph.BoxWidth);
  EXPECT_GT(maxX, glyph.BoxLeft + glyph.BoxWidth - 1);
  EXPECT_GE(minY, glyph.BoxTop - glyph.BoxHeight);
  // The O sits on the baseline and reaches about cap height (0.72 em).
  EXPECT_NEAR(minY, 0, 3);
  EXPECT_NEAR(maxY, 0.72 * kEm, 5);
}

// A wrong character map would give every Cyrillic letter the same missing-glyph box.
TEST(FontFace, CyrillicLettersHaveTheirOwnShapes) {
  TFontFace face = ArialFace();
  const TGlyphOutline zhe = face.Outline(static_cast<unsigned char>(Utf8ToCp1251("Ж")[0]), kEm);
  const TGlyphOutline sha = face.Outline(static_cast<unsigned char>(Utf8ToCp1251("Ш")[0]), kEm);
  const TGlyphOutline ya = face.Outline(static_cast<unsigned char>(Utf8ToCp1251("я")[0]), kEm);
  EXPECT_EQ(zhe.Contours.size(), 1u);
  EXPECT_EQ(sha.Contours.size(), 1u);
  EXPECT_EQ(ya.Contours.size(), 2u);
  EXPECT_NE(zhe.Contours[0].size(), sha.Contours[0].size());
}

// The underline hangs below the baseline; the strike-out crosses lower-case letters
// between the baseline and the x-height (0.52 em).
TEST(FontFace, DecorationsSitWhereTextIsStruck) {
  TFontFace face = ArialFace();
  const TTextDecorations strokes = face.Decorations(kEm);
  EXPECT_LT(strokes.UnderlineTop, 0);
  EXPECT_LT(strokes.UnderlineBottom, strokes.UnderlineTop);
  EXPECT_GT(strokes.UnderlineBottom, -0.25 * kEm);
  EXPECT_GT(strokes.StrikeOutBottom, 0.1 * kEm);
  EXPECT_LT(strokes.StrikeOutBottom, strokes.StrikeOutTop);
  EXPECT_LT(strokes.StrikeOutTop, 0.52 * kEm);
}

// A made-up italic leans right: the top of an "l" moves right of its foot.
TEST(FontFace, MadeUpItalicLeans) {
  TFontMatch match = MatchFont("Arial", 0);
  TFontFace upright(match);
  match.SyntheticItalic = true;
  TFontFace slanted(match);
  const auto topMinusFootX = [](const TGlyphOutline& glyph) {
    const TXYZArray& c = glyph.Contours.at(0);
    const auto top = std::max_element(c.begin(), c.end(), [](const TXYZ& a, const TXYZ& b) { return a.y < b.y; });
    const auto foot = std::min_element(c.begin(), c.end(), [](const TXYZ& a, const TXYZ& b) { return a.y < b.y; });
    return top->x - foot->x;
  };
  EXPECT_NEAR(topMinusFootX(upright.Outline('l', kEm)), 0, 1);
  EXPECT_GT(topMinusFootX(slanted.Outline('l', kEm)), 15);
}

// 36 points at 96 dpi: Arial's line is 55 pixels (win ascent 1854 + descent 434 of
// 2048 at 48 pixels, each rounded up). An "I" drawn at a cell stands on the cell's
// baseline, 44 pixels down, and fills its stem in the colour.
TEST(FontFace, CharactersAreDrawnIntoTheirCell) {
  TFontFace face = ArialFace();
  face.SetRasterPointSize(36);
  EXPECT_EQ(face.RasterTextHeight(), 55);
  EXPECT_EQ(face.RasterTextWidth('I'), 13);
  TBitmap picture(40, 60, TPixelFormat::pf32bit);
  for (int32_t y = 0; y < 60; ++y)
    for (int32_t x = 0; x < 40; ++x) picture.SetPixel(x, y, 0xFFFFFF);
  face.DrawChar(picture, 10, 2, 'I', 0xFF0000);
  std::vector<int32_t> inkRows;
  for (int32_t y = 0; y < 60; ++y) {
    bool ink = false;
    for (int32_t x = 0; x < 40; ++x) ink = ink || (picture.GetPixel(x, y) & 0xFFFFFF) == 0xFF0000;
    if (ink) inkRows.push_back(y);
  }
  ASSERT_FALSE(inkRows.empty());
  EXPECT_EQ(inkRows.back(), 2 + 44 - 1);       // the last row above the baseline
  EXPECT_NEAR(inkRows.front(), 2 + 44 - 34, 1);  // cap height 0.716 em
  EXPECT_EQ(picture.GetPixel(0, 30) & 0xFFFFFF, 0xFFFFFFu);
  // Drawing off the bitmap's edges is clipped, not a fault.
  face.DrawChar(picture, -20, -40, 'W', 0);
  face.DrawChar(picture, 35, 50, 'W', 0);
}

}  // namespace
}  // namespace vellmar
