#include "items/road/TrotuarItem.h"

#include "document/ChunkFields.h"

namespace vellmar {

void TTrotuarItem::LoadFromStream(TStream& stream) {
  TPolygonItem::LoadFromStream(stream);
  LoadChunk(stream, "TRMAT   ", material_);
  LoadChunk(stream, "TRPASPCT", passport_);
}

void TTrotuarItem::SaveToStream(TStream& stream) const {
  TPolygonItem::SaveToStream(stream);
  SaveChunkIfAny(stream, "TRMAT   ", material_);
  SaveChunkIfAny(stream, "TRPASPCT", passport_);
}

}  // namespace vellmar
