// Text drawn through OpenGL on a headless context: what the glyphs and the atlas put
// on which pixels.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "platform/text/Cp1251.h"
#include "render/DxTriangleCollection.h"
#include "render/FontsData.h"
#include "render/OffscreenFrame.h"
#include "render/TextDrawing.h"
#include "support/GlTestSupport.h"
#include "support/PixelInk.h"

namespace vellmar {
namespace {

using test::ColorNear;
using test::Ink;
using test::InkBox;
using test::TInkBox;

constexpr uint32_t kSide = 200;
constexpr uint32_t kWhite = MakeColor(255, 255, 255, 255);
constexpr uint32_t kBlack = MakeColor(0, 0, 0, 255);

// One frame in which one world unit is one pixel and the world origin lies at the pixel
// (OriginX, OriginY) counted from the top left; skips the test without a GL context.
std::optional<TOffscreenFrame> Render(double OriginX, double OriginY, const std::function<void(TdxRenderer&)>& Draw) {
  std::string why;
  if (!test::TryHeadlessContext(1, 1, why)) return std::nullopt;
  return RenderOffscreenFrame(kSide, kSide, [&](TdxRenderer& renderer) {
    renderer.World().Scale(true, 2.0 / kSide, 2.0 / kSide, 1);
    renderer.World().Translate(true, OriginX * 2 / kSide - 1, 1 - OriginY * 2 / kSide, 0);
    Draw(renderer);
  });
}

void DrawText(TdxRenderer& Renderer, std::string_view Text, uint8_t Align, bool Outline = false) {
  DrawString(GetFont("Arial", 0), {&Renderer, {}, 1000}, Text, !Outline, Outline, kBlack, Align);
}

// An "O" is a ring: its counter stays white, its strokes are black.
TEST(GlFonts, TheCounterOfAnOStaysEmpty) {
  const std::optional<TOffscreenFrame> frame = Render(40, 150, [](TdxRenderer& r) { DrawText(r, "O", kAlignBaselineLeft); });
  if (!frame) GTEST_SKIP() << "no headless OpenGL context on this machine";
  const TCharOutLine& o = GetFont("Arial", 0).Char('O');
  const int middleX = 40 + (o.BoxLeft + o.BoxRight) / 2;
  const int middleY = 150 - (o.BoxTop + o.BoxBottom) / 2;
  EXPECT_TRUE(ColorNear(frame->At(middleX, middleY), kWhite)) << "counter";
  EXPECT_TRUE(ColorNear(frame->At(40 + o.BoxLeft + 4, middleY), kBlack)) << "left stroke";
  EXPECT_TRUE(ColorNear(frame->At(40 + o.BoxRight - 4, middleY), kBlack)) << "right stroke";
  EXPECT_TRUE(ColorNear(frame->At(middleX, 150 - o.BoxTop + 4), kBlack)) << "top stroke";
  EXPECT_TRUE(ColorNear(frame->At(middleX, 150 - 4), kBlack)) << "bottom stroke";
  // Counter: every pixel within a third of the box around the middle is white.
  const int rx = (o.BoxRight - o.BoxLeft) / 6, ry = (o.BoxTop - o.BoxBottom) / 6;
  for (int y = middleY - ry; y <= middleY + ry; ++y)
    for (int x = middleX - rx; x <= middleX + rx; ++x) ASSERT_FALSE(Ink(frame->At(x, y))) << x << ", " << y;
}

// Middle centre: the string's ink is centred on the anchor across; up and down the
// anchor is half the font height above the baseline.
// Baseline left: the foot of the first stem sits on the anchor.
TEST(GlFonts, AlignmentsPutTheAnchorWhereTheyName) {
  const std::optional<TOffscreenFrame> centred = Render(100, 100, [](TdxRenderer& r) { DrawText(r, "HH", kAlignMiddleCentre); });
  if (!centred) GTEST_SKIP() << "no headless OpenGL context on this machine";
  const TInkBox box = InkBox(*centred);
  EXPECT_NEAR(box.CentreX(), 100, 1.5);
  EXPECT_NEAR(box.Bottom + 1, 100 + 50, 1.5);  // the baseline
  const TCharOutLine& h = GetFont("Arial", 0).Char('H');
  EXPECT_NEAR(box.Top, 100 + 50 - h.BoxTop, 1.5);

  const std::optional<TOffscreenFrame> baseline = Render(5, 120, [](TdxRenderer& r) { DrawText(r, "HH", kAlignBaselineLeft); });
  const TInkBox left = InkBox(*baseline);
  EXPECT_NEAR(left.Left, 5 + h.BoxLeft, 1);
  EXPECT_EQ(left.Bottom + 1, 120);
  EXPECT_NEAR(left.Right + 1, 5 + h.AdvanceX + h.BoxRight, 1.5);
}

// Outline only: the edges of a stem are black, its middle is left white.
TEST(GlFonts, OutlinesLeaveTheGlyphsHollow) {
  const std::optional<TOffscreenFrame> outline = Render(50, 150, [](TdxRenderer& r) { DrawText(r, "I", kAlignBaselineLeft, true); });
  if (!outline) GTEST_SKIP() << "no headless OpenGL context on this machine";
  const TCharOutLine& i = GetFont("Arial", 0).Char('I');
  const int stemMiddle = 50 + (i.BoxLeft + i.BoxRight) / 2;
  EXPECT_FALSE(Ink(outline->At(stemMiddle, 100)));
  EXPECT_TRUE(Ink(outline->At(50 + i.BoxLeft, 100)) || Ink(outline->At(50 + i.BoxLeft + 1, 100)));
  const std::optional<TOffscreenFrame> filled = Render(50, 150, [](TdxRenderer& r) { DrawText(r, "I", kAlignBaselineLeft); });
  EXPECT_TRUE(Ink(filled->At(stemMiddle, 100)));
}

// Underline and strike-out are strokes along the whole string: below the baseline, and
// through the gap between two letters at a quarter of the em.
TEST(GlFonts, UnderlineAndStrikeOutRunTheWholeString) {
  struct TCase {
    TFontStyle Style;
    bool Under;
    bool Through;
  };
  const TCase cases[] = {{0, false, false}, {kFontUnderline, true, false}, {kFontStrikeOut, false, true},
                         {kFontUnderline | kFontStrikeOut | kFontBold, true, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(int{c.Style});
    TDxFont& font = GetFont("Arial", c.Style);
    const std::optional<TOffscreenFrame> frame = Render(5, 150, [&](TdxRenderer& r) {
      DrawString(font, {&r, {}, 1000}, "HH", true, false, kBlack, kAlignBaselineLeft);
    });
    if (!frame) GTEST_SKIP() << "no headless OpenGL context on this machine";
    const TTextDecorations& strokes = font.Decorations();
    const int underRow = 150 - static_cast<int>((strokes.UnderlineTop + strokes.UnderlineBottom) / 2);
    const int throughRow = 150 - static_cast<int>((strokes.StrikeOutTop + strokes.StrikeOutBottom) / 2);
    const TCharOutLine& h = font.Char('H');
    const int gap = 5 + (h.BoxRight + h.AdvanceX + h.BoxLeft) / 2;  // between the letters
    EXPECT_EQ(Ink(frame->At(gap, underRow)), c.Under);
    EXPECT_EQ(Ink(frame->At(6, underRow)), c.Under);
    EXPECT_EQ(Ink(frame->At(5 + 2 * h.AdvanceX - 2, underRow)), c.Under);
    EXPECT_EQ(Ink(frame->At(gap, throughRow)), c.Through);
  }
}

// Cyrillic letters are drawn as themselves: "Ж" and "Ш" differ, and the middle of "Ж"
// (its stem) is inked where a missing-glyph box would be hollow.
TEST(GlFonts, CyrillicRendersAsLettersNotBoxes) {
  const std::string zhe = Utf8ToCp1251("Ж"), sha = Utf8ToCp1251("Ш");
  const std::optional<TOffscreenFrame> a = Render(30, 150, [&](TdxRenderer& r) { DrawText(r, zhe, kAlignBaselineLeft); });
  if (!a) GTEST_SKIP() << "no headless OpenGL context on this machine";
  const std::optional<TOffscreenFrame> b = Render(30, 150, [&](TdxRenderer& r) { DrawText(r, sha, kAlignBaselineLeft); });
  const TCharOutLine& glyph = GetFont("Arial", 0).Char(static_cast<unsigned char>(zhe[0]));
  EXPECT_TRUE(Ink(a->At(30 + (glyph.BoxLeft + glyph.BoxRight) / 2, 150 - glyph.BoxTop / 2)));
  int differing = 0, inked = 0;
  for (size_t k = 0; k < a->Pixels.size(); ++k) {
    differing += Ink(a->Pixels[k]) != Ink(b->Pixels[k]);
    inked += Ink(a->Pixels[k]);
  }
  EXPECT_GT(inked, 1500);
  EXPECT_GT(differing, 1000);
}

// The atlases through a collection over a green background, the vertex colour blue:
// black-atlas glyph texels take the vertex colour, red-atlas ones stay red; both have
// a near-white halo, and the rest of each cell lets the background through.
TEST(GlFonts, AtlasTextHasANearWhiteHaloOnATransparentCell) {
  const uint32_t green = MakeColor(0, 160, 0, 255), blue = MakeColor(0, 0, 255, 255);
  const uint32_t red = MakeColor(255, 0, 0, 255);
  TDxTriangleCollection background;
  background.SetColor(green);
  background.AddQuads(nullptr, std::vector<TXYZ>{{-100, -100, 0}, {100, -100, 0}, {100, 100, 0}, {-100, 100, 0}});
  struct TCase {
    const char* Atlas;
    TFontTexture& (TFontsData::*Get)();
    uint32_t Glyph;
  };
  const TCase cases[] = {{"black", &TFontsData::BlackAtlas, blue}, {"red", &TFontsData::RedAtlas, red}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Atlas);
    double h = 0, w = 0;
    const std::optional<TOffscreenFrame> frame = Render(20, 150, [&](TdxRenderer& r) {
      TFontTexture& atlas = (FontsData().*c.Get)();
      TDxTriangleCollection text;
      text.ShareTexture(&atlas);
      text.SetColor(blue);
      // One atlas texel a pixel.
      text.Local().Scale(false, 1 / atlas.Scale(), 1 / atlas.Scale(), 1);
      std::vector<TDxVertex> quads;
      BuildTextQuads(atlas, "HI", quads);
      text.AddPrims(nullptr, quads, quads.size() / 3);
      h = AtlasTextHeight(atlas) / atlas.Scale();
      w = AtlasTextWidth(atlas, "HI") / atlas.Scale();
      background.Draw({&r, {}, 1000});
      text.Draw({&r, {}, 1000});
    });
    if (!frame) GTEST_SKIP() << "no headless OpenGL context on this machine";
    ASSERT_GT(h, 10);
    int glyph = 0, halo = 0, through = 0;
    for (int y = 150 - static_cast<int>(h) + 1; y < 150; ++y) {
      for (int x = 20; x < 20 + static_cast<int>(w) - 1; ++x) {
        const uint32_t p = frame->At(x, y);
        if (ColorNear(p, c.Glyph, 8)) ++glyph;
        else if (ColorNear(p, green, 8)) ++through;
        else if ((p >> 16 & 0xFF) >= 225 && (p >> 8 & 0xFF) >= 225 && (p & 0xFF) >= 225) ++halo;
      }
    }
    EXPECT_GT(glyph, 100);
    EXPECT_GT(halo, 60);
    EXPECT_GT(through, glyph);  // most of a cell is background
    EXPECT_TRUE(ColorNear(frame->At(10, 100), green));
  }
}

}  // namespace
}  // namespace vellmar
