// The traffic light drawn: lines to its heads and the support and head pictures, all
// retained in the kind's collections, one textured collection per library picture.

#include <array>
#include <memory>

#include "document/PointStructure.h"
#include "document/StreetStructure.h"
#include "geometry/Vector.h"
#include "items/signs/SvetoforItem.h"
#include "items/signs/SvetoforPictureLib.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"
#include "render/TextureSurface.h"

namespace vellmar {

namespace {

void AddPictureCollection(TDxPrimCollections& collections, const TSvetoforPicture& picture) {
  auto triangles = std::make_unique<TDxTriangleCollection>();
  triangles->SetColor(MakeColor(0, 0, 0, 255));
  TTextureSurface& texture = triangles->CreateOwnTexture();
  texture.AssignBitmap(picture.Bitmap);
  texture.SetName(picture.Name);
  texture.SetTransparentColor(255, 255, 255);
  TTextureSettings& settings = texture.Settings();
  settings.AddressU = TTextureAddress::Clamp;
  settings.AddressV = TTextureAddress::Clamp;
  settings.MagFilter = TTextureFilter::Linear;
  settings.MinFilter = TTextureFilter::Point;
  collections.push_back(std::move(triangles));
}

// The picture in pixels with the centre of its anchor pixel at the origin, as two
// triangles under the collection's Local. Rows are counted from the picture's top, as
// the anchor is, and texture row 0 is the top row, so the top edge takes v = 0: the
// picture stands on the plan as it shows in the file, not mirrored top to bottom.
void AddPictureQuad(TDxTriangleCollection& collection, const TAbstractItem* owner,
                    const TSvetoforPicture& picture) {
  const auto left = static_cast<float>(-picture.AnchorX - 0.5);
  const auto right = static_cast<float>(picture.Bitmap.Width() - picture.AnchorX - 0.5);
  const auto top = static_cast<float>(picture.AnchorY + 0.5);
  const auto bottom = static_cast<float>(picture.AnchorY - picture.Bitmap.Height() + 0.5);
  const TDxVertex c0{left, top, 0, 0, 0, 0};
  const TDxVertex c1{right, top, 0, 0, 1, 0};
  const TDxVertex c2{right, bottom, 0, 0, 1, 1};
  const TDxVertex c3{left, bottom, 0, 0, 0, 1};
  const std::array<TDxVertex, 6> triangles = {c0, c1, c2, c3, c0, c2};
  collection.AddPrims(owner, triangles, 2);
}

}  // namespace

void TSvetoforItem::InitKindCollections(TStreetStructure& street) {
  MakeKindCollections(street, SvetoforSupports(), SvetoforHeads());
}

void TSvetoforItem::MakeKindCollections(TStreetStructure& street, const TSvetoforPictureLib& supports,
                                        const TSvetoforPictureLib& heads) {
  TDxPrimCollections& collections = street.KindCollections(kKindIndex);
  collections.clear();
  auto lines = std::make_unique<TDxLineCollection>();
  lines->SetColor(MakeColor(5, 5, 5, 255));
  collections.push_back(std::move(lines));
  for (int32_t i = 0; i < supports.Count(); ++i) AddPictureCollection(collections, supports.Picture(i));
  for (int32_t i = 0; i < heads.Count(); ++i) AddPictureCollection(collections, heads.Picture(i));
}

void TSvetoforItem::BuildPrimitives() {
  TPointList& points = Points();
  if (points.Count() == 0) return;
  const TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  const TSvetoforPictureLib& supports = Supports();
  const TSvetoforPictureLib& heads = Heads();
  // Collections made for other libraries than the item's would put pictures in the wrong
  // textures.
  if (collections.size() != static_cast<size_t>(1 + supports.Count() + heads.Count())) return;
  const TXYZ p0 = points.GetVertex(0);

  auto& lines = dynamic_cast<TDxLineCollection&>(*collections[0]);
  TXYZArray segments;
  for (const auto& head : heads_) {
    segments.push_back(p0);
    segments.push_back(AddXYZ(p0, head->Offset()));
  }
  lines.AddSegments(this, segments);

  const auto place = [&](size_t collection, const TSvetoforPicture& picture, const TXYZ& at, double rotation) {
    auto& triangles = dynamic_cast<TDxTriangleCollection&>(*collections[collection]);
    TMatrixShell& local = triangles.Local();
    local.PushMatrix();
    local.Translate(false, at.x, at.y, at.z);
    local.RotateZ(false, -rotation);
    local.Scale(false, kPixelSize, kPixelSize, kPixelSize);
    AddPictureQuad(triangles, this, picture);
    local.PopMatrix();
  };
  // A point shared with another item is that item's: the support stands there already.
  if (supportIndex_ != -1 && points.VertexRecord(0)->Users.size() == 1)
    place(static_cast<size_t>(1 + supportIndex_), supports.Picture(supportIndex_), p0, 0.0);
  for (const auto& head : heads_) {
    if (head->LibIndex() == -1) continue;
    place(static_cast<size_t>(1 + supports.Count() + head->LibIndex()), heads.Picture(head->LibIndex()),
          AddXYZ(p0, head->Offset()), head->Rotation());
  }
}

}  // namespace vellmar
