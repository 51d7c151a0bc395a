#pragma once
// A free text placed on the plan at a point and turned towards an optional second point.

#include <cstdint>
#include <string>
#include <vector>

#include "document/OrientPointItem.h"

namespace vellmar {

class TTextLabelItem final : public TOrientPointItem {
 public:
  // A new label reads "Надпись", size 12, near-black Arial, anchored at the baseline's left end.
  TTextLabelItem(TStreetStructure& street, const TItemKind& kind);

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The label turned by its orientation: its glyphs, or the text box as a rectangle
  // when a screen pixel would span 20 font pixels or more.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;

  // The text's box in world units around the anchor, before turning.
  struct TTextBox {
    double X0 = 0.0;
    double Y0 = 0.0;
    double X1 = 0.0;
    double Y1 = 0.0;
  };
  TTextBox TextBox() const;
  // World units per font pixel.
  double FontScale() const;

  // The text and its face.
  void GetPropertyNames(std::vector<std::string>& lines) const override;
  void GetPropertyValues(std::vector<std::string>& lines) const override;
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text) { text_ = text; }
  // The font's em is Size / 15.625 world units.
  int32_t Size() const { return size_; }
  void SetSize(int32_t size) { size_ = size; }
  uint32_t Color() const { return color_; }
  void SetColor(uint32_t color) { color_ = color; }
  const std::string& FontName() const { return fontName_; }
  void SetFontName(const std::string& name) { fontName_ = name; }
  // Bit 0 bold, 1 italic, 2 underline, 3 strike-out.
  uint8_t FontStyle() const { return fontStyle_; }
  void SetFontStyle(uint8_t style) { fontStyle_ = style; }
  // Anchor code 0..8: rows top, middle, baseline; columns left, centre, right.
  uint8_t Align() const { return align_; }
  void SetAlign(uint8_t align) { align_ = align; }
  // True: the glyph outlines only; false: the glyphs filled.
  bool Outline() const { return outline_; }
  void SetOutline(bool outline) { outline_ = outline; }

 private:
  std::string text_;
  int32_t size_ = 12;
  uint32_t color_;
  std::string fontName_;
  uint8_t fontStyle_ = 0;
  uint8_t align_ = 6;
  bool outline_ = false;
};

}  // namespace vellmar
