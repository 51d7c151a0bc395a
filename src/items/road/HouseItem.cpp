#include "items/road/HouseItem.h"

#include "document/ChunkFields.h"

namespace vellmar {

void THouseItem::LoadFromStream(TStream& stream) {
  TPolygonItem::LoadFromStream(stream);
  LoadChunk(stream, "HOUSADDR", address_);
  LoadChunk(stream, "HOUSADST", addressStreet_);
}

void THouseItem::SaveToStream(TStream& stream) const {
  TPolygonItem::SaveToStream(stream);
  SaveChunk(stream, "HOUSADDR", address_);
  SaveChunk(stream, "HOUSADST", addressStreet_);
}

}  // namespace vellmar
