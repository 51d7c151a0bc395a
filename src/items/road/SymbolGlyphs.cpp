#include "items/road/SymbolGlyphs.h"

#include <cmath>
#include <exception>
#include <memory>

#include "document/StreetStructure.h"
#include "geometry/Planar.h"
#include "items/design/DesignFigureItem.h"
#include "items/road/RulerItem.h"
#include "platform/Error.h"
#include "platform/WarningSink.h"
#include "render/DxRenderer.h"

namespace vellmar {

namespace {

constexpr int32_t kFigureKind = 7;
constexpr int32_t kReferencePointKind = 25;

}  // namespace

TSymbolGlyph RectangleGlyph(double x0, double y0, double x1, double y1) {
  const auto v = [](double x, double y) {
    return TDxVertex{static_cast<float>(x), static_cast<float>(y), 0, kSymbolInk, 0, 0};
  };
  TSymbolGlyph glyph;
  glyph.Triangles = {v(x0, y0), v(x0, y1), v(x1, y1), v(x1, y0), v(x0, y0), v(x1, y1)};
  glyph.Area = std::abs((x1 - x0) * (y1 - y0));
  return glyph;
}

TSymbolGroups GroupSymbols(TStreetStructure& street) {
  TSymbolGroups groups;
  TItemList& anchors = street.ItemList(kReferencePointKind);
  for (int32_t i = 0; i < anchors.Count(); ++i) {
    TAbstractItem* item = anchors.Items(i);
    TSymbolGroup& group = groups[item->GroupName()];
    if (!group.Anchor && item->Points().Count() > 0) group.Anchor = item->Points().GetVertex(0);
  }
  TItemList& figures = street.ItemList(kFigureKind);
  for (int32_t i = 0; i < figures.Count(); ++i) {
    auto* figure = dynamic_cast<TPolygonItem*>(figures.Items(i));
    if (figure == nullptr) continue;
    figure->Triangulate();
    TXYZArray& triangles = groups[figure->GroupName()].Triangles;
    triangles.insert(triangles.end(), figure->Triangles().begin(), figure->Triangles().end());
  }
  return groups;
}

TSymbolGlyph MakeGlyph(const TSymbolGroup& group) {
  const TXYZ origin = group.Anchor.value_or(TXYZ{});
  TSymbolGlyph glyph;
  glyph.Triangles.reserve(group.Triangles.size());
  for (const TXYZ& p : group.Triangles) {
    glyph.Triangles.push_back({p.x - origin.x, p.y - origin.y, 0, kSymbolInk, 0, 0});
  }
  glyph.Area = TriangleListArea(group.Triangles);
  return glyph;
}

std::optional<TSymbolGroups> LoadSymbolFile(const std::filesystem::path& path,
                                            std::vector<std::string>* groupNames) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  try {
    auto street = std::make_unique<TStreetStructure>();
    street->LoadFromFile(path);
    if (groupNames != nullptr) {
      groupNames->clear();
      for (const std::string& line : street->GroupNames().Lines()) groupNames->push_back(line.substr(0, line.find('=')));
    }
    return GroupSymbols(*street);
  } catch (const std::exception& e) {
    ReportWarning(path.filename().string() + ": " + e.what());
    return std::nullopt;
  }
}

void DrawGlyph(TdxRenderer& renderer, const TSymbolGlyph& glyph) {
  if (glyph.Triangles.size() >= 3) renderer.DrawVertexTriangles(glyph.Triangles);
}

}  // namespace vellmar
