#include "export/BuiltShapes.h"

#include <span>

#include "document/AbstractItem.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxPrimCollection.h"

namespace vellmar {

TXYZArray BuiltTriangles(const TAbstractItem& item) {
  TXYZArray triangles;
  for (const TKindPrimitives& entry : item.KindPrimitives()) {
    if (entry.Collection == nullptr || entry.Collection->VerticesPerPrim() != 3) continue;
    const std::span<const TDxVertex> vertices = entry.Collection->RunVertices(entry.Collection->IndicesOf(entry.Prims));
    for (const TDxVertex& v : vertices) triangles.push_back({v.X, v.Y, 0.0f});
  }
  return triangles;
}

std::vector<TPlanPolygon> TrianglesUnion(const TXYZArray& triangles) {
  std::vector<TPlanPolygon> pieces;
  for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
    for (TPlanPolygon& piece : EvenOddPolygons({{triangles[i], triangles[i + 1], triangles[i + 2]}})) {
      pieces.push_back(std::move(piece));
    }
  }
  return UnionPolygons(pieces);
}

}  // namespace vellmar
