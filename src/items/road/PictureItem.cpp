#include "items/road/PictureItem.h"

#include <memory>

#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "geometry/Vector.h"
#include "items/road/ModeSets.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

void TPictureItem::LoadFromStream(TStream& stream) {
  TOrientPointItem::LoadFromStream(stream);
  // The metafile has no length of its own in the chunk: its header gives it.
  if (TestIdent(stream, "EMF     ")) picture_.LoadFromStream(stream);
}

void TPictureItem::SaveToStream(TStream& stream) const {
  TOrientPointItem::SaveToStream(stream);
  if (picture_.Empty()) return;
  WriteIdent(stream, "EMF     ");
  picture_.SaveToStream(stream);
}

}  // namespace vellmar

namespace vellmar {

void TPictureItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections& collections = street.KindCollections(kKindIndex);
  collections.push_back(std::make_unique<TDxTriangleCollection>());
  auto frames = std::make_unique<TDxLineCollection>();
  frames->SetColor(MakeColor(5, 5, 5, 255));
  collections.push_back(std::move(frames));
}

void TPictureItem::BuildPrimitives() {
  if (Points().Count() < 2) return;
  const double w = picture_.Width(), h = picture_.Height();
  if (w <= 0) return;
  const TXYZ p0 = Points().GetVertex(0);
  const double s = DistanceXYZ(p0, Points().GetVertex(1)) / w;
  auto& frames = dynamic_cast<TDxLineCollection&>(*Street().KindCollections(kKindIndex).at(1));
  frames.SetModeSet(kPlanModes);
  TMatrixShell& local = frames.Local();
  local.LoadIdentity();
  local.Translate(false, p0.x, p0.y, p0.z);
  local.RotateZ(false, -Orientation());
  // Picture rows run downwards.
  local.Scale(false, s, -s, s);
  const auto fw = static_cast<float>(w), fh = static_cast<float>(h);
  frames.AddPolyline(this, TXYZArray{{0, 0, 0}, {fw, 0, 0}, {fw, fh, 0}, {0, fh, 0}, {0, 0, 0}});
  local.LoadIdentity();
}

}  // namespace vellmar
