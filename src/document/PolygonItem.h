#pragma once
// The base of the kinds that fill a closed area (carriageway, sidewalks, lawns, islands).
// The fill comes from the tessellated polyline; edge lines follow the street's drawing
// options. The item owns its neighbour list and its fill triangles; like every item it is
// owned by its kind's item list, and its primitives live in the kind's collections
// (triangle collection first, line collection second), which the street owns.

#include <cstdint>

#include "document/AbstractItem.h"
#include "document/ConnectedItems.h"
#include "geometry/XYZ.h"

namespace vellmar {

class TDxLineCollection;

class TPolygonItem : public TAbstractItem {
 public:
  TPolygonItem(TStreetStructure& street, const TItemKind& kind);

  // Makes the kind's two collections in the street: triangles in the fill colour, then
  // lines in the edge colour. Kinds call it from their InitKindCollections.
  static void InitPolygonCollections(TStreetStructure& street, int32_t kindIndex, uint32_t fill,
                                     uint32_t edge);

  // Fill, then the edges that the drawing options ask for.
  void BuildPrimitives() override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  // Fill triangles (three points each) from the polyline; empty below three points.
  void Triangulate();
  const TXYZArray& Triangles() const { return triangles_; }
  TConnectedItems& Neighbours() { return neighbours_; }

  // The outline along the polyline (arcs included), except the edges where another item
  // of the same kind continues the area.
  void AddSharedEdges(TDxLineCollection& lines);
  // Every edge as a straight line between consecutive vertices, replacing whatever lines
  // the item had in the collection.
  void AddAllEdges(TDxLineCollection& lines);

 private:
  // True when another item of this kind has the edge from vertex i to the next vertex.
  bool EdgeShared(int32_t i) const;

  TXYZArray triangles_;
  TConnectedItems neighbours_;
};

// The collections a polygon kind gets until its own class says otherwise: a neutral grey
// fill with near-black edges, so that a kind without colours of its own still shows.
void InitGenericPolygonCollections(TStreetStructure& street, int32_t kindIndex);

}  // namespace vellmar
