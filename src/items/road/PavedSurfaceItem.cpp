#include "items/road/PavedSurfaceItem.h"

#include "document/ChunkFields.h"

namespace vellmar {

void TPavedSurfaceItem::LoadFromStream(TStream& stream) {
  TPolygonItem::LoadFromStream(stream);
  LoadChunk(stream, materialIdent_, material_);
  LoadChunk(stream, passportIdent_, passport_);
}

void TPavedSurfaceItem::SaveToStream(TStream& stream) const {
  TPolygonItem::SaveToStream(stream);
  SaveChunkIfAny(stream, materialIdent_, material_);
  SaveChunkIfAny(stream, passportIdent_, passport_);
}

}  // namespace vellmar
