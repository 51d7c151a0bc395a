// Design blocks on the plan: the definition's picture as one textured quad per point,
// drawn every frame.

#include <array>

#include "document/StreetStructure.h"
#include "document/design/DsnBlockDef.h"
#include "geometry/Vector.h"
#include "items/design/DesignBlockItem.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"
#include "render/TextureSurface.h"

namespace vellmar {

namespace {

// The picture as two triangles about the point: its anchor pixel on the point, its top
// row up the plan.
std::array<TDxVertex, 6> BlockQuad(const TDsnBlockDef& def, uint32_t color) {
  const double width = def.Width(), height = def.Height();
  const TBitmap& bitmap = def.Bitmap();
  // The anchor pixel, as fractions of the picture from its left and its bottom.
  const double ax = bitmap.Width() > 0 ? double(def.AnchorX()) / bitmap.Width() : 0.0;
  const double ay = bitmap.Height() > 0 ? 1.0 - double(def.AnchorY()) / bitmap.Height() : 1.0;
  const float hx = static_cast<float>(ax * width), hy = static_cast<float>(ay * height);
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const TDxVertex c1{-hx, -hy, 0, color, 0, 1}, c2{w - hx, -hy, 0, color, 1, 1};
  const TDxVertex c3{w - hx, h - hy, 0, color, 1, 0}, c4{-hx, h - hy, 0, color, 0, 0};
  return {c1, c2, c3, c4, c1, c3};
}

}  // namespace

void TDesignBlockItem::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TAbstractItem::DrawImmediate(params, modes);
  if (params.Renderer == nullptr || Points().Count() == 0) return;
  TdxRenderer& renderer = *params.Renderer;
  const TDsnBlockDef& def = BlockDef();
  if (renderer.PixelSize() > double(def.Width()) + def.Height()) return;
  bool inView = false;
  for (int32_t i = 0; i < Points().Count() && !inView; ++i)
    inView = DistanceXYZ(Points().GetVertex(i), params.Centre) < params.Radius;
  if (!inView) return;

  const double angle = BlockAngle(0);
  const std::array<TDxVertex, 6> quad = BlockQuad(def, color_);
  def.GetTexture().Apply(renderer);
  TMatrixShell& world = renderer.World();
  for (int32_t i = 0; i < Points().Count(); ++i) {
    const TXYZ at = Points().GetVertex(i);
    world.PushMatrix();
    world.Translate(false, at.x, at.y, at.z);
    world.RotateZ(false, -angle);
    renderer.DrawVertexTriangles(quad);
    world.PopMatrix();
  }
  renderer.BindTexture(nullptr);
}

}  // namespace vellmar
