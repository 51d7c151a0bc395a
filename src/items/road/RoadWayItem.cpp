#include "items/road/RoadWayItem.h"

#include "document/ChunkFields.h"

namespace vellmar {

void TRoadWayItem::LoadFromStream(TStream& stream) {
  TPolygonItem::LoadFromStream(stream);
  LoadChunk(stream, "RWMAT   ", material_);
  LoadChunk(stream, "RWPASPCT", passport_);
}

void TRoadWayItem::SaveToStream(TStream& stream) const {
  TPolygonItem::SaveToStream(stream);
  SaveChunkIfAny(stream, "RWMAT   ", material_);
  SaveChunkIfAny(stream, "RWPASPCT", passport_);
}

}  // namespace vellmar
