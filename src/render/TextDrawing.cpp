#include "render/TextDrawing.h"

#include <cmath>

#include "platform/text/Numbers.h"
#include "render/DxRenderer.h"

namespace vellmar {

TAlignFactors AlignFactors(uint8_t Align) {
  static constexpr double kRow[3] = {-1.0, -0.5, 0.0};
  static constexpr double kColumn[3] = {0.0, -0.5, -1.0};
  const int row = Align > 8 ? 2 : Align / 3;
  return {kColumn[Align % 3], kRow[row]};
}

int32_t StringWidth(const TDxFont& Font, std::string_view Text) {
  int32_t width = 0;
  for (const char c : Text) width += Font.Char(static_cast<unsigned char>(c)).AdvanceX;
  return width;
}

int32_t FontHeight(const TDxFont& Font) { return Font.Size(); }

namespace {

// A stroke under or through the string from the pen's start to its end: two triangles
// when filling, its four edges when outlining.
void AppendBar(std::vector<TDxVertex>& out, float Right, double Bottom, double Top, uint32_t Color, bool Filled) {
  const auto y0 = static_cast<float>(Bottom), y1 = static_cast<float>(Top);
  const TDxVertex a{0, y0, 0, Color, 0, 0}, b{Right, y0, 0, Color, 0, 0};
  const TDxVertex c{Right, y1, 0, Color, 0, 0}, d{0, y1, 0, Color, 0, 0};
  if (Filled)
    out.insert(out.end(), {a, b, c, c, d, a});
  else
    out.insert(out.end(), {a, b, b, c, c, d, d, a});
}

// The string's prepared vertices of one kind (fill or outline), shifted along the pen
// and coloured, with its underline and strike-out, in one array: one draw call per
// string instead of one per character, and no transform change between characters.
// The array is reused from string to string (the device takes the vertices during the
// call), so drawing text allocates nothing once it has grown.
std::span<const TDxVertex> GatherString(TDxFont& Font, std::string_view Text, uint32_t Color, bool Filled) {
  static std::vector<TDxVertex> gathered;
  gathered.clear();
  const auto kind = Filled ? &TCharOutLine::FillVertices : &TCharOutLine::OutlineVertices;
  float penX = 0.0f;
  float penY = 0.0f;
  for (const char c : Text) {
    TCharOutLine& glyph = Font.Char(static_cast<unsigned char>(c));
    glyph.MakeVertices();
    for (const TDxVertex& v : glyph.*kind) gathered.push_back({v.X + penX, v.Y + penY, v.Z, Color, v.U, v.V});
    penX += static_cast<float>(glyph.AdvanceX);
    penY += static_cast<float>(glyph.AdvanceY);
  }
  const TTextDecorations& strokes = Font.Decorations();
  if ((Font.Style() & kFontUnderline) != 0 && penX != 0)
    AppendBar(gathered, penX, strokes.UnderlineBottom, strokes.UnderlineTop, Color, Filled);
  if ((Font.Style() & kFontStrikeOut) != 0 && penX != 0)
    AppendBar(gathered, penX, strokes.StrikeOutBottom, strokes.StrikeOutTop, Color, Filled);
  return gathered;
}

}  // namespace

void DrawString(TDxFont& Font, const TDxDrawParams& Params, std::string_view Text, bool Fill, bool Outline,
                uint32_t Color, uint8_t Align) {
  if (Params.Renderer == nullptr || !Params.Renderer->HasDevice() || Text.empty()) return;
  TdxRenderer& renderer = *Params.Renderer;
  const TAlignFactors factors = AlignFactors(Align);
  TMatrixShell& world = renderer.World();
  world.PushMatrix();
  world.Translate(false, factors.FX * StringWidth(Font, Text), factors.FY * Font.Size(), 0.0);
  if (Outline) renderer.DrawVertexLines(GatherString(Font, Text, Color, false));
  if (Fill) renderer.DrawVertexTriangles(GatherString(Font, Text, Color, true));
  world.PopMatrix();
}

void BuildTextQuads(const TFontTexture& Atlas, std::string_view Text, std::vector<TDxVertex>& Vertices) {
  Vertices.clear();
  Vertices.reserve(Text.size() * 6);
  const float h = static_cast<float>(Atlas.MaxHeight() * Atlas.Scale());
  float x = 0.0f;
  for (const char c : Text) {
    const TFontTexture::TCell& cell = Atlas.Cell(static_cast<unsigned char>(c));
    const float right = x + static_cast<float>(cell.CharWidth * Atlas.Scale()) - 1.0f;
    const float u1 = cell.U0 + cell.DU;
    const float v1 = cell.V0 + cell.DV;
    Vertices.push_back({x, 0, 0, 0, cell.U0, v1});
    Vertices.push_back({x, h, 0, 0, cell.U0, cell.V0});
    Vertices.push_back({right, h, 0, 0, u1, cell.V0});
    Vertices.push_back({right, h, 0, 0, u1, cell.V0});
    Vertices.push_back({right, 0, 0, 0, u1, v1});
    Vertices.push_back({x, 0, 0, 0, cell.U0, v1});
    x = right + 1.0f;
  }
}

int32_t AtlasTextHeight(const TFontTexture& Atlas) { return RoundToInt32(Atlas.MaxHeight() * Atlas.Scale()); }

int32_t AtlasTextWidth(const TFontTexture& Atlas, std::string_view Text) {
  int64_t sum = 0;
  for (const char c : Text) sum += Atlas.Cell(static_cast<unsigned char>(c)).CharWidth;
  return RoundToInt32(static_cast<double>(sum) * Atlas.Scale());
}

}  // namespace vellmar
