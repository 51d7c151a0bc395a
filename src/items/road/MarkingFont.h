#pragma once
// The marking font: the glyph of every character painted on the road ("СТОП", "BUS",
// digits), drawn in the street file "\DataFiles\Разметка\RazmetFont.pln" as design
// figures grouped by the one-character text of the character. A character the file
// lacks (every character when the file is missing) shows as a placeholder bar, so a
// text never silently loses a letter. The program-wide font is read on first use and
// kept until the program ends.

#include <array>
#include <filesystem>
#include <string_view>

#include "items/road/SymbolGlyphs.h"

namespace vellmar {

class TMarkingFont {
 public:
  // Letters stand 1.6 m high; the bar fills 0.1..0.5 of a 0.6 advance.
  static constexpr double kLetterHeight = 1.6;

  // Every character the placeholder bar, the space empty.
  TMarkingFont();
  static TMarkingFont FromGroups(const TSymbolGroups& groups);
  // The placeholder font when the file is missing or damaged.
  static TMarkingFont LoadFromFile(const std::filesystem::path& path);

  const TSymbolGlyph& Glyph(unsigned char code) const { return glyphs_[code]; }
  bool IsPlaceholder(unsigned char code) const { return placeholder_[code]; }
  // Sum of the characters' advances.
  double TextAdvance(std::string_view text) const;

 private:
  std::array<TSymbolGlyph, 256> glyphs_;
  std::array<bool, 256> placeholder_{};
};

// The program-wide font from the data root, read on the first call.
const TMarkingFont& MarkingFont();

}  // namespace vellmar
