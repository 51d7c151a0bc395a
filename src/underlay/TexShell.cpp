#include "underlay/TexShell.h"

#include <exception>
#include <string>

#include "geometry/Planar.h"
#include "geometry/Vector.h"
#include "platform/WarningSink.h"
#include "platform/imaging/Bitmap.h"
#include "platform/text/Cp1251.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"
#include "render/TextureSurface.h"
#include "underlay/SubLayerFile.h"

namespace vellmar {

namespace {

// Tiles are decoded while their diagonal spans this many pixels up to twice as many.
constexpr double kMinTilePixels = 128.0;
constexpr double kMaxTilePixels = 256.0;
// The texture colour passes unchanged; white keeps any modulating stage neutral too.
constexpr uint32_t kTileVertexColor = MakeColor(255, 255, 255, 255);
constexpr uint32_t kOutlineColor = MakeColor(0, 0, 0, 0);

TXYZ Crossing(const TXYZ& a, const TXYZ& b, const TXYZ& c, const TXYZ& d) {
  const auto crossing = SegmentIntersectPoint(a, b, c, d);
  return crossing ? crossing->point : TXYZ{};
}

TDxVertex Vertex(const TXYZ& p, float u, float v) {
  return {p.x, p.y, p.z, kTileVertexColor, u, v};
}

TXYZ Position(const TDxVertex& v) {
  return {v.X, v.Y, v.Z};
}

}  // namespace

TTexShell::TTexShell(int level, int column, int row) : level_(level), column_(column), row_(row) {}

TTexShell::~TTexShell() = default;
TTexShell::TTexShell(TTexShell&&) noexcept = default;
TTexShell& TTexShell::operator=(TTexShell&&) noexcept = default;

void TTexShell::UpdateQuad(const TSubLayerCorners& corners, const TSubLayerFile& file) {
  const TSubLayerLevel& grid = file.Level(level_);
  const double columns = grid.Columns;
  const double rows = grid.Rows;
  const TXYZ& p0 = corners[0];
  const TXYZ& p1 = corners[1];
  const TXYZ& p2 = corners[2];
  const TXYZ& p3 = corners[3];
  // Rows run down from the top edge P1→P2, columns right from the left edge P1→P0.
  const TXYZ a = LerpXYZ(p0, p1, 1.0 - row_ / rows);
  const TXYZ b = LerpXYZ(p0, p1, 1.0 - (row_ + 1) / rows);
  const TXYZ a2 = LerpXYZ(p3, p2, 1.0 - row_ / rows);
  const TXYZ b2 = LerpXYZ(p3, p2, 1.0 - (row_ + 1) / rows);
  const TXYZ d = LerpXYZ(p1, p2, column_ / columns);
  const TXYZ e = LerpXYZ(p1, p2, (column_ + 1) / columns);
  const TXYZ d2 = LerpXYZ(p0, p3, column_ / columns);
  const TXYZ e2 = LerpXYZ(p0, p3, (column_ + 1) / columns);
  const TDxVertex v0 = Vertex(Crossing(d, d2, a, a2), 0, 0);
  const TDxVertex v1 = Vertex(Crossing(d, d2, b, b2), 0, 1);
  const TDxVertex v2 = Vertex(Crossing(e, e2, b, b2), 1, 1);
  const TDxVertex v3 = Vertex(Crossing(e, e2, a, a2), 1, 0);
  vertices_ = {v0, v1, v2, v3, v0, v2};
  quadValid_ = true;
}

bool TTexShell::Wanted(const TDxDrawParams& params) const {
  const TXYZ v0 = Position(vertices_[0]);
  const TXYZ v1 = Position(vertices_[1]);
  const TXYZ v2 = Position(vertices_[2]);
  const TXYZ v3 = Position(vertices_[3]);
  const TXYZ centre = {(v0.x + v1.x + v2.x + v3.x) * 0.25f, (v0.y + v1.y + v2.y + v3.y) * 0.25f,
                       (v0.z + v1.z + v2.z + v3.z) * 0.25f};
  const double distance = DistanceXYZ(params.Centre, centre);
  const double diagonal = DistanceXYZ(v0, v2);
  const double pixel = params.Renderer->PixelSize();
  if (distance >= params.Radius) return false;
  if (diagonal <= kMinTilePixels * pixel) return false;                 // a coarser level covers it
  if (diagonal >= kMaxTilePixels * pixel && level_ != 1) return false;  // a finer one does
  return true;
}

void TTexShell::Decode(TSubLayerFile& file) {
  TBitmap bitmap(kSubLayerTileSize, kSubLayerTileSize, TPixelFormat::pf32bit);
  try {
    if (!file.DecodeTile(level_, column_, bitmap, row_)) {
      absent_ = true;
      return;
    }
  } catch (const std::exception& error) {
    damaged_ = true;
    std::string tile = "level " + std::to_string(level_) + ", column " + std::to_string(column_) + ", row " +
                       std::to_string(row_);
    if (!file.FileName().empty()) tile += " of " + Utf8ToCp1251(file.FileName().string());
    ReportWarning("TTexShell.Draw: " + tile + ": " + error.what());
    return;
  }
  auto texture = std::make_unique<TTextureSurface>();
  // Clamped, so that filtering at a tile's edge does not pull in the opposite edge.
  texture->Settings().AddressU = TTextureAddress::Clamp;
  texture->Settings().AddressV = TTextureAddress::Clamp;
  texture->AssignBitmap(bitmap);
  texture_ = std::move(texture);
}

void TTexShell::Draw(const TDxDrawParams& params, const TSubLayerCorners& corners, TSubLayerFile& file) {
  if (!quadValid_) UpdateQuad(corners, file);
  if (!Wanted(params)) {
    texture_.reset();
    return;
  }
  if (!texture_ && !absent_ && !damaged_) Decode(file);
  TdxRenderer& renderer = *params.Renderer;
  if (damaged_) {
    const TXYZArray outline = {Position(vertices_[0]), Position(vertices_[1]), Position(vertices_[2]),
                               Position(vertices_[3]), Position(vertices_[0])};
    renderer.DrawPolyline(outline, kOutlineColor);
    return;
  }
  if (!texture_) return;
  texture_->Apply(renderer);
  renderer.DrawVertexTriangles(vertices_);
  renderer.BindTexture(nullptr);
}

}  // namespace vellmar
