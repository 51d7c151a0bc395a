#pragma once
// Drawing text with the program's fonts (FontsData.h).
//
// Vector text: DrawString places each character's prepared triangles or outline one
// after another under the renderer's current world transform, in font pixels
// (TDxFont::Size pixels from the baseline to the top row); the caller scales font
// pixels to world units on the world shell first.
//
// Atlas text: BuildTextQuads makes two textured triangles per character from a glyph
// atlas, for a triangle collection that shares the atlas (ShareTexture); the caller
// places and scales them with the collection's Local transform.
//
// Texts are Windows-1251 bytes.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/gpu/DxVertex.h"
#include "render/DxDrawParams.h"
#include "render/DxFont.h"
#include "render/FontTexture.h"

namespace vellmar {

// Where the anchor (the origin of the transform) sits on the text: rows top, middle,
// baseline; columns left, centre, right.
enum : uint8_t {
  kAlignTopLeft = 0,
  kAlignTopCentre = 1,
  kAlignTopRight = 2,
  kAlignMiddleLeft = 3,
  kAlignMiddleCentre = 4,
  kAlignMiddleRight = 5,
  kAlignBaselineLeft = 6,
  kAlignBaselineCentre = 7,
  kAlignBaselineRight = 8,
};

// Multiples of the text's width (FX) and height (FY) by which to shift its
// lower-left corner so that the anchor lands where Align says: FX is 0, -0.5, -1 for
// the left, centre and right columns, FY -1, -0.5, 0 for the top, middle and baseline
// rows. Codes above 8 count as baseline rows.
struct TAlignFactors {
  double FX = 0.0;
  double FY = 0.0;
};
TAlignFactors AlignFactors(uint8_t Align);

// Sum of the characters' advances, font pixels.
int32_t StringWidth(const TDxFont& Font, std::string_view Text);
// The font's point size, which is the height of a text line in font pixels.
int32_t FontHeight(const TDxFont& Font);

// Draws Text with its anchor at the world shell's origin: Fill draws the glyphs
// filled, Outline their outlines (both may be set); a font with the underline or
// strike-out style draws those strokes along the string too. The world shell is the
// same after the call.
void DrawString(TDxFont& Font, const TDxDrawParams& Params, std::string_view Text, bool Fill, bool Outline,
                uint32_t Color, uint8_t Align);

// Replaces Vertices with six per character: the text runs along +X from 0, the
// bottom of the cell row at Y = 0 and its top at Y = AtlasTextHeight; characters are
// one unit apart. Colour 0: the collection stamps its own.
void BuildTextQuads(const TFontTexture& Atlas, std::string_view Text, std::vector<TDxVertex>& Vertices);
// Height and width of atlas text in the units BuildTextQuads lays it out in.
int32_t AtlasTextHeight(const TFontTexture& Atlas);
int32_t AtlasTextWidth(const TFontTexture& Atlas, std::string_view Text);

}  // namespace vellmar
