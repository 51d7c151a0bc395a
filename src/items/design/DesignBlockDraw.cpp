// Design blocks on the plan: the definition's picture as one textured quad per point,
// drawn every frame.

#include <array>

#include "document/StreetStructure.h"
#include "document/design/DsnBlockDef.h"
#include "items/design/DesignBlockItem.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"
#include "render/TextureSurface.h"
#include "render/ViewReach.h"

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
  const double angle = BlockAngle(0);
  const std::array<TDxVertex, 6> quad = BlockQuad(def, color_);
  TMatrixShell& world = renderer.World();
  bool bound = false;
  for (int32_t i = 0; i < Points().Count(); ++i) {
    const TXYZ at = Points().GetVertex(i);
    const auto place = [&](TMatrixShell& shell) {
      shell.Translate(false, at.x, at.y, at.z);
      shell.RotateZ(false, -angle);
    };
    // Every copy by its own picture's circle: the anchor may lie outside the view while
    // the picture is in it, and copies far from the view cost nothing.
    TMatrixShell placed;
    place(placed);
    if (!PlacedRectReachesView(placed.GetMatrix(), quad[0].X, quad[0].Y, quad[2].X, quad[2].Y, params)) continue;
    if (!bound) def.GetTexture().Apply(renderer);
    bound = true;
    world.PushMatrix();
    place(world);
    renderer.DrawVertexTriangles(quad);
    world.PopMatrix();
  }
  if (bound) renderer.BindTexture(nullptr);
}

}  // namespace vellmar
