// The calculation area drawn: its outline, and every frame its fill with a pattern laid
// on the screen.

#include <algorithm>
#include <limits>
#include <memory>
#include <span>
#include <vector>

#include "document/StreetStructure.h"
#include "items/road/CalcAreaItem.h"
#include "items/road/DataTexture.h"
#include "items/road/ModeSets.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"
#include "render/DxDrawParams.h"
#include "render/DxLineCollection.h"
#include "render/DxRenderer.h"
#include "render/TextureSurface.h"

namespace vellmar {

namespace {

// Shared by every area of every street; loaded at the first draw, kept until exit.
TTextureSurface& PatternTexture() {
  static const std::unique_ptr<TTextureSurface> surface = [] {
    auto made = std::make_unique<TTextureSurface>();
    LoadDataTexture(*made, "\\DataFiles\\Текстуры\\CalcAreaTex.bmp"_cp1251);
    TTextureSettings& settings = made->Settings();
    settings.MinFilter = TTextureFilter::Point;
    settings.MagFilter = TTextureFilter::Point;
    return made;
  }();
  return *surface;
}

}  // namespace

void TCalcAreaItem::InitKindCollections(TStreetStructure& street) {
  auto outlines = std::make_unique<TDxLineCollection>();
  outlines->SetColor(MakeColor(150, 50, 50, 255));
  street.KindCollections(kKindIndex).push_back(std::move(outlines));
}

void TCalcAreaItem::BuildPrimitives() {
  Points().EnsurePolyline();
  if (Points().Count() < 3) return;
  Triangulate();
  auto& outlines = dynamic_cast<TDxLineCollection&>(*Street().KindCollections(kKindIndex).at(0));
  outlines.SetModeSet(kPlanModes);
  outlines.AddPolyline(this, Points().Polyline());
}

void TCalcAreaItem::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TPolygonItem::DrawImmediate(params, modes);
  if (params.Renderer == nullptr || Points().Count() < 3) return;
  if (Points().Modified()) Triangulate();
  const TXYZArray& triangles = Triangles();
  TTextureSurface& pattern = PatternTexture();
  if (triangles.size() < 3 || pattern.Width() <= 0 || pattern.Height() <= 0) return;
  TdxRenderer& renderer = *params.Renderer;
  // Texture coordinates from the screen pixels under the vertices: the pattern's
  // pixels stay the screen's whatever the zoom.
  std::vector<TXYZ> screen;
  screen.reserve(triangles.size());
  double xmin = std::numeric_limits<double>::max(), ymin = std::numeric_limits<double>::max();
  for (const TXYZ& p : triangles) {
    screen.push_back(renderer.WorldToScreen(p));
    xmin = std::min(xmin, static_cast<double>(screen.back().x));
    ymin = std::min(ymin, static_cast<double>(screen.back().y));
  }
  std::span<TDxVertex> vertices = renderer.AllocFrameVertices(triangles.size());
  for (size_t i = 0; i < triangles.size(); ++i) {
    vertices[i] = TDxVertex{triangles[i].x, triangles[i].y, triangles[i].z, MakeColor(255, 255, 255, 255),
                            static_cast<float>((screen[i].x - xmin) / pattern.Width()),
                            static_cast<float>((screen[i].y - ymin) / pattern.Height())};
  }
  pattern.Apply(renderer);
  renderer.DrawVertexTriangles(vertices);
  renderer.BindTexture(nullptr);
}

}  // namespace vellmar
