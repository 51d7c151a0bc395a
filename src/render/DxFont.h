#pragma once
// A vector font: all 256 Windows-1251 characters of one face and style as filled
// triangles and outlines, taken once from the face's glyph outlines at an em of
// 133 1/3 pixels (100 points at 96 dots per inch). A font owns its characters; fonts
// are owned by the fonts data (FontsData.h), which keeps them until the program ends.

#include <array>
#include <memory>
#include <string>

#include "platform/fonts/FontFace.h"
#include "platform/fonts/FontStyle.h"
#include "render/CharOutLine.h"

namespace vellmar {

class TDxFont {
 public:
  static constexpr int32_t kCodeCount = 256;
  // Point size the outlines are taken at, and the pixels of its em.
  static constexpr int32_t kOutlinePointSize = 100;
  static constexpr double kOutlineEmPixels = kOutlinePointSize * 96.0 / 72.0;

  // Reads every character's outline from the face and tessellates it.
  TDxFont(TFontFace& Face, std::string Name, TFontStyle Style);
  // A font without a single glyph, for a machine without any scalable font: text in it
  // draws nothing and has no width.
  TDxFont(std::string Name, TFontStyle Style);
  TDxFont(const TDxFont&) = delete;
  TDxFont& operator=(const TDxFont&) = delete;

  const std::string& Name() const { return name_; }
  TFontStyle Style() const { return style_; }
  int32_t Size() const { return size_; }

  // The underline and strike-out strokes of the face, font pixels; text in a style
  // with either draws it under or through the whole string.
  const TTextDecorations& Decorations() const { return decorations_; }

  TCharOutLine& Char(unsigned char Code) { return *chars_[Code]; }
  const TCharOutLine& Char(unsigned char Code) const { return *chars_[Code]; }

 private:
  std::array<std::unique_ptr<TCharOutLine>, kCodeCount> chars_;
  std::string name_;
  TFontStyle style_;
  int32_t size_ = kOutlinePointSize;
  TTextDecorations decorations_;
};

}  // namespace vellmar
