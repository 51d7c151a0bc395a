// The vector fonts and glyph atlases without a GPU: the font cache, alignment, widths,
// the atlas sizes a device gets, atlas text quads, and the calls DrawString makes.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/WarningSink.h"
#include "platform/fonts/FontFace.h"
#include "platform/text/Cp1251.h"
#include "render/FontsData.h"
#include "render/TextDrawing.h"
#include "support/RecordedFrame.h"

namespace vellmar {
namespace {

// A stand-in wider than Arial (DejaVu Sans: its per-mille sign is 1.3 em) would push
// the last column of cells off the atlas; it is drawn smaller until every cell fits.
TEST(Fonts, AtlasCellsOfAWideFaceStayInsideTheAtlas) {
  TFontFace face(MatchFont("DejaVu Sans", 0));
  for (const auto& [size, points] : {std::pair{1024, 36.0}, std::pair{256, 9.0}}) {
    TFontTexture atlas;
    atlas.BuildAtlas(face, size, points, 0);
    EXPECT_LE(16 * atlas.MaxWidth(), size);
    EXPECT_LE(16 * atlas.MaxHeight(), size);
    EXPECT_LT(atlas.Points(), points);
    EXPECT_GT(atlas.Points(), points * 0.75);
    for (int code = 0; code < 256; ++code) {
      const TFontTexture::TCell& cell = atlas.Cell(static_cast<unsigned char>(code));
      ASSERT_LE(cell.U0 + cell.DU, 1.0f) << code;
      ASSERT_LE(cell.V0 + cell.DV, 1.0f) << code;
    }
  }
}

// The same font object every time, its glyph triangles made once.
TEST(Fonts, GetFontBuildsEachFaceOnce) {
  TFontsData data;
  TDxFont& arial = data.GetFont("Arial", 0);
  const TXYZ* triangles = arial.Char('A').Triangles.data();
  ASSERT_NE(triangles, nullptr);
  EXPECT_EQ(&data.GetFont("Arial", 0), &arial);  // the last font
  TDxFont& bold = data.GetFont("Arial", kFontBold);
  EXPECT_NE(&bold, &arial);
  EXPECT_EQ(&data.GetFont("Arial", 0), &arial);  // found in the list
  EXPECT_EQ(&data.GetFont("Arial", kFontBold), &bold);
  EXPECT_EQ(data.FontCount(), 2u);
  EXPECT_EQ(arial.Char('A').Triangles.data(), triangles);
  EXPECT_EQ(arial.Name(), "Arial");
  EXPECT_EQ(bold.Style(), kFontBold);
  EXPECT_EQ(FontHeight(arial), 100);
}

// Names are compared exactly, but the glyphs belong to the installed face: a plan that
// names a thousand missing faces builds the stand-in's glyphs once, not a thousand times.
TEST(Fonts, NamesOfOneInstalledFaceShareItsGlyphs) {
  TFontsData data;
  std::vector<std::string> warnings;
  SetWarningSink([&](const std::string& message) { warnings.push_back(message); });
  TDxFont& arial = data.GetFont("Arial", 0);
  TDxFont& lower = data.GetFont("arial", 0);
  TDxFont& missing1 = data.GetFont("Missing Face One", 0);
  TDxFont& missing2 = data.GetFont("Missing Face Two", 0);
  SetWarningSink({});
  EXPECT_NE(&arial, &lower);
  EXPECT_EQ(&arial.Char('A'), &lower.Char('A'));
  EXPECT_EQ(&missing1.Char('A'), &missing2.Char('A'));
  EXPECT_EQ(data.FontCount(), 4u);
  EXPECT_EQ(data.GlyphSetCount(), 2u);
  EXPECT_EQ(warnings.size(), 2u);  // one per missing name
}

// A plan naming a face this machine lacks still draws, and says so once per name.
TEST(Fonts, AMissingFaceDrawsInAStandInAndWarnsOnce) {
  std::vector<std::string> warnings;
  SetWarningSink([&](const std::string& message) { warnings.push_back(message); });
  TFontsData data;
  const std::string name = Utf8ToCp1251("Шрифт, которого нет");
  TDxFont& font = data.GetFont(name, 0);
  data.GetFont(name, kFontItalic);
  data.GetFont("Times New Roman", 0);  // a metric twin is no reason to warn
  SetWarningSink({});
  EXPECT_FALSE(font.Char('A').Triangles.empty());
  EXPECT_GT(StringWidth(font, "AA"), 0);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find(name), std::string::npos) << warnings[0];
  EXPECT_NE(warnings[0].find(".ttf"), std::string::npos) << warnings[0];
}

TEST(Fonts, AlignFactorsPlaceTheAnchor) {
  const double expected[9][2] = {{0, -1},   {-0.5, -1},   {-1, -1},  // top
                                 {0, -0.5}, {-0.5, -0.5}, {-1, -0.5},  // middle
                                 {0, 0},    {-0.5, 0},    {-1, 0}};    // baseline
  for (uint8_t align = 0; align < 9; ++align) {
    EXPECT_EQ(AlignFactors(align).FX, expected[align][0]) << int{align};
    EXPECT_EQ(AlignFactors(align).FY, expected[align][1]) << int{align};
  }
}

TEST(Fonts, StringWidthAddsTheAdvances) {
  TDxFont& arial = GetFont("Arial", 0);
  const std::string text = Utf8ToCp1251("Wi Ж");
  int32_t sum = 0;
  for (const char c : text) sum += arial.Char(static_cast<unsigned char>(c)).AdvanceX;
  EXPECT_EQ(StringWidth(arial, text), sum);
  EXPECT_EQ(StringWidth(arial, "Wi"), 126 + 30);
  EXPECT_EQ(StringWidth(arial, ""), 0);
}

TEST(Fonts, AtlasSizesFollowTheDeviceLimits) {
  struct TCase {
    uint32_t MaxWidth;
    uint32_t MaxHeight;
    int32_t Black;
    int32_t Red;
  };
  const std::vector<TCase> cases = {
      {4096, 4096, 1024, 1024},
      {1024, 1024, 256, 1024},  // the black atlas wants more than 1024 rows
      {2048, 1024, 256, 1024},
      {1024, 2048, 1024, 1024},
      {512, 4096, 256, 256},
      {0, 0, 256, 256},
  };
  for (const TCase& c : cases) {
    D3DCAPS9 caps;
    caps.MaxTextureWidth = c.MaxWidth;
    caps.MaxTextureHeight = c.MaxHeight;
    EXPECT_EQ(TFontsData::BlackAtlasSize(caps), c.Black) << c.MaxWidth << "x" << c.MaxHeight;
    EXPECT_EQ(TFontsData::RedAtlasSize(caps), c.Red) << c.MaxWidth << "x" << c.MaxHeight;
  }
}

// Atlases of both sizes; each quad's corners from the cell, characters laid one unit
// past the previous right edge.
TEST(Fonts, TextQuadsStandOnTheCellsInARow) {
  TFontFace face(MatchFont("Arial", 0));
  for (const int32_t size : {TFontsData::kSmallAtlas, TFontsData::kLargeAtlas}) {
    SCOPED_TRACE(size);
    TFontTexture atlas;
    atlas.BuildAtlas(face, size, size == TFontsData::kLargeAtlas ? 36 : 9, 0);
    EXPECT_EQ(atlas.Points(), size == TFontsData::kLargeAtlas ? 36 : 9);  // Arial fits as it is
    EXPECT_EQ(atlas.Width(), size);
    EXPECT_DOUBLE_EQ(atlas.Scale(), 256.0 / size);
    // Every cell lies inside the atlas.
    EXPECT_LE(16 * atlas.MaxWidth(), size);
    EXPECT_LE(16 * atlas.MaxHeight(), size);

    const std::string text = Utf8ToCp1251("AiЖ");
    std::vector<TDxVertex> quads = {TDxVertex{}};  // replaced, not appended to
    BuildTextQuads(atlas, text, quads);
    ASSERT_EQ(quads.size(), 18u);
    const float h = static_cast<float>(atlas.MaxHeight() * atlas.Scale());
    float x = 0;
    double widthSum = 0;
    for (size_t i = 0; i < 3; ++i) {
      const TFontTexture::TCell& cell = atlas.Cell(static_cast<unsigned char>(text[i]));
      const float right = x + static_cast<float>(cell.CharWidth * atlas.Scale()) - 1;
      const float u1 = cell.U0 + cell.DU, v1 = cell.V0 + cell.DV;
      const TDxVertex expected[6] = {{x, 0, 0, 0, cell.U0, v1},     {x, h, 0, 0, cell.U0, cell.V0},
                                     {right, h, 0, 0, u1, cell.V0}, {right, h, 0, 0, u1, cell.V0},
                                     {right, 0, 0, 0, u1, v1},      {x, 0, 0, 0, cell.U0, v1}};
      for (size_t j = 0; j < 6; ++j) {
        const TDxVertex& v = quads[i * 6 + j];
        EXPECT_FLOAT_EQ(v.X, expected[j].X) << i << "/" << j;
        EXPECT_FLOAT_EQ(v.Y, expected[j].Y) << i << "/" << j;
        EXPECT_FLOAT_EQ(v.U, expected[j].U) << i << "/" << j;
        EXPECT_FLOAT_EQ(v.V, expected[j].V) << i << "/" << j;
        EXPECT_EQ(v.Color, 0u);
      }
      // The cell: on the 16 x 16 grid, one pixel wider and taller than the face says.
      const int32_t code = static_cast<unsigned char>(text[i]);
      EXPECT_EQ(cell.CellX, code % 16 * atlas.MaxWidth());
      EXPECT_EQ(cell.CellY, code / 16 * atlas.MaxHeight());
      EXPECT_EQ(cell.CharWidth, face.RasterTextWidth(static_cast<unsigned char>(code)) + 1);
      EXPECT_EQ(cell.CharHeight, face.RasterTextHeight() + 1);
      EXPECT_FLOAT_EQ(cell.V0, static_cast<float>(cell.CellY + 1) / static_cast<float>(size));
      widthSum += cell.CharWidth;
      x = right + 1;
    }
    EXPECT_EQ(AtlasTextHeight(atlas), static_cast<int32_t>(std::nearbyint(atlas.MaxHeight() * atlas.Scale())));
    EXPECT_EQ(AtlasTextWidth(atlas, text), static_cast<int32_t>(std::nearbyint(widthSum * atlas.Scale())));
  }
}

// One draw call a string, not one a character: the second character's vertices are the
// first's advance further on, all in the colour; the world matrix is as it was after.
TEST(Fonts, DrawStringDrawsAStringInOneCallPerKind) {
  test::TRecordedFrame frame;
  TDxFont& arial = GetFont("Arial", 0);
  const TCharOutLine& a = arial.Char('A');
  const TCharOutLine& v = arial.Char('V');
  const uint32_t red = MakeColor(255, 0, 0, 255);
  const TMatrix44 before = frame.Renderer->World().GetMatrix();
  DrawString(arial, {frame.Renderer.get(), {}, 1}, "AV", true, false, red, kAlignBaselineLeft);
  std::vector<const TGpuCall*> draws = frame.Draws();
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0]->Text, "DrawPrimitiveUP(4, " + std::to_string((a.Triangles.size() + v.Triangles.size()) / 3) + ", 24)");
  const std::vector<TDxVertex>& vertices = draws[0]->Vertices;
  ASSERT_EQ(vertices.size(), a.Triangles.size() + v.Triangles.size());
  for (size_t i = 0; i < vertices.size(); ++i) {
    const bool first = i < a.Triangles.size();
    const TXYZ& p = first ? a.Triangles[i] : v.Triangles[i - a.Triangles.size()];
    EXPECT_FLOAT_EQ(vertices[i].X, p.x + (first ? 0 : a.AdvanceX)) << i;
    EXPECT_FLOAT_EQ(vertices[i].Y, p.y) << i;
    EXPECT_EQ(vertices[i].Color, red) << i;
  }
  EXPECT_EQ(frame.Renderer->World().GetMatrix().m, before.m);

  // Outlines and fill: a line list of the segments, then the triangles; top right
  // shifts the string by its width and the font's height.
  frame.Device->ClearCalls();
  DrawString(arial, {frame.Renderer.get(), {}, 1}, "AV", true, true, red, kAlignTopRight);
  draws = frame.Draws();
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0]->Text,
            "DrawPrimitiveUP(2, " + std::to_string((a.OutlineSegments.size() + v.OutlineSegments.size()) / 2) + ", 24)");
  EXPECT_TRUE(draws[1]->Text.starts_with("DrawPrimitiveUP(4, "));
  const TMatrix44* sent = nullptr;
  for (const TGpuCall& call : frame.Device->Calls()) {
    if (&call == draws[0]) break;
    if (call.Text.starts_with("SetTransform(256")) sent = &call.Matrix;
  }
  ASSERT_NE(sent, nullptr);
  EXPECT_FLOAT_EQ(sent->m[12], -static_cast<float>(a.AdvanceX + v.AdvanceX));
  EXPECT_FLOAT_EQ(sent->m[13], -100.0f);

  // Nothing to draw, no call.
  frame.Device->ClearCalls();
  DrawString(arial, {frame.Renderer.get(), {}, 1}, "  ", true, true, red, kAlignTopRight);
  EXPECT_TRUE(frame.Draws().empty());
}

}  // namespace
}  // namespace vellmar
