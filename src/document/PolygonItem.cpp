#include "document/PolygonItem.h"

#include <algorithm>
#include <memory>

#include "document/PointStructure.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxLineCollection.h"
#include "render/DxTesselator3.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

namespace {

// Polygon primitives belong to the plan's only drawing mode.
constexpr uint32_t kPlanModeSet = 1u << 0;

}  // namespace

TPolygonItem::TPolygonItem(TStreetStructure& street, const TItemKind& kind)
    : TAbstractItem(street, kind), neighbours_(street, /*fixed=*/true, 1) {}

void TPolygonItem::InitPolygonCollections(TStreetStructure& street, int32_t kindIndex, uint32_t fill,
                                          uint32_t edge) {
  TDxPrimCollections& collections = street.KindCollections(kindIndex);
  auto triangles = std::make_unique<TDxTriangleCollection>();
  triangles->SetColor(fill);
  auto lines = std::make_unique<TDxLineCollection>();
  lines->SetColor(edge);
  collections.push_back(std::move(triangles));
  collections.push_back(std::move(lines));
}

void InitGenericPolygonCollections(TStreetStructure& street, int32_t kindIndex) {
  TPolygonItem::InitPolygonCollections(street, kindIndex, MakeColor(192, 192, 192, 255),
                                       MakeColor(1, 1, 1, 255));
}

void TPolygonItem::LoadFromStream(TStream& stream) {
  TAbstractItem::LoadFromStream(stream);
  if (Points().Count() < 3) SetInvalid(true);
  // Read even for an invalid item: the stream has to end up behind the item.
  if (TestIdent(stream, "POLYCONN")) neighbours_.LoadFromStream(stream);
}

void TPolygonItem::SaveToStream(TStream& stream) const {
  TAbstractItem::SaveToStream(stream);
  WriteIdent(stream, "POLYCONN");
  neighbours_.SaveToStream(stream);
}

void TPolygonItem::Triangulate() {
  triangles_.clear();
  const TXYZArray& polyline = Points().Polyline();
  if (polyline.size() < 3) return;
  triangles_ = Tesselate(polyline);
}

void TPolygonItem::BuildPrimitives() {
  const TDxPrimCollections& collections = Street().KindCollections(KindIndex());
  auto* triangles =
      collections.size() > 0 ? dynamic_cast<TDxTriangleCollection*>(collections[0].get()) : nullptr;
  auto* lines = collections.size() > 1 ? dynamic_cast<TDxLineCollection*>(collections[1].get()) : nullptr;
  if (triangles != nullptr) triangles->SetModeSet(kPlanModeSet);
  if (lines != nullptr) lines->SetModeSet(kPlanModeSet);

  Points().EnsurePolyline();
  Points().SetModified(false);
  if (Points().Count() < 3) return;

  Triangulate();
  if (triangles != nullptr) triangles->AddTriangles(this, triangles_);
  if (lines == nullptr) return;
  if (Street().DrawOption("UpdateDiffTagEdges")) AddSharedEdges(*lines);
  if (Street().DrawOption("UpdateAllEdges")) AddAllEdges(*lines);
}

bool TPolygonItem::EdgeShared(int32_t i) const {
  const int32_t count = Points().Count();
  const TPointRecord* p = Points().VertexRecord(i);
  const TPointRecord* q = Points().VertexRecord((i + 1) % count);
  // A list holding both ends is among the users of either; P's users are enough.
  for (const TPointList* other : p->Users) {
    if (other == &Points() || other->Owner() == nullptr || other->Owner()->KindIndex() != KindIndex())
      continue;
    const int32_t a = other->IndexOf(p);
    const int32_t b = other->IndexOf(q);
    const int32_t c = std::min(a, b);
    const int32_t d = std::max(a, b);
    if (c < 0) continue;
    if (d == c + 1 || (c == 0 && d == other->Count() - 1)) return true;
  }
  return false;
}

void TPolygonItem::AddSharedEdges(TDxLineCollection& lines) {
  const TXYZArray& polyline = Points().Polyline();
  if (polyline.size() < 3) return;
  const std::vector<int32_t>& vertexIndex = Points().VertexIndex();
  const int32_t count = Points().Count();
  for (int32_t i = 0; i < count && static_cast<size_t>(i + 1) < vertexIndex.size(); ++i) {
    if (EdgeShared(i)) continue;
    lines.AddPolylineRange(this, polyline, vertexIndex[static_cast<size_t>(i + 1)],
                           vertexIndex[static_cast<size_t>(i)]);
  }
}

void TPolygonItem::AddAllEdges(TDxLineCollection& lines) {
  lines.RemoveOwner(this);
  lines.AddClosedPolyline(this, Points().GetVertices());
}

}  // namespace vellmar
