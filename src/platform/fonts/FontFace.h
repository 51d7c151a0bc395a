#pragma once
// One installed font face opened through FreeType: the glyph outlines and metrics of
// the Windows-1251 characters, and glyphs drawn into bitmaps (what the atlases are
// made of). Styles the family lacks are made from the regular face (slanted,
// emboldened), so a bold or italic request always looks bold or italic.
// The face owns its FreeType objects; one face is used from one thread at a time.

#include <cstdint>
#include <memory>

#include "geometry/XYZ.h"
#include "platform/fonts/FontMatch.h"
#include "platform/imaging/Bitmap.h"

namespace vellmar {

// A character's outline in pixels of a given em, y up, the pen at the origin on the
// baseline. Contours are closed without repeating their first point.
struct TGlyphOutline {
  TXYZArrays Contours;
  int32_t AdvanceX = 0;  // pen advance, whole pixels
  int32_t AdvanceY = 0;
  // The black box: left and top edges, width and height, whole pixels enclosing it.
  int32_t BoxLeft = 0;
  int32_t BoxTop = 0;
  int32_t BoxWidth = 0;
  int32_t BoxHeight = 0;
};

// The underline and strike-out strokes of a face: bottom and top edges in pixels of a
// given em, y up from the baseline.
struct TTextDecorations {
  double UnderlineBottom = 0.0;
  double UnderlineTop = 0.0;
  double StrikeOutBottom = 0.0;
  double StrikeOutTop = 0.0;
};

class TFontFace {
 public:
  // Raises EVellmarError when the file cannot be read as a font.
  explicit TFontFace(const TFontMatch& Match);
  ~TFontFace();
  TFontFace(const TFontFace&) = delete;
  TFontFace& operator=(const TFontFace&) = delete;

  const TFontMatch& Match() const { return match_; }

  // The unhinted outline of a Windows-1251 character at an em of PixelsPerEm pixels;
  // conic edges flattened by FlattenQuadraticSpline, cubic ones by
  // FlattenCubicSegment. Control codes have no outline and no advance; a character
  // missing from the face takes the face's missing-glyph shape.
  TGlyphOutline Outline(unsigned char Code, double PixelsPerEm);

  // Where the face draws its underline and strike-out strokes at an em of PixelsPerEm.
  TTextDecorations Decorations(double PixelsPerEm) const;

  // Text drawn into bitmaps at a point size of 96 dots per inch, hinted and smoothed.
  void SetRasterPointSize(double Points);
  // Height of a line of text (ascent plus descent) and a character's advance, pixels.
  int32_t RasterTextHeight() const;
  int32_t RasterTextWidth(unsigned char Code);
  // Draws the character with its cell's top-left corner at (X, Y), blending the
  // colour (0x00RRGGBB) over a 32-bit bitmap by the glyph's coverage; pixels outside
  // the bitmap are left out.
  void DrawChar(TBitmap& Target, int32_t X, int32_t Y, unsigned char Code, uint32_t Rgb);

 private:
  struct TFreeType;
  // Loads the glyph of a character in font units or (Scaled) hinted at the raster size,
  // with the made-up styles applied; false when the character has no glyph to draw.
  bool LoadGlyph(unsigned char Code, bool Scaled);

  TFontMatch match_;
  std::unique_ptr<TFreeType> ft_;
  int32_t rasterAscent_ = 0;
  int32_t rasterDescent_ = 0;
};

}  // namespace vellmar
