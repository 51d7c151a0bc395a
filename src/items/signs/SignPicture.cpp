#include "items/signs/SignPicture.h"

#include "document/StreetStructure.h"
#include "items/signs/EMFTexture.h"
#include "platform/metafile/Metafile.h"
#include "render/DxRenderer.h"
#include "render/TextureSurface.h"

namespace vellmar {

double SignUnitSize(TStreetStructure& street) {
  return street.SignScale() / 150.0;
}

TTextureSurface* SignPictureTexture(TdxRenderer& renderer, const TMetafile& picture, float scale,
                                    int32_t& hint) {
  if (renderer.PixelSize() / PictureScale(scale) > 1.0) return nullptr;
  return &EMFTextureCache().FindOrCreate(picture.Bytes(), hint).Surface();
}

void DrawSignPicture(TdxRenderer& renderer, TTextureSurface* texture, std::span<const TDxVertex> vertices,
                     bool fan) {
  if (texture != nullptr) {
    texture->Apply(renderer);
  } else {
    renderer.BindTexture(nullptr);
  }
  if (fan) {
    renderer.DrawVertexFan(vertices);
  } else {
    renderer.DrawVertexTriangles(vertices);
  }
  renderer.BindTexture(nullptr);
}

}  // namespace vellmar
