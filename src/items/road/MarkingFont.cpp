#include "items/road/MarkingFont.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/files/DataRoot.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

constexpr unsigned char kSpace = 32;
constexpr double kSpaceAdvance = 0.3;
constexpr double kGap = 0.1;          // after a glyph's rightmost point
constexpr double kLeastAdvance = 0.1;  // before the gap, for glyphs left of their origin

TSymbolGlyph PlaceholderBar() {
  TSymbolGlyph bar = RectangleGlyph(0.1, 0, 0.5, TMarkingFont::kLetterHeight);
  bar.Advance = 0.6;
  return bar;
}

}  // namespace

TMarkingFont::TMarkingFont() {
  glyphs_.fill(PlaceholderBar());
  placeholder_.fill(true);
  glyphs_[kSpace] = TSymbolGlyph{{}, kSpaceAdvance, 0.0};
  placeholder_[kSpace] = false;
}

TMarkingFont TMarkingFont::FromGroups(const TSymbolGroups& groups) {
  TMarkingFont font;
  for (const auto& [name, group] : groups) {
    if (name.size() != 1 || group.Triangles.empty()) continue;
    const auto code = static_cast<unsigned char>(name[0]);
    if (code == kSpace) continue;
    TSymbolGlyph glyph = MakeGlyph(group);
    double right = kLeastAdvance;
    for (const TDxVertex& v : glyph.Triangles) right = std::max(right, static_cast<double>(v.X));
    glyph.Advance = right + kGap;
    font.glyphs_[code] = std::move(glyph);
    font.placeholder_[code] = false;
  }
  return font;
}

TMarkingFont TMarkingFont::LoadFromFile(const std::filesystem::path& path) {
  const std::optional<TSymbolGroups> groups = LoadSymbolFile(path, nullptr);
  return groups ? FromGroups(*groups) : TMarkingFont();
}

double TMarkingFont::TextAdvance(std::string_view text) const {
  double advance = 0.0;
  for (const char c : text) advance += glyphs_[static_cast<unsigned char>(c)].Advance;
  return advance;
}

const TMarkingFont& MarkingFont() {
  static const TMarkingFont font = [] {
    const std::optional<std::filesystem::path> path = ResolveDataPath("\\DataFiles\\Разметка\\RazmetFont.pln"_cp1251);
    return path ? TMarkingFont::LoadFromFile(*path) : TMarkingFont();
  }();
  return font;
}

}  // namespace vellmar
