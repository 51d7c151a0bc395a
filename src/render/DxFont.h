#pragma once
// A vector font: all 256 Windows-1251 characters of one face and style as filled
// triangles and outlines, taken once from the face's glyph outlines at an em of
// 133 1/3 pixels (100 points at 96 dots per inch). The glyphs belong to the installed
// face and style they came from and are shared by every font name that resolves to it
// (a plan may name any number of missing faces, all drawn in one stand-in). Fonts and
// glyphs are owned by the fonts data (FontsData.h), which keeps them until the program
// ends.

#include <array>
#include <memory>
#include <string>

#include "platform/fonts/FontFace.h"
#include "platform/fonts/FontStyle.h"
#include "render/CharOutLine.h"

namespace vellmar {

// The glyphs of one installed face and style.
struct TFontGlyphs {
  static constexpr int32_t kCodeCount = 256;
  // Point size the outlines are taken at, and the pixels of its em.
  static constexpr int32_t kOutlinePointSize = 100;
  static constexpr double kOutlineEmPixels = kOutlinePointSize * 96.0 / 72.0;

  // Reads every character's outline from the face and tessellates it.
  explicit TFontGlyphs(TFontFace& Face);
  // Not a single glyph, for a machine without any usable font: text draws nothing and
  // has no width.
  TFontGlyphs();

  std::array<std::unique_ptr<TCharOutLine>, kCodeCount> Chars;
  TTextDecorations Decorations;
};

class TDxFont {
 public:
  TDxFont(std::shared_ptr<TFontGlyphs> Glyphs, std::string Name, TFontStyle Style);
  TDxFont(const TDxFont&) = delete;
  TDxFont& operator=(const TDxFont&) = delete;

  const std::string& Name() const { return name_; }
  TFontStyle Style() const { return style_; }
  int32_t Size() const { return size_; }

  // The underline and strike-out strokes of the face, font pixels; text in a style
  // with either draws it under or through the whole string.
  const TTextDecorations& Decorations() const { return glyphs_->Decorations; }

  TCharOutLine& Char(unsigned char Code) { return *glyphs_->Chars[Code]; }
  const TCharOutLine& Char(unsigned char Code) const { return *glyphs_->Chars[Code]; }

 private:
  std::shared_ptr<TFontGlyphs> glyphs_;
  std::string name_;
  TFontStyle style_;
  int32_t size_ = TFontGlyphs::kOutlinePointSize;
};

}  // namespace vellmar
