#pragma once
// Glyphs of the road's symbol libraries (the marking font, the sign duplicates): each is
// a set of triangles ready for the renderer, drawn from a street file in which design
// figures sharing a group name make up one glyph and the reference-point item of that
// group marks its origin.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "geometry/XYZ.h"
#include "platform/gpu/DxVertex.h"

namespace vellmar {

class TStreetStructure;
class TdxRenderer;

// Symbols are painted black.
inline constexpr uint32_t kSymbolInk = MakeColor(5, 5, 5, 255);

struct TSymbolGlyph {
  std::vector<TDxVertex> Triangles;  // three vertices a triangle
  double Advance = 0.0;              // along x to the next glyph of a text
  double Area = 0.0;                 // of the triangles
};

// A glyph of two triangles filling the rectangle x0..x1, y0..y1.
TSymbolGlyph RectangleGlyph(double x0, double y0, double x1, double y1);

// The figures of a library file by group name: their triangles, and the first point of
// the group's reference-point item when it has one.
struct TSymbolGroup {
  TXYZArray Triangles;
  std::optional<TXYZ> Anchor;
};
using TSymbolGroups = std::map<std::string, TSymbolGroup, std::less<>>;
TSymbolGroups GroupSymbols(TStreetStructure& street);

// The group's triangles moved so that its anchor (the origin without one) lies at 0.
TSymbolGlyph MakeGlyph(const TSymbolGroup& group);

// Reads a library street file. A missing file gives nothing; a damaged one gives
// nothing and one warning naming it.
std::optional<TSymbolGroups> LoadSymbolFile(const std::filesystem::path& path, std::vector<std::string>* groupNames);

// Draws the glyph's triangles under the renderer's current world transform.
void DrawGlyph(TdxRenderer& renderer, const TSymbolGlyph& glyph);

}  // namespace vellmar
