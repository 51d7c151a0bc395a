#include <array>
#include <cmath>

#include "geometry/Vector.h"
#include "items/road/PictureItem.h"
#include "items/signs/EMFTexture.h"
#include "items/signs/SignPicture.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"

namespace vellmar {

namespace {

// A picture whose diagonal covers fewer screen pixels shows its frame only.
constexpr double kSmallestPicturePixels = 4.0;

}  // namespace

// The picture itself, every frame, over the frame the build made: its texture comes from
// the program's metafile texture cache, so equal pictures share one texture.
void TPictureItem::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TOrientPointItem::DrawImmediate(params, modes);
  if (params.Renderer == nullptr || picture_.Empty() || Points().Count() < 2) return;
  const double w = picture_.Width(), h = picture_.Height();
  if (w <= 0 || h <= 0) return;
  const TXYZ p0 = Points().GetVertex(0);
  const double s = DistanceXYZ(p0, Points().GetVertex(1)) / w;
  TdxRenderer& renderer = *params.Renderer;
  const double diagonal = std::hypot(w, h) * s;
  if (!(diagonal >= kSmallestPicturePixels * renderer.PixelSize())) return;
  if (DistanceXYZ(p0, params.Centre) > params.Radius + diagonal) return;

  TTextureSurface* texture = &EMFTextureCache().FindOrCreate(picture_.Bytes(), cacheHint_).Surface();
  const auto fw = static_cast<float>(w), fh = static_cast<float>(h);
  const std::array<TDxVertex, 4> fan = {
      {{0, 0, 0, 0, 0, 0}, {fw, 0, 0, 0, 1, 0}, {fw, fh, 0, 0, 1, 1}, {0, fh, 0, 0, 0, 1}}};
  TMatrixShell& world = renderer.World();
  world.PushMatrix();
  world.Translate(false, p0.x, p0.y, p0.z);
  world.RotateZ(false, -Orientation());
  // Picture rows run downwards; texture row 0 is the picture's top.
  world.Scale(false, s, -s, s);
  DrawSignPicture(renderer, texture, fan, /*fan=*/true);
  world.PopMatrix();
}

}  // namespace vellmar
