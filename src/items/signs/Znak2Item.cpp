#include "items/signs/Znak2Item.h"

#include <array>

#include "geometry/Vector.h"
#include "items/signs/SignPicture.h"
#include "platform/text/Cp1251.h"
#include "render/DxRenderer.h"
#include "render/ViewReach.h"

#include "items/signs/EmfSubItem.h"
#include "items/signs/NamedMetafileLib.h"
#include "items/signs/SignLibraries.h"

namespace vellmar {

int32_t TZnak2Item::Width() const {
  return picture_ != nullptr ? picture_->Width() : 0;
}

int32_t TZnak2Item::Height() const {
  return picture_ != nullptr ? picture_->Height() : 0;
}

void TZnak2Item::LoadFromStream(TStream& stream) {
  // An item without points is kept (and draws nothing), as every kind of the item
  // base is: dropping it would lose its comment and group at the next save.
  TAbstractItem::LoadFromStream(stream);
  // The picture comes from the library, never from a fixed place on one machine's disk.
  const TSignLibraries& libraries = libraries_ != nullptr ? *libraries_ : ProgramSignLibraries();
  const int32_t index = libraries.Library.IndexOfName(kPictureName);
  libName_ = index < 0 ? std::string(kPictureName) : libraries.Library.Name(index);
  libIndex_ = index < 0 ? TEmfSubItem::kMissingPicture : index;
  const TMetafile& picture = index < 0 ? libraries.Missing : libraries.Library.Metafile(index);
  picture_ = picture.Empty() ? nullptr : &picture;
}

void TZnak2Item::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TAbstractItem::DrawImmediate(params, modes);
  const TPointList& points = Points();
  if (points.Count() < 1 || params.Renderer == nullptr) return;
  const TXYZ p0 = points.GetVertex(0);
  TdxRenderer& renderer = *params.Renderer;
  if (DistanceXYZ(p0, params.Centre) <= params.Radius)
    renderer.DrawPolyline(points.GetVertices(), MakeColor(0, 0, 0, 255));
  if (picture_ == nullptr) return;
  TXYZ d = points.Count() > 1 ? SubXYZ(p0, points.GetVertex(1)) : TXYZ{1.0f, 0.0f, 0.0f};
  // Coinciding points give no direction: the picture then stands unturned.
  if (d.x == 0.0f && d.y == 0.0f) d = {1.0f, 0.0f, 0.0f};
  const double s = SignUnitSize(Street());
  const double scale = PictureScale(scale_);
  const auto w = static_cast<float>(Width());
  const auto h = static_cast<float>(Height());
  // The picture's rows run downwards.
  const auto place = [&](TMatrixShell& shell) {
    shell.Translate(false, p0.x, p0.y, p0.z);
    shell.RotateByVector(false, -d.y, d.x);
    shell.Scale(false, s, s, s);
    shell.Scale(false, scale, -scale, scale);
    shell.Translate(false, -w / 2, -h / 2, 0);
  };
  // The picture by its own circle, which reaches beyond its point.
  TMatrixShell placed;
  place(placed);
  if (!PlacedRectReachesView(placed.GetMatrix(), 0, 0, w, h, params)) return;
  TTextureSurface* texture = SignPictureTexture(renderer, *picture_, scale_, cacheHint_);
  const std::array<TDxVertex, 4> fan = {{{0, 0, 0, 0, 0, 0}, {w, 0, 0, 0, 1, 0}, {w, h, 0, 0, 1, 1}, {0, h, 0, 0, 0, 1}}};
  TMatrixShell& world = renderer.World();
  world.PushMatrix();
  place(world);
  DrawSignPicture(renderer, texture, fan, /*fan=*/true);
  world.PopMatrix();
}

void TZnak2Item::GetPropertyNames(std::vector<std::string>& lines) const {
  TAbstractItem::GetPropertyNames(lines);
  lines.emplace_back("Знак"_cp1251);
  lines.emplace_back("Название"_cp1251);
}

void TZnak2Item::GetPropertyValues(std::vector<std::string>& lines) const {
  TAbstractItem::GetPropertyValues(lines);
  lines.push_back(SignNumber(libName_));
  lines.push_back(SignDescriptions().Value(libName_).value_or(std::string()));
}

}  // namespace vellmar
